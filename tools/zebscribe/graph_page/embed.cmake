# The graph page: markup, style and script joined into one page, split where
# the graph's data goes, and compiled into zebscribe as two strings. The
# source is made again whenever one of the three files changes.
set(page_dir ${CMAKE_CURRENT_LIST_DIR})
set(page_files ${page_dir}/page.html ${page_dir}/viewer.css ${page_dir}/viewer.js)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${page_files})
file(READ ${page_dir}/page.html page)
file(READ ${page_dir}/viewer.css style)
file(READ ${page_dir}/viewer.js script)
string(REPLACE "/* viewer.css */" "${style}" page "${page}")
string(REPLACE "/* viewer.js */" "${script}" page "${page}")
set(data_marker "<!-- graph data -->")
string(FIND "${page}" "${data_marker}" data_at)
string(LENGTH "${data_marker}" marker_length)
math(EXPR tail_at "${data_at} + ${marker_length}")
string(SUBSTRING "${page}" 0 ${data_at} head)
string(SUBSTRING "${page}" ${tail_at} -1 tail)
set(ZEB_GRAPH_PAGE_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/graph_page.cpp)
file(WRITE ${ZEB_GRAPH_PAGE_SOURCE}.new "#include \"zebscribe/graph_page.h\"\n\n"
  "const char zeb::tool::kGraphPageHead[] = R\"zebpage(${head})zebpage\";\n"
  "const char zeb::tool::kGraphPageTail[] = R\"zebpage(${tail})zebpage\";\n")
configure_file(${ZEB_GRAPH_PAGE_SOURCE}.new ${ZEB_GRAPH_PAGE_SOURCE} COPYONLY)
