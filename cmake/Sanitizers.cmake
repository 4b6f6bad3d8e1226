# Sanitizer and fuzzing builds (clang):
#   GC_SANITIZE_ADDRESS  AddressSanitizer with UndefinedBehaviorSanitizer; every report is fatal
#   GC_SANITIZE_THREAD   ThreadSanitizer
#   GC_FUZZ              libFuzzer targets in fuzz/, the code under test instrumented for
#                        coverage and built with ASan+UBSan
# Qt itself comes uninstrumented from Debian: ASan and UBSan see only our code, and TSan
# cannot see Qt's own synchronisation (see tests/hardening/tsan.supp).

option(GC_SANITIZE_ADDRESS "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(GC_SANITIZE_THREAD "Build with ThreadSanitizer" OFF)
option(GC_FUZZ "Build the libFuzzer targets in fuzz/" OFF)

set(gc_sanitizer_options GC_SANITIZE_ADDRESS GC_SANITIZE_THREAD GC_FUZZ)
set(gc_sanitizers_on 0)
foreach(opt IN LISTS gc_sanitizer_options)
  if(${opt})
    math(EXPR gc_sanitizers_on "${gc_sanitizers_on} + 1")
  endif()
endforeach()
if(gc_sanitizers_on GREATER 1)
  message(FATAL_ERROR "Choose one of ${gc_sanitizer_options} per build directory")
endif()
if(gc_sanitizers_on EQUAL 1 AND NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "Sanitizer and fuzzing builds need clang: CC=clang CXX=clang++ cmake ...")
endif()

# Halting at the first report makes a finding fail the test that caused it.
set(gc_asan_flags -fsanitize=address,undefined -fno-sanitize-recover=all)

if(GC_SANITIZE_ADDRESS)
  add_compile_options(${gc_asan_flags} -fno-omit-frame-pointer)
  add_link_options(${gc_asan_flags})
elseif(GC_SANITIZE_THREAD)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(GC_FUZZ)
  # Everything gets coverage hooks; only the fuzz targets link libFuzzer's main.
  add_compile_options(-fsanitize=fuzzer-no-link ${gc_asan_flags} -fno-omit-frame-pointer)
  add_link_options(${gc_asan_flags})
endif()

# The fuzz targets link libraries of every layer; targets are resolved once all folders are
# read, so the folder may come before them.
add_subdirectory(${PROJECT_SOURCE_DIR}/fuzz ${PROJECT_BINARY_DIR}/fuzz)
