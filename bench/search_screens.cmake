# (Named to follow search.cmake, whose edition it uses.)
# Dernolo's screens on the 1 000 000-firm edition of bench/search.cmake, driven by the test driver,
# with the list and search operations alone beside them.
if(NOT TARGET dernolo_device OR NOT TARGET search_bench_edition)
  return()
endif()
foreach(screens IN ITEMS browse search_screen)
  dir_add_bench(${screens}
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/screens/${screens}_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/screens/driven_program.cpp
      ${CMAKE_CURRENT_LIST_DIR}/screens/million_edition.cpp
    LIBS dernolo_device dernolo_resources)
  target_compile_definitions(bench_${screens} PRIVATE SEARCH_BENCH_FILE="${search_bench_file}")
endforeach()
