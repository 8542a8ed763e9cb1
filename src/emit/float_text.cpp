// The written form of a float: FloatPiece.
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "emit/text_append.h"

namespace zeb {
namespace {

// Nine significant digits of a value: value ~ digits * 10^(exponent - 8).
struct NineDigits {
  uint32_t digits;  // 100000000 to 999999999
  int exponent;     // of the first digit
};

#if defined(__SIZEOF_INT128__)

constexpr uint32_t kPastNine = 1000000000;

// Every float's decimal digits are exact in 128 bits down to about 1e-23;
// smaller values go to the standard library.
using Wide = unsigned __int128;

struct PowersOfTen {
  constexpr PowersOfTen() : value() {
    Wide power = 1;
    for (Wide& entry : value) {
      entry = power;
      power *= 10;
    }
  }
  Wide value[39];  // 10^38 is the largest power of ten below 2^128
};
constexpr PowersOfTen kPowersOfTen;

// The quotient, rounded half to even by how the remainder compares with half.
// No float's nine digits round up into a tenth (every float was checked), so
// the first digit keeps its place.
NineDigits rounded(uint32_t quotient, bool aboveHalf, bool atHalf, int exponent) {
  if (aboveHalf || (atHalf && (quotient & 1) != 0)) ++quotient;
  assert(quotient < kPastNine);
  return {quotient, exponent};
}

// mantissa * 2^shift, an integer of up to 39 digits.
NineDigits digitsOfInteger(uint32_t mantissa, int shift) {
  const Wide value = Wide{mantissa} << shift;
  int length = 1;
  while (length < 39 && value >= kPowersOfTen.value[length]) ++length;
  if (length <= 9) {
    return {static_cast<uint32_t>(value * kPowersOfTen.value[9 - length]), length - 1};
  }
  const Wide divisor = kPowersOfTen.value[length - 9];
  const Wide remainder = value % divisor;
  return rounded(static_cast<uint32_t>(value / divisor), remainder > divisor - remainder,
                 remainder == divisor - remainder, length - 1);
}

// mantissa / 2^shift, the mantissa's top bit being bit 23 and shift > 0;
// false where 128 bits cannot hold the digits.
bool digitsOfFraction(uint32_t mantissa, int shift, NineDigits& out) {
  // The value is at least 2^(23 - shift), so log10 of it at least this
  // estimate, which may fall one or two short; the loop below corrects it.
  const int lowEstimate = ((23 - shift) * 78913) >> 18;
  int scale = 8 - lowEstimate;  // the power of ten that brings nine digits above the point
  if (scale > 31 || shift >= 128) return false;
  Wide scaled = Wide{mantissa} * kPowersOfTen.value[scale];
  while ((scaled >> shift) >= kPastNine) {
    --scale;
    scaled = Wide{mantissa} * kPowersOfTen.value[scale];
  }
  const Wide half = Wide{1} << (shift - 1);
  const Wide remainder = scaled & ((half << 1) - 1);
  out = rounded(static_cast<uint32_t>(scaled >> shift), remainder > half, remainder == half,
                8 - scale);
  return true;
}

bool nineDigitsOf(uint32_t bits, NineDigits& out) {
  const uint32_t biased = (bits >> 23) & 0xff;
  if (biased == 0) return false;  // zero and subnormals
  const uint32_t mantissa = (bits & 0x7fffff) | 0x800000;
  const int exponent = static_cast<int>(biased) - 150;
  if (exponent >= 0) {
    out = digitsOfInteger(mantissa, exponent);
    return true;
  }
  return digitsOfFraction(mantissa, -exponent, out);
}

#else

bool nineDigitsOf(uint32_t, NineDigits&) { return false; }

#endif

char* copyDigits(char* at, const char* digits, int count) {
  std::memcpy(at, digits, static_cast<std::size_t>(count));
  return at + count;
}

// %.9g: exponential form outside 1e-4 to 1e9, trailing zeros dropped.
std::size_t writeGeneral(bool negative, NineDigits value, char* out) {
  char digits[9];
  for (int i = 8; i >= 0; --i, value.digits /= 10)
    digits[i] = static_cast<char>('0' + value.digits % 10);
  int significant = 9;
  while (significant > 1 && digits[significant - 1] == '0') --significant;
  char* at = out;
  if (negative) *at++ = '-';
  const int exponent = value.exponent;
  if (exponent < -4 || exponent >= 9) {
    *at++ = digits[0];
    if (significant > 1) {
      *at++ = '.';
      at = copyDigits(at, digits + 1, significant - 1);
    }
    const int magnitude = exponent < 0 ? -exponent : exponent;
    *at++ = 'e';
    *at++ = exponent < 0 ? '-' : '+';
    *at++ = static_cast<char>('0' + magnitude / 10);
    *at++ = static_cast<char>('0' + magnitude % 10);
  } else if (exponent >= 0) {
    at = copyDigits(at, digits, exponent + 1);
    if (significant > exponent + 1) {
      *at++ = '.';
      at = copyDigits(at, digits + exponent + 1, significant - exponent - 1);
    }
  } else {
    *at++ = '0';
    *at++ = '.';
    for (int i = -1; i > exponent; --i) *at++ = '0';
    at = copyDigits(at, digits, significant);
  }
  return static_cast<std::size_t>(at - out);
}

// %.9g of a finite value, composed without the C library, so the text is the
// same on every platform and in every locale.
std::size_t formatFinite(float value, char* out, std::size_t capacity) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  NineDigits digits;
  if (nineDigitsOf(bits, digits)) return writeGeneral((bits >> 31) != 0, digits, out);
  const auto result =
      std::to_chars(out, out + capacity, static_cast<double>(value), std::chars_format::general, 9);
  return static_cast<std::size_t>(result.ptr - out);
}

// A NaN as its bits, read through a union: an expression such as 0.0f/0.0f
// gives whichever NaN the compiler or the processor makes (GCC a negative one
// on x86), so neither its sign nor its payload would come back.
std::size_t formatNan(uint32_t bits, char* out) {
  static constexpr std::string_view kOpening = "(union {uint32_t u; float f;}){0x", kClosing = "}.f";
  char* at = out + kOpening.copy(out, kOpening.size());
  for (int shift = 28; shift >= 0; shift -= 4) *at++ = "0123456789abcdef"[(bits >> shift) & 0xf];
  at += kClosing.copy(at, kClosing.size());
  return static_cast<std::size_t>(at - out);
}

}  // namespace

FloatPiece::FloatPiece(float value) {
  // A whole number below 1e9 (1, 2, -0, the usual scalar parameters) is all
  // its digits with no point and no exponent in %.9g: no digits to find.
  const float magnitude = std::fabs(value);
  if (magnitude < 1e9f && static_cast<float>(static_cast<uint32_t>(magnitude)) == magnitude) {
    char* at = digits;
    if (std::signbit(value)) *at++ = '-';
    at = std::to_chars(at, digits + sizeof digits, static_cast<uint32_t>(magnitude)).ptr;
    length = static_cast<std::size_t>(at - digits);
    return;
  }
  // C has no literals for non-finite values (and the written program includes
  // no <math.h>), so they are written as expressions that give them.
  if (std::isnan(value)) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    length = formatNan(bits, digits);
  } else if (std::isinf(value)) {
    length = std::string_view(value > 0 ? "(1.0f/0.0f)" : "(-1.0f/0.0f)").copy(digits, sizeof digits);
  } else {
    length = formatFinite(value, digits, sizeof digits);
  }
}

}  // namespace zeb
