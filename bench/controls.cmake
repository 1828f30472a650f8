# The standard controls: sorted list fill, the white pages' list fill, list repaint after a scroll,
# tree fill and sort.
if(TARGET platform_controls)
  dir_add_bench(controls
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/controls/controls_bench.cpp
    LIBS platform_controls)
endif()
