// The option values the circuit commands share: frequencies (and element values) with unit
// prefixes, the supply voltage as an expression, an element's index.
#pragma once

#include <string>
#include <string_view>

#include "complex/complex.h"

namespace zeigora::cli {

// C-locale decimal number with an optional prefix n, u (or µ), m, k, M, G; the prefix shifts the
// decimal exponent, so "1.5k" reads exactly as "1.5e3". False for anything else, including inf
// and nan.
bool ParseFrequency(std::string_view text, double& value);

// The value of an expression of the phasor definition language without phasors; false with the
// German problem (UTF-8) otherwise.
bool ParseVoltage(const std::string& utf8, TComplex& value, std::string& problem);

// A decimal index 0..count-1.
bool ParseIndex(std::string_view text, int count, int& index);

}  // namespace zeigora::cli
