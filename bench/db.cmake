# The database reader over a generated edition of 200 000 firms: full scans of the firm table and
# random firm reads with street and details.
dir_add_bench(database
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/db/database_bench.cpp
  LIBS db edition_writer platform_kernel)
