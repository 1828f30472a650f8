# The directory's lists and searches over arbitrary bytes, mutated as database files; seeded from
# fuzz/corpus/search/ and the database corpus, both of which the search tests replay.
dir_add_fuzzer(search
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/search/query_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/search/search_exercise.cpp
    ${CMAKE_CURRENT_LIST_DIR}/exercise_files.cpp ${CMAKE_CURRENT_LIST_DIR}/db/edition_mutator_hook.cpp
  LIBS search db platform_kernel edition_mutator)
