// Sanitizer settings, built into the tests and, in sanitizer builds, into our programs, so
// that every way of starting them gets the same settings.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=1:allocator_may_return_null=1:strict_string_checks=1";
}
extern "C" const char* __ubsan_default_options() { return "print_stacktrace=1"; }
// Process-lifetime caches inside system libraries are not our leaks.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n"
           "leak:libglib-2.0\n"
           "leak:libgobject-2.0\n"
           "leak:libgstreamer-1.0\n"
           "leak:libQt6Gui\n"
           "leak:libQt6Core\n"
           "leak:libdbus\n"
           "leak:libX11\n";
}
