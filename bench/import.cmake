# ydb import at city scale: a generator of extracts (1 000 000 business objects among 10 000 000
# nodes by default); the import itself is measured by running ydb on what it writes.
if(TARGET ydb_import)
  add_executable(bench_osm_extract_generator ${CMAKE_CURRENT_LIST_DIR}/ydb/osm_extract_generator.cpp)
  target_link_libraries(bench_osm_extract_generator PRIVATE project_options ydb_import)
endif()
