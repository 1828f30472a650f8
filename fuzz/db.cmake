# The database reader: arbitrary bytes opened as a directory database and read every way.
# Seeds in fuzz/corpus/database/ are written by db_fuzz_seeds (see fuzz/db/make_seeds.cpp).
add_library(db_exercise STATIC ${CMAKE_CURRENT_LIST_DIR}/db/database_exercise.cpp ${CMAKE_CURRENT_LIST_DIR}/exercise_files.cpp)
target_link_libraries(db_exercise PUBLIC project_options db platform_kernel)

# The mutations that keep a database file's shape, for every target that reads database files.
add_library(edition_mutator STATIC ${CMAKE_CURRENT_LIST_DIR}/db/edition_mutator.cpp ${CMAKE_CURRENT_LIST_DIR}/db/seed_edition.cpp)
target_link_libraries(edition_mutator PUBLIC project_options edition_writer)

dir_add_fuzzer(database
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/db/open_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/db/edition_mutator_hook.cpp
  LIBS db_exercise edition_mutator)

add_executable(db_fuzz_seeds ${CMAKE_CURRENT_LIST_DIR}/db/make_seeds.cpp ${CMAKE_CURRENT_LIST_DIR}/db/seed_edition.cpp)
target_link_libraries(db_fuzz_seeds PRIVATE project_options edition_writer)
