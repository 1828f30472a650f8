# The examiner of ydb (check, dump, resource chain) over arbitrary bytes; seeds are the database
# corpus in fuzz/corpus/database/.
add_library(ydb_examine_exercise STATIC ${CMAKE_CURRENT_LIST_DIR}/ydb/examine_exercise.cpp)
target_link_libraries(ydb_examine_exercise PUBLIC project_options ydb_examine)

dir_add_fuzzer(ydb_examine
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ydb/examine_fuzz.cpp
  LIBS ydb_examine_exercise)
