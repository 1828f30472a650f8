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
  # Everything is instrumented for coverage; only the fuzz targets link the fuzzer's main.
  target_compile_options(project_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()
target_include_directories(project_options INTERFACE
  ${PROJECT_SOURCE_DIR}
  ${PROJECT_SOURCE_DIR}/platform/include)

# dir_add_test(NAME SOURCES... LIBS ...): one GoogleTest executable, registered with CTest.
function(dir_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  # Test code runs in moments unoptimised, and it is most of what a build compiles: only the code
  # under test is optimised as its build asks.
  target_compile_options(${name} PRIVATE -O0)
  target_link_libraries(${name} PRIVATE project_options ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
