# A sound database with the input as its resource area: what the exercises of the area's pictures
# and help texts open (fragments are read in name order, so this one comes before theirs).
if(TARGET edition_writer)
  add_library(area_database STATIC ${CMAKE_CURRENT_LIST_DIR}/area_database.cpp ${CMAKE_CURRENT_LIST_DIR}/exercise_files.cpp)
  target_link_libraries(area_database PUBLIC project_options db edition_writer platform_kernel)
endif()
