# The HTML viewer's page: arbitrary bytes as a page. Seeded from fuzz/corpus/html_page/ and the
# pages the editions carry (data/help.html, data/*/html/), which scripts/fuzz-seeds.sh adds; the
# page tests replay the corpus. Most of a run is the layout library's: the long run fuzzes it
# from the quick build.
dir_add_fuzzer(html_page QUICK
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/htmlview/page_fuzz.cpp ${CMAKE_CURRENT_LIST_DIR}/htmlview/page_exercise.cpp
  LIBS htmlview_page)
