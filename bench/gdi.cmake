# Repainting a full 240 x 320 screen of text and icons (home screen and list screen) into the
# screen framebuffer.
dir_add_bench(gdi
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/gdi/repaint_bench.cpp
  LIBS platform_gdi platform_kernel)
