# The examiner of ydb (check, dump, resource chain) over arbitrary bytes, mutated as database
# files; seeded from fuzz/corpus/ydb_examine/ and the database corpus.
add_library(ydb_examine_exercise STATIC ${CMAKE_CURRENT_LIST_DIR}/ydb/examine_exercise.cpp ${CMAKE_CURRENT_LIST_DIR}/exercise_files.cpp)
target_link_libraries(ydb_examine_exercise PUBLIC project_options ydb_examine platform_kernel)

dir_add_fuzzer(ydb_examine
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ydb/examine_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/db/edition_mutator_hook.cpp
  LIBS ydb_examine_exercise edition_mutator)
