// The page of `zebscribe graph --format html` (graph_page/ in the sources),
// split where the graph's data goes.
#pragma once

namespace zeb::tool {

extern const char kGraphPageHead[];
extern const char kGraphPageTail[];

}  // namespace zeb::tool
