// Complex values that always carry both forms, rectangular and polar, and their arithmetic.
#pragma once

#include <vector>

namespace zeigora {

// Both forms are stored and kept consistent by whoever changes one of them; readers take the
// form they need. Phase is in [0, 2*pi) after every conversion, NaN stays NaN.
struct TComplex {
    double Re;
    double Im;
    double Abs;
    double Phase;
};
static_assert(sizeof(TComplex) == 32, "TComplex is stored unchanged in phasor files");

using TComplexNumberArray = std::vector<TComplex>;

// 80-bit constants: the angle normalisation works in extended precision.
inline constexpr long double PiL = 3.14159265358979323846264338327950288L;
inline constexpr long double TwoPiL = 6.28318530717958647692528676655900577L;

// The quiet NaN with the sign bit set, the value x87 and SSE produce for invalid operations.
double DefaultNaN();

inline constexpr TComplex ComplexOne{1.0, 0.0, 1.0, 0.0};
inline constexpr TComplex ComplexZero{0.0, 0.0, 0.0, 0.0};

// Conversions. They return a success flag for symmetry with their callers; under masked
// floating-point exceptions they always succeed.
bool UpdatePolar(TComplex& z);
bool UpdateRect(TComplex& z);
void NormalizePhase(TComplex& z);

TComplex MakeComplex(double re, double im);
void SetRe(TComplex& z, double x);
void SetIm(TComplex& z, double x);
void SetAbs(TComplex& z, double x);
void SetPhase(TComplex& z, double x);

TComplex ComplexNeg(const TComplex& a);
TComplex ComplexAdd(const TComplex& a, const TComplex& b);
TComplex ComplexSub(const TComplex& a, const TComplex& b);
TComplex ComplexMul(const TComplex& a, const TComplex& b);
TComplex ComplexDiv(const TComplex& a, const TComplex& b);
TComplex ComplexRoot(const TComplex& z, int n);
TComplex ComplexLog(const TComplex& z, double base);
TComplex ComplexLn(const TComplex& z);  // ComplexLog with base e
TComplex ComplexExp(const TComplex& z);
TComplex ComplexPower(const TComplex& z, const TComplex& w);
TComplex ComplexSin(const TComplex& z);
TComplex ComplexCos(const TComplex& z);
void ConjugateInPlace(TComplex& z);
TComplex Conjugate(const TComplex& z);
void ReciprocalInPlace(TComplex& z);
void ReciprocalAll(TComplexNumberArray& a);
TComplex ComplexSum(const TComplexNumberArray& a);

// Real power with the rules of the root: exponent 0 gives 1, base 0 with a positive exponent
// gives 0, integral exponents by repeated squaring, otherwise exp(exponent * ln(base)).
long double RealPower(long double base, long double exponent);

}  // namespace zeigora
