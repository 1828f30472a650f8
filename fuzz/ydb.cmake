# The inspector of ydb (check, dump, resource chain) over arbitrary bytes; seeds are the database
# corpus in fuzz/corpus/database/.
add_library(ydb_inspect_exercise STATIC ${CMAKE_CURRENT_LIST_DIR}/ydb/inspect_exercise.cpp)
target_link_libraries(ydb_inspect_exercise PUBLIC project_options ydb_inspect)

dir_add_fuzzer(ydb_inspect
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ydb/inspect_fuzz.cpp
  LIBS ydb_inspect_exercise)
