# The HTML viewer's page: arbitrary bytes as a page. Seeded from fuzz/corpus/html_page/ and the
# pages the editions carry (data/help.html, data/*/html/), which scripts/fuzz-seeds.sh adds; the
# page tests replay the corpus.
dir_add_fuzzer(html_page
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/htmlview/page_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/htmlview/page_exercise.cpp
  LIBS htmlview_page)
