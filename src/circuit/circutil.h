// Small helpers of the circuit calculator: angular frequency and the power product.
#pragma once

#include "complex/complex.h"

namespace zeigora {

// 2*pi*f with 2*pi held in extended precision; the product is rounded to a double.
double FrequencyToOmega(double frequency);

// a * conj(b), both products in polar form.
TComplex MulConj(TComplex a, TComplex b);

}  // namespace zeigora
