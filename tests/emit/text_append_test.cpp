// The written form of numbers, and the buffer that every block is composed in.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "emit/statement_builder.h"

namespace zeb::test {
namespace {

float withBits(uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

TEST(FloatText, FiniteAsPercentNineGOthersAsExpressions) {
  const struct { float value; const char* text; } rows[] = {
      {0.1f, "0.100000001"},      {1.0f, "1"},           {0.5f, "0.5"},
      {1.0f / 3.0f, "0.333333343"}, {0.00001f, "9.99999975e-06"}, {1e9f, "1e+09"},
      {123456789.0f, "123456792"}, {0.0f, "0"},          {-2.5f, "-2.5"},
      {3.0e-7f, "3.00000011e-07"}, {-0.0f, "-0"},  {-7.0f, "-7"}, {999999936.0f, "999999936"},
      // C has no literals for these: expressions that give them, a NaN by its bits.
      {std::numeric_limits<float>::quiet_NaN(), "(union {uint32_t u; float f;}){0x7fc00000}.f"},
      {withBits(0xffc00000), "(union {uint32_t u; float f;}){0xffc00000}.f"},
      {withBits(0x7f800001), "(union {uint32_t u; float f;}){0x7f800001}.f"},
      {withBits(0xff9abcde), "(union {uint32_t u; float f;}){0xff9abcde}.f"},
      {std::numeric_limits<float>::infinity(), "(1.0f/0.0f)"},
      {-std::numeric_limits<float>::infinity(), "(-1.0f/0.0f)"},
  };
  for (const auto& row : rows) EXPECT_EQ(floatToText(row.value), row.text) << row.text;
}

// The composed digits against the standard library's "%.9g": bit patterns
// spread over the whole range, and the floats around each power of ten, where
// the form changes and nine digits come closest to rounding into a tenth.
TEST(FloatText, AgreesWithTheStandardLibraryOverTheRange) {
  std::vector<float> values;
  for (uint64_t bits = 0; bits < (uint64_t{1} << 32); bits += 4099) values.push_back(withBits(static_cast<uint32_t>(bits)));
  for (int exponent = -45; exponent <= 38; ++exponent) {
    const auto power = static_cast<float>(std::pow(10.0, exponent));
    values.insert(values.end(), {std::nextafter(power, 0.0f), power,
                                 std::nextafter(power, std::numeric_limits<float>::max())});
  }
  int mismatches = 0;
  for (const float value : values) {
    if (!std::isfinite(value)) continue;
    char expected[32];
    const auto end = std::to_chars(expected, expected + sizeof expected, static_cast<double>(value),
                                   std::chars_format::general, 9);
    const std::string_view text(expected, static_cast<std::size_t>(end.ptr - expected));
    if (floatToText(value) != text && ++mismatches <= 5)
      ADD_FAILURE() << "expected " << text << ", wrote " << floatToText(value);
  }
  EXPECT_EQ(mismatches, 0) << "of " << values.size();
}

template <class Number>
void expectDecimal(Number value) {
  TextBuffer text;
  appendAll(text, "[", value, "]");
  EXPECT_EQ(text.view(), "[" + std::to_string(value) + "]");
}

TEST(NumberText, EveryLengthAndBothEndsOfEachType) {
  for (const int32_t value : {0, 9, 10, 99, 100, 101, 999, 1000, 65536, -1, -10, -100, INT32_MIN, INT32_MAX})
    expectDecimal(value);
  expectDecimal(std::numeric_limits<uint32_t>::max());
  expectDecimal(std::numeric_limits<int64_t>::min());
  expectDecimal(std::numeric_limits<int64_t>::max());
  expectDecimal(std::numeric_limits<uint64_t>::max());
  expectDecimal(uint64_t{10000000000000000000u});
}

// Appends that land just below, on and past each growth of the buffer keep
// every character in place.
TEST(TextBuffer, KeepsItsTextAcrossEveryGrowth) {
  TextBuffer buffer;
  std::string expected;
  for (const std::size_t length : {0u, 1u, 2u, 3u, 4u, 7u, 8u, 15u, 16u, 17u, 31u, 32u, 33u, 63u,
                                    64u, 65u, 1022u, 1u, 1u, 2000u, 5u, 9000u, 3u}) {
    const std::string piece(length, static_cast<char>('a' + expected.size() % 26));
    buffer += piece;
    appendAll(buffer, ", ", length);
    expected += piece + ", " + std::to_string(length);
    ASSERT_EQ(buffer.view(), expected) << "after a piece of " << length;
  }
  buffer.clear();
  buffer += '\n';
  EXPECT_EQ(buffer.view(), "\n");
}

}  // namespace
}  // namespace zeb::test
