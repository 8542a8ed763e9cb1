// The stores behind tensor registration: texts that never move, the id map,
// which also takes ids out of order once the process-wide counter wraps, and
// the client's names, which tell a duplicated name from an id collision.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recorder/records.h"

namespace zeb {
namespace {

TEST(TextArena, TextsStayInPlaceAcrossBlocks) {
  TextArena arena;
  const std::string long_text(5000, 'x');
  std::vector<std::string_view> stored = {arena.store(""), arena.store("a", "", "bc")};
  for (int i = 0; i < 500; ++i) stored.push_back(arena.store("name_", i));
  stored.push_back(arena.store(long_text));
  stored.push_back(arena.store("after"));
  EXPECT_EQ(stored[0], "");
  EXPECT_EQ(stored[1], "abc");
  for (int i = 0; i < 500; ++i) EXPECT_EQ(stored[2 + i], "name_" + std::to_string(i));
  EXPECT_EQ(stored[502], long_text);
  EXPECT_EQ(stored[503], "after");
}

TEST(TensorIds, FindsEveryIdEnteredOnceInAnyOrder) {
  TextArena names;
  const auto nameOf = [&](uint32_t id) { return names.store("v", id); };
  TensorIds ids;
  for (const uint32_t id : {5u, 9u, 7u, 4294967295u, 1u}) EXPECT_TRUE(ids.insert(id, nameOf(id)));
  for (const uint32_t id : {7u, 4294967295u}) EXPECT_FALSE(ids.insert(id, "again"));
  for (const uint32_t id : {1u, 5u, 7u, 9u, 4294967295u}) EXPECT_EQ(ids.find(id), "v" + std::to_string(id));
  for (const uint32_t id : {0u, 2u, 6u, 8u, 10u}) EXPECT_EQ(ids.find(id), "");
}

TEST(ClientNames, HoldsWholeNamesOnly) {
  ClientNames names;
  EXPECT_FALSE(names.contains(""));
  for (const char* name : {"input:0", "", "conv/weights", "input:0"}) names.add(name);
  for (const char* held : {"input:0", "", "conv/weights"}) EXPECT_TRUE(names.contains(held));
  for (const char* other : {"input", "input:0 ", "weights", "conv/weights/"})
    EXPECT_FALSE(names.contains(other));
}

}  // namespace
}  // namespace zeb
