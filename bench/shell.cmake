# The bitmap surface: loading the metro scheme from a database, and the metro screen's repaint.
if(TARGET dernolo_shell)
  dir_add_bench(pictures
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell/picture_bench.cpp
    LIBS dernolo_shell edition_writer)
endif()
