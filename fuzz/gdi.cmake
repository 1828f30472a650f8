# Picture resources: arbitrary bytes loaded as a bitmap, as icon images and as an icon directory.
# Seeds in fuzz/corpus/gdi_images/; the gdi tests replay them (and the inputs that once broke
# something) through the same exercise.
dir_add_fuzzer(gdi_images
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/gdi/image_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/gdi/image_exercise.cpp
  LIBS platform_gdi)
