#include "complex/complex.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace zeigora {

double DefaultNaN() {
    constexpr std::uint64_t bits = 0xFFF8000000000000ULL;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

void NormalizePhase(TComplex& z) {
    if (std::isnan(z.Phase)) {
        z.Phase = DefaultNaN();
        return;
    }
    long double q = static_cast<long double>(z.Phase) / TwoPiL;
    q -= std::trunc(q);  // frac keeps the sign; an infinite phase becomes NaN here
    long double p = q * 2.0L * PiL;
    if (std::isnan(p)) {
        z.Phase = DefaultNaN();
        return;
    }
    while (p < 0)
        p += TwoPiL;  // runs at most once: |frac| < 1
    z.Phase = static_cast<double>(p);
}

bool UpdatePolar(TComplex& z) {
    const long double re = z.Re;
    const long double im = z.Im;
    z.Abs = static_cast<double>(std::sqrt(re * re + im * im));
    z.Phase = std::atan2(z.Im, z.Re);
    NormalizePhase(z);
    return true;
}

bool UpdateRect(TComplex& z) {
    NormalizePhase(z);
    z.Re = std::cos(z.Phase) * z.Abs;
    z.Im = std::sin(z.Phase) * z.Abs;
    return true;
}

TComplex MakeComplex(double re, double im) {
    TComplex z{re, im, 0.0, 0.0};
    UpdatePolar(z);
    return z;
}

void SetRe(TComplex& z, double x) {
    z.Re = x;
    UpdatePolar(z);
}

void SetIm(TComplex& z, double x) {
    z.Im = x;
    UpdatePolar(z);
}

void SetAbs(TComplex& z, double x) {
    z.Abs = x;
    UpdateRect(z);
}

void SetPhase(TComplex& z, double x) {
    z.Phase = x;
    UpdateRect(z);
}

namespace {

TComplex FromRect(double re, double im) {
    return MakeComplex(re, im);
}

TComplex FromPolar(double abs, double phase) {
    TComplex z{0.0, 0.0, abs, phase};
    UpdateRect(z);
    return z;
}

}  // namespace

TComplex ComplexNeg(const TComplex& a) {
    return FromRect(-a.Re, -a.Im);
}

TComplex ComplexAdd(const TComplex& a, const TComplex& b) {
    return FromRect(a.Re + b.Re, a.Im + b.Im);
}

TComplex ComplexSub(const TComplex& a, const TComplex& b) {
    return FromRect(a.Re - b.Re, a.Im - b.Im);
}

TComplex ComplexMul(const TComplex& a, const TComplex& b) {
    return FromPolar(a.Abs * b.Abs, a.Phase + b.Phase);
}

TComplex ComplexDiv(const TComplex& a, const TComplex& b) {
    return FromPolar(a.Abs / b.Abs, a.Phase - b.Phase);
}

long double RealPower(long double base, long double exponent) {
    if (exponent == 0) return 1.0L;
    if (base == 0 && exponent > 0) return 0.0L;
    // Repeated squaring only where it terminates quickly; huge integral exponents take the
    // logarithm path, which gives the same infinities or zeros.
    if (std::trunc(exponent) == exponent && std::fabs(exponent) <= 2147483647.0L) {
        long long e = static_cast<long long>(std::fabs(exponent));
        long double result = 1.0L;
        long double b = base;
        while (e > 0) {
            if (e & 1) result *= b;
            b *= b;
            e >>= 1;
        }
        return exponent < 0 ? 1.0L / result : result;
    }
    return std::exp(exponent * std::log(base));
}

TComplex ComplexRoot(const TComplex& z, int n) {
    const long double abs = RealPower(z.Abs, 1.0L / n);
    return FromPolar(static_cast<double>(abs), z.Phase / n);
}

TComplex ComplexLog(const TComplex& z, double base) {
    TComplex r = FromRect(std::log(z.Abs), z.Phase);
    if (base != std::exp(1.0)) {
        r.Abs /= std::log(base);
        UpdateRect(r);
    }
    return r;
}

TComplex ComplexLn(const TComplex& z) {
    return ComplexLog(z, std::exp(1.0));
}

TComplex ComplexExp(const TComplex& z) {
    return FromPolar(std::exp(z.Re), z.Im);
}

TComplex ComplexPower(const TComplex& z, const TComplex& w) {
    return ComplexExp(ComplexMul(w, ComplexLn(z)));
}

TComplex ComplexSin(const TComplex& z) {
    return FromRect(std::sin(z.Re) * std::cosh(z.Im), std::cos(z.Re) * std::sinh(z.Im));
}

TComplex ComplexCos(const TComplex& z) {
    return FromRect(std::cos(z.Re) * std::cosh(z.Im), -std::sin(z.Re) * std::sinh(z.Im));
}

void ConjugateInPlace(TComplex& z) {
    z.Phase = -z.Phase;
    UpdateRect(z);
}

TComplex Conjugate(const TComplex& z) {
    TComplex r = z;
    ConjugateInPlace(r);
    return r;
}

void ReciprocalInPlace(TComplex& z) {
    z = ComplexDiv(ComplexOne, z);
}

void ReciprocalAll(TComplexNumberArray& a) {
    for (TComplex& z : a)
        ReciprocalInPlace(z);
}

TComplex ComplexSum(const TComplexNumberArray& a) {
    TComplex s = ComplexZero;
    for (const TComplex& z : a)
        s = ComplexAdd(s, z);
    return s;
}

}  // namespace zeigora
