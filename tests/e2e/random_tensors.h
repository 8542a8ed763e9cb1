// Random tensor descriptions, their data and node parameters for the random
// scenarios. Everything a description points to is kept by the arena given.
#pragma once

#include <cstdint>

#include "ZebInterface.h"
#include "prng.h"
#include "random_values.h"

namespace zeb::e2e {

// A finite float: named values, tiny and huge ones, or any bit pattern that
// is not infinite or NaN.
float anyFloat(Prng& rng);

// An id no backend hands out: 0 mostly, now and then one above 2^31.
uint32_t unregisteredId(Prng& rng);

// A fresh description: version 1 or 2, any tensor type, any data type (with
// data only for those whose elements have a size), every quantisation
// encoding, NULL or present dimensions and counted arrays, data whose size is
// a whole number of elements, or none.
Zeb_Tensor_t freshTensor(Prng& rng, Arena& arena);

// The description with new contents: whole elements of its data type, or no
// data at all (always none for a data type without an element size).
Zeb_Tensor_t withFreshData(Prng& rng, Arena& arena, Zeb_Tensor_t tensor);

// A scalar parameter of one of the kinds a node may carry: int8/16/32,
// uint8/16/32, float, bool8 or string.
Zeb_Param_t scalarParameter(Prng& rng, Arena& arena);

}  // namespace zeb::e2e
