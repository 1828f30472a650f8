# The directory's lists and searches over a 1 000 000-firm edition made by `ydb synth` and
# `ydb build` (once: the file is kept in the build tree; SEARCH_BENCH_EDITION overrides it), with
# the same fragment search done by SQLite and by memmem beside them.
if(NOT TARGET ydb OR NOT TARGET search)
  return()
endif()
find_package(SQLite3 REQUIRED)

set(search_bench_folder ${CMAKE_BINARY_DIR}/bench/search_edition)
set(search_bench_file ${search_bench_folder}/million.ydb)
add_custom_command(OUTPUT ${search_bench_file}
  COMMAND ydb synth --firms 1000000 -o ${search_bench_folder}/source
  COMMAND ydb build ${search_bench_folder}/source -o ${search_bench_file} --quiet
  COMMENT "Generating the 1 000 000-firm benchmark edition")
# Made on request (`--target search_bench_edition`), not by every build: it takes a minute and a
# gigabyte and, once there, is not made again after changes of ydb.
add_custom_target(search_bench_edition DEPENDS ${search_bench_file})
add_dependencies(search_bench_edition ydb)

dir_add_bench(search
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/search/search_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/search/fragment_baselines.cpp
  LIBS search db platform_kernel SQLite::SQLite3)
target_compile_definitions(bench_search PRIVATE SEARCH_BENCH_FILE="${search_bench_file}")
