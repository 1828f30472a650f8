# The HTML viewer's page: arbitrary bytes as a page. Seeds are in fuzz/corpus/html_page/.
dir_add_fuzzer(html_page
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/htmlview/page_fuzz.cpp
  LIBS htmlview_page)
