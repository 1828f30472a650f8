# Dernolo's pages and pictures on the sample device, driven by the test driver: from a tap to the
# painted page (an information page, help at an anchor), opening the metro scheme, one pan of it.
if(TARGET dernolo_device AND TARGET sample_editions)
  dir_add_bench(pages SOURCES ${CMAKE_CURRENT_LIST_DIR}/card/pages_bench.cpp ${CMAKE_CURRENT_LIST_DIR}/screens/driven_program.cpp LIBS dernolo_device dernolo_resources)
  get_filename_component(sample_device "${DIR_DEVICE_INSTALL_FOLDER}/../../../.." ABSOLUTE)
  target_compile_definitions(bench_pages PRIVATE SAMPLE_DEVICE="${sample_device}")
  add_dependencies(bench_pages sample_editions)
endif()
