// A finite float as "%.9g" writes it, composed without the C library, so the
// text is the same on every platform and in every locale.
#pragma once

#include <cstddef>

namespace zeb {

// The longest text: a sign, nine digits, the point and a four-character exponent.
constexpr std::size_t kFloatTextCapacity = 16;

// Writes the general form with nine significant digits of a finite value to
// out, which has room for kFloatTextCapacity characters; returns the length.
std::size_t formatFiniteFloat(float value, char* out);

}  // namespace zeb
