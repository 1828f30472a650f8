# Pictures of the resource area: arbitrary bytes as the area of a sound database, every picture in
# it loaded and drawn. Seeds in fuzz/corpus/pictures/ (sound and malformed areas) and the sample
# editions' pictures (scripts/run-fuzzers.sh); the shell tests replay the corpus.
if(TARGET dernolo_shell)
  dir_add_fuzzer(pictures
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell/picture_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/shell/picture_exercise.cpp
    LIBS dernolo_shell area_database)
endif()

# The favourites file: arbitrary bytes as Favorites.txt beside a sound database, the slots loaded
# and each tapped. Seeds in fuzz/corpus/favourites/; the favourites tests replay them.
if(TARGET dernolo_shell AND TARGET edition_writer)
  dir_add_fuzzer(favourites
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell/favourites_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/shell/favourites_exercise.cpp
      ${CMAKE_CURRENT_LIST_DIR}/exercise_files.cpp
    LIBS dernolo_shell edition_writer)
endif()
