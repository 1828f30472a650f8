# project_options: warnings and sanitizers shared by every target of the project.
add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Wunused
  -Woverloaded-virtual -Wimplicit-fallthrough)
if(DIR_WERROR)
  target_compile_options(project_options INTERFACE -Werror)
endif()
if(DIR_SANITIZE)
  target_compile_options(project_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()
if(DIR_FUZZ)
  # Everything is instrumented for coverage; only the fuzz targets link the fuzzer's main. Undefined
  # behaviour stops the run, so that the fuzzer keeps the input as a finding.
  target_compile_options(project_options INTERFACE
    -fsanitize=fuzzer-no-link,${DIR_FUZZ_SANITIZERS} -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=${DIR_FUZZ_SANITIZERS})
endif()
target_include_directories(project_options INTERFACE
  ${PROJECT_SOURCE_DIR}
  ${PROJECT_SOURCE_DIR}/platform/include)

# The test framework's headers cost more to compile than most test files themselves: they are
# compiled once, with the options every test file has, and each test file starts from that.
function(dir_test_framework_header)
  if(TARGET test_framework_header)
    return()
  endif()
  add_library(test_framework_header OBJECT ${PROJECT_SOURCE_DIR}/tests/framework_header.cpp)
  target_compile_options(test_framework_header PRIVATE -O0)
  # The window system's package defines _REENTRANT for what links it; the compiler takes the
  # header only where such definitions agree, so every test file has it (it changes nothing).
  target_compile_definitions(test_framework_header PRIVATE _REENTRANT)
  target_link_libraries(test_framework_header PRIVATE project_options GTest::gtest GTest::gmock)
  target_precompile_headers(test_framework_header PRIVATE <gtest/gtest.h> <gmock/gmock.h>)
endfunction()

# dir_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable, registered with CTest.
function(dir_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  # Test code runs in moments unoptimised, and it is most of what a build compiles: only the code
  # under test is optimised as its build asks.
  target_compile_options(${name} PRIVATE -O0)
  target_compile_definitions(${name} PRIVATE _REENTRANT)
  dir_test_framework_header()
  target_precompile_headers(${name} REUSE_FROM test_framework_header)
  target_link_libraries(${name} PRIVATE project_options ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
