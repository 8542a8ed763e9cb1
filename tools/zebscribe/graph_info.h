// What `zebscribe info` tells of each graph.
#pragma once

#include "graph_model.h"
#include "json_writer.h"

namespace zeb::tool {

void printGraphCounts(const GraphModel& model);
void writeGraphCounts(const GraphModel& model, JsonWriter& json);

}  // namespace zeb::tool
