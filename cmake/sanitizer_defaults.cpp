// Sanitizer settings, built into the tests and, in sanitizer builds, into our programs, so
// that every way of starting them gets the same settings.
// intercept_tls_get_addr=0: up to GCC 13 the sanitizer runtime's __tls_get_addr interceptor
// takes a dynamic TLS block that happens to start 16 bytes into a page for one with the
// header of glibc before 2.25, and reads a bogus range from it; the leak check at exit then
// dies in its tracer ("Tracer caught signal 11") after a test that passed. Our pointers do
// not live in other modules' dynamic TLS, so the leak check loses nothing by it.
extern "C" const char* __asan_default_options() {
    return "detect_leaks=1:allocator_may_return_null=1:strict_string_checks=1:intercept_tls_get_addr=0";
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

// ThreadSanitizer (LUMORA_TSAN): a report fails the program at exit, after the test ran.
// The system libraries are not built with it: what their interceptors (free, memcpy, ...)
// touch for them is not checked, their pthread locks still order what our code does.
extern "C" const char* __tsan_default_options() {
    return "halt_on_error=0:second_deadlock_stack=1:ignore_noninstrumented_modules=1";
}
// Reports inside third-party code whose synchronisation ThreadSanitizer cannot see, as it
// is not built with it.
extern "C" const char* __tsan_default_suppressions() {
    // GStreamer's streaming threads come from GLib's thread pool, which hands them their
    // task through its own queues, and its objects pass between threads with atomic
    // reference counts: an element set up on one thread and used by a pooled thread looks
    // unordered. (This also hides races in our callbacks on those threads; the frame
    // hand-off tests drive the same callbacks from threads of their own.)
    return "race:libglib-2.0.so\n"
           "race:libgobject-2.0.so\n"
           "race:libgstreamer-1.0.so\n"
           "race:libgstbase-1.0.so\n";
}

#if defined(__SANITIZE_THREAD__)
#include <dlfcn.h>

#include <thread>

// ThreadSanitizer starts a thread of its own along with the program's first one; have it
// start before main, so that tests counting the process's threads count only theirs.
__attribute__((constructor)) static void StartThreadSanitizersOwnThread() { std::thread([] {}).join(); }

// OpenCV hands its parallel loops to TBB, which starts, feeds and joins its workers with
// atomics of its own: ThreadSanitizer would take every row a worker writes, and even the
// caller's stack it reads, for a race, often with no stack to suppress it by. Under it,
// programs that use OpenCV run those loops on the calling thread instead
// (cv::setNumThreads(1), looked up so that programs without OpenCV need not link it).
__attribute__((constructor)) static void RunOpenCvLoopsOnTheCallingThread() {
    using SetNumThreads = void (*)(int);
    if (auto set = reinterpret_cast<SetNumThreads>(dlsym(RTLD_DEFAULT, "_ZN2cv13setNumThreadsEi"))) set(1);
}
#endif
