# The directory's lists and searches over arbitrary bytes; seeded from the database corpus
# (fuzz/corpus/database/), which the search tests replay through the same exercise.
dir_add_fuzzer(search
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/search/query_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/search/search_exercise.cpp
    ${CMAKE_CURRENT_LIST_DIR}/exercise_files.cpp
  LIBS search db platform_kernel)
