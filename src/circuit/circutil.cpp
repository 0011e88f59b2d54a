#include "circuit/circutil.h"

namespace zeigora {

double FrequencyToOmega(double frequency) {
    return static_cast<double>(TwoPiL * static_cast<long double>(frequency));
}

TComplex MulConj(TComplex a, TComplex b) {
    return ComplexMul(a, Conjugate(b));
}

}  // namespace zeigora
