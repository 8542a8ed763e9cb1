#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "emit/statement_builder.h"

namespace zeb {
namespace {

struct FloatCase {
  float value;
  const char* text;
};

TEST(FloatToText, WritesNineSignificantDigitsInGeneralForm) {
  const FloatCase cases[] = {
      {0.1f, "0.100000001"},
      {1.0f, "1"},
      {0.5f, "0.5"},
      {1.0f / 3.0f, "0.333333343"},
      {1e-5f, "9.99999975e-06"},
      {1e-4f, "9.99999975e-05"},  // exponent -5: exponent form
      {0.001f, "0.00100000005"},  // exponent -3: fixed form
      {0.0001234f, "0.000123399994"},
      {1e9f, "1e+09"},  // exponent 9: exponent form
      {999999999.0f, "1e+09"},
      {100000000.0f, "100000000"},  // exponent 8: fixed form
      {123456789.0f, "123456792"},
      {16777216.0f, "16777216"},
      {65504.0f, "65504"},
      {1.5f, "1.5"},
      {0.0f, "0"},
      {-0.0f, "-0"},
      {-2.5f, "-2.5"},
      {3.0e-7f, "3.00000011e-07"},
      {-1e-10f, "-1.00000001e-10"},
      {FLT_MAX, "3.40282347e+38"},
      {FLT_MIN, "1.17549435e-38"},
      {std::numeric_limits<float>::denorm_min(), "1.40129846e-45"},
  };
  for (const auto& c : cases) EXPECT_EQ(floatToText(c.value), c.text) << c.text;
}

// The written form must be what "%.9g" gives, for every finite float; a
// sweep over the bit patterns covers every exponent and many mantissas.
TEST(FloatToText, AgreesWithPrintfAcrossTheFloatRange) {
  int compared = 0;
  for (uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 40503) {
    const uint32_t pattern = static_cast<uint32_t>(bits);
    float value;
    std::memcpy(&value, &pattern, sizeof value);
    if (!std::isfinite(value)) continue;
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.9g", static_cast<double>(value));
    ASSERT_EQ(floatToText(value), expected) << "bits " << pattern;
    ++compared;
  }
  EXPECT_GT(compared, 100000);
}

TEST(ValueText, IntegersEnumerationsAndStrings) {
  EXPECT_EQ(intToText(-1), "-1");
  EXPECT_EQ(intToText(INT32_MIN), "-2147483648");
  EXPECT_EQ(uintToText(UINT32_MAX), "4294967295");
  EXPECT_EQ(uint64ToText(UINT64_MAX), "18446744073709551615");
  EXPECT_EQ(enumToText("Zeb_QuantizationEncoding_t", 2147483647),
            "(Zeb_QuantizationEncoding_t)2147483647");
  EXPECT_EQ(enumToText("Zeb_DataType_t", -1), "(Zeb_DataType_t)-1");
  EXPECT_EQ(stringToText("a\"b\\c"), "\"a\"b\\c\"");  // copied, not escaped
  EXPECT_EQ(stringToText(""), "\"\"");
  EXPECT_EQ(stringToText(nullptr), "NULL");
}

}  // namespace
}  // namespace zeb
