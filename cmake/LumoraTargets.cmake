# Compile settings shared by every target of our own.

# The fuzz build instruments every object for libFuzzer and always runs under ASan+UBSan;
# the fuzz targets link libFuzzer itself (fuzz/CMakeLists.txt).
if(LUMORA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "LUMORA_FUZZ needs clang: -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14")
  endif()
  set(LUMORA_SANITIZE ON)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(LUMORA_TSAN)
  if(LUMORA_SANITIZE)
    message(FATAL_ERROR "ThreadSanitizer cannot be combined with AddressSanitizer: LUMORA_TSAN excludes LUMORA_SANITIZE")
  endif()
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread LINKER:--as-needed)
  # GCC warns that ThreadSanitizer does not model fences. The one sequence lock that uses
  # them (the active-effect table) guards atomic slots only, so no race can hide there.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-tsan)
  endif()
endif()

if(LUMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  # Only what a program uses: the sanitizer runtime turns --as-needed off, and unused
  # OpenCV modules would then load Qt 5 (highgui) into programs built on Qt 6.
  add_link_options(-fsanitize=address,undefined LINKER:--as-needed)
endif()

# lumora_strict(<target>): our own code builds without warnings. Warnings stop the build
# only with LUMORA_WERROR (scripts/test and CI turn it on); packagers' compilers and flags
# may warn where ours do not, and must still build.
function(lumora_strict target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  # GCC 12 at -O3 reports overlapping copies inside libstdc++ for `"text" + std::string`
  # that cannot happen (GCC bug 105329); later compilers do not.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(LUMORA_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The sanitizer settings (leak suppressions for system libraries) compiled into a program.
set(LUMORA_SANITIZER_DEFAULTS ${CMAKE_CURRENT_LIST_DIR}/sanitizer_defaults.cpp)

# lumora_program(<target>): an executable we ship; sanitizer builds give it the settings
# the tests run with, so the tests may start it.
function(lumora_program target)
  lumora_strict(${target})
  if(LUMORA_SANITIZE)
    target_sources(${target} PRIVATE ${LUMORA_SANITIZER_DEFAULTS})
  endif()
endfunction()
