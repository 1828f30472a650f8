# The window manager: a full 240 x 320 repaint of a window full of text through WM_PAINT
# (invalidation, erasing, BeginPaint's clip, DrawText), and the CPU an idle GetMessage loop uses.
if(TARGET platform_ui)
  dir_add_bench(ui
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/ui/window_bench.cpp
    LIBS platform_ui)
endif()
