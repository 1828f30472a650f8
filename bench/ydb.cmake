# The edition compiler over generated sources of 100 000 and 1 000 000 firms: the whole build
# (read and check the source, order, lay out, write) and `ydb check` of the file it wrote.
if(TARGET ydb_examine)
  dir_add_bench(ydb
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ydb/edition_build_bench.cpp
    LIBS ydb_examine)
endif()
