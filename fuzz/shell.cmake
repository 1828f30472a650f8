# Pictures of the resource area: arbitrary bytes as the area of a sound database, every picture in
# it loaded and drawn. Seeds in fuzz/corpus/pictures/ (sound and malformed areas) and the sample
# editions' pictures (scripts/run-fuzzers.sh); the shell tests replay the corpus.
if(TARGET dernolo_shell)
  dir_add_fuzzer(pictures
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell/picture_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/shell/picture_exercise.cpp
    LIBS dernolo_shell area_database)
endif()
