# (Named to follow search.cmake, whose edition it uses.)
# Dernolo's screens on the 1 000 000-firm edition of bench/search.cmake, driven by the test driver,
# with the list operation alone beside them.
if(TARGET dernolo_device AND TARGET search_bench_edition)
  dir_add_bench(browse
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/screens/browse_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/screens/driven_program.cpp
      ${CMAKE_CURRENT_LIST_DIR}/screens/million_edition.cpp
    LIBS dernolo_device dernolo_resources)
  target_compile_definitions(bench_browse PRIVATE SEARCH_BENCH_FILE="${search_bench_file}")
endif()
