# Help texts of the resource area: arbitrary bytes as the area of a sound database, every help
# text in it loaded. Seeds in fuzz/corpus/help_texts/ and the sample editions' help (scripts/run-
# fuzzers.sh); the card tests replay the corpus.
if(TARGET dernolo_card)
  dir_add_fuzzer(help_texts
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/card/help_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/card/help_exercise.cpp
    LIBS dernolo_card area_database)
endif()
