# The HTML viewer's page: arbitrary bytes as a page. Seeded from fuzz/corpus/html_page/ and the
# pages the editions carry (data/help.html, data/*/html/), which scripts/run-fuzzers.sh adds.
dir_add_fuzzer(html_page
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/htmlview/page_fuzz.cpp
  LIBS htmlview_page)
