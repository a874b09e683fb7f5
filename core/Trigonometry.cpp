// The sine and cosine of every program linked with the core (Trigonometry.h).
//
// The arithmetic is musl's, from FreeBSD's msun, kept operation for
// operation so that the page, which had musl's through emscripten, draws
// as before; only the raising of floating-point exceptions is left out.
// Its notice, which its licence asks to keep:
//
// Copyright (C) 1993 by Sun Microsystems, Inc. All rights reserved.
//
// Developed at SunPro, a Sun Microsystems, Inc. business.
// Permission to use, copy, modify, and distribute this
// software is freely granted, provided that this notice
// is preserved.
//
// Optimized by Bruce D. Evans.

#include "PiRemainder.h"
#include "Trigonometry.h"

#include <cstdint>
#include <cstring>

namespace sweepdraw {

namespace {

// std::bit_cast, which not every standard library the engine is built
// with has.
template <typename To, typename From>
To bitCast(From from)
{
    static_assert(sizeof(To) == sizeof(From));
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

std::uint32_t highWord(double x)
{
    return static_cast<std::uint32_t>(bitCast<std::uint64_t>(x) >> 32);
}

// Sine on [-pi/4, pi/4] of x + y, y the tail of x (0 when `hasTail` is
// false): x + S1*x^3 + ... + S6*x^13, within 2^-58 of sin(x)/x.
double kernelSin(double x, double y, bool hasTail)
{
    constexpr double S1 = -1.66666666666666324348e-01;
    constexpr double S2 = 8.33333333332248946124e-03;
    constexpr double S3 = -1.98412698298579493134e-04;
    constexpr double S4 = 2.75573137070700676789e-06;
    constexpr double S5 = -2.50507602534068634195e-08;
    constexpr double S6 = 1.58969099521155010221e-10;
    const double z = x * x;
    const double w = z * z;
    const double r = S2 + z * (S3 + z * S4) + z * w * (S5 + z * S6);
    const double v = z * x;
    if (!hasTail)
        return x + v * (S1 + z * r);
    return x - ((z * (0.5 * y - v * r) - y) - v * S1);
}

// Cosine on [-pi/4, pi/4] of x + y: 1 - x^2/2 + C1*x^4 + ... + C6*x^14,
// with 1 - x^2/2 split so that no bit of it is lost.
double kernelCos(double x, double y)
{
    constexpr double C1 = 4.16666666666666019037e-02;
    constexpr double C2 = -1.38888888888741095749e-03;
    constexpr double C3 = 2.48015872894767294178e-05;
    constexpr double C4 = -2.75573143513906633035e-07;
    constexpr double C5 = 2.08757232129817482790e-09;
    constexpr double C6 = -1.13596475577881948265e-11;
    const double z = x * x;
    double w = z * z;
    const double r = z * (C1 + z * (C2 + z * C3)) + w * w * (C4 + z * (C5 + z * C6));
    const double hz = 0.5 * z;
    w = 1.0 - hz;
    return w + (((1.0 - w) - hz) + (z * r - x * y));
}

// x - n*pi/2 in y[0] + y[1], |y| <= pi/4, and n; x beyond pi/4 and finite
// or not. pi/2 is taken in parts of 33 bits, as many as cancellation
// needs; beyond 2^20*pi/2, from 2/pi's bits.
int remainderPiOver2(double x, double *y)
{
    constexpr double toint = 1.5 / 0x1p-52;
    constexpr double pio4 = 0x1.921fb54442d18p-1;
    constexpr double invpio2 = 6.36619772367581382433e-01;
    constexpr double pio2_1 = 1.57079632673412561417e+00;
    constexpr double pio2_1t = 6.07710050650619224932e-11;
    constexpr double pio2_2 = 6.07710050630396597660e-11;
    constexpr double pio2_2t = 2.02226624879595063154e-21;
    constexpr double pio2_3 = 2.02226624871116645580e-21;
    constexpr double pio2_3t = 8.47842766036889956997e-32;

    const bool negative = bitCast<std::uint64_t>(x) >> 63;
    const std::uint32_t ix = highWord(x) & 0x7fffffff;
    // Near 1 to 4 times pi/2, one subtraction of k*pi/2, unless x is so
    // near k*pi/2 that it cancels.
    const auto nearMultiple = [&](int k) {
        const double z = negative ? x + k * pio2_1 : x - k * pio2_1;
        y[0] = negative ? z + k * pio2_1t : z - k * pio2_1t;
        y[1] = negative ? (z - y[0]) + k * pio2_1t : (z - y[0]) - k * pio2_1t;
        return negative ? -k : k;
    };
    if (ix <= 0x400f6a7a) { // |x| ~<= 5pi/4
        if ((ix & 0xfffff) != 0x921fb) // not ~= pi/2 or 2pi/2
            return nearMultiple(ix <= 0x4002d97c ? 1 : 2);
    } else if (ix <= 0x401c463b) { // |x| ~<= 9pi/4
        if (ix <= 0x4015fdbc) {    // |x| ~<= 7pi/4
            if (ix != 0x4012d97c)  // ~= 3pi/2
                return nearMultiple(3);
        } else if (ix != 0x401921fb) { // ~= 4pi/2
            return nearMultiple(4);
        }
    }
    if (ix < 0x413921fb) { // |x| ~< 2^20*(pi/2)
        double fn = x * invpio2 + toint - toint;
        int n = static_cast<std::int32_t>(fn);
        double r = x - fn * pio2_1;
        double w = fn * pio2_1t; // good to 85 bits
        if (r - w < -pio4) {     // only with directed rounding
            --n;
            --fn;
            r = x - fn * pio2_1;
            w = fn * pio2_1t;
        } else if (r - w > pio4) {
            ++n;
            ++fn;
            r = x - fn * pio2_1;
            w = fn * pio2_1t;
        }
        y[0] = r - w;
        const int ex = static_cast<int>(ix >> 20);
        if (ex - static_cast<int>(highWord(y[0]) >> 20 & 0x7ff) > 16) { // to 118 bits
            double t = r;
            w = fn * pio2_2;
            r = t - w;
            w = fn * pio2_2t - ((t - r) - w);
            y[0] = r - w;
            if (ex - static_cast<int>(highWord(y[0]) >> 20 & 0x7ff) > 49) { // to 151 bits: every case
                t = r;
                w = fn * pio2_3;
                r = t - w;
                w = fn * pio2_3t - ((t - r) - w);
                y[0] = r - w;
            }
        }
        y[1] = (r - y[0]) - w;
        return n;
    }
    if (ix >= 0x7ff00000) { // infinite or NaN
        y[0] = y[1] = x - x;
        return 0;
    }
    // |x| scaled to [2^23, 2^24), cut into three pieces of 24 bits.
    double z = bitCast<double>((bitCast<std::uint64_t>(x) & (~std::uint64_t{0} >> 12))
                                     | std::uint64_t{0x3ff + 23} << 52);
    double tx[3];
    int i = 0;
    for (; i < 2; ++i) {
        tx[i] = static_cast<double>(static_cast<std::int32_t>(z));
        z = (z - tx[i]) * 0x1p24;
    }
    tx[i] = z;
    while (tx[i] == 0.0)
        --i;
    double ty[2];
    const int n = remainderPiOver2Large(tx, ty, static_cast<int>(ix >> 20) - (0x3ff + 23), i + 1, 1);
    y[0] = negative ? -ty[0] : ty[0];
    y[1] = negative ? -ty[1] : ty[1];
    return negative ? -n : n;
}

#ifdef __EMSCRIPTEN__
// remainderPiOver2 of the last argument it reduced, kept: a sine and a
// cosine of one angle, called apart, reduce it once, as sincos does. Clang
// makes no sincos of them for WebAssembly, where each point of a scene
// drawn by its function would otherwise reduce its angle twice. Exactly
// what remainderPiOver2 gives, from the argument's bits; +0, the bits it
// starts with, is never reduced.
struct Reduction
{
    std::uint64_t bits = 0;
    double y[2] = {};
    int n = 0;
};

thread_local constinit Reduction t_lastReduction;

int remainderPiOver2Kept(double x, double *y)
{
    Reduction &last = t_lastReduction;
    const std::uint64_t bits = bitCast<std::uint64_t>(x);
    if (bits != last.bits) {
        last.n = remainderPiOver2(x, last.y);
        last.bits = bits;
    }
    y[0] = last.y[0];
    y[1] = last.y[1];
    return last.n;
}
#else
// g++ makes one call of sincos of a sine and a cosine of one angle: a
// reduction kept would only cost a lone sine, as the mountains' is.
int remainderPiOver2Kept(double x, double *y)
{
    return remainderPiOver2(x, y);
}
#endif

// Sine and cosine on [-pi/4, pi/4] in double, for floats: within 2^-37.5
// and 2^-34.1, more than a float needs.
float kernelSinF(double x)
{
    constexpr double S1 = -0x15555554cbac77.0p-55;
    constexpr double S2 = 0x111110896efbb2.0p-59;
    constexpr double S3 = -0x1a00f9e2cae774.0p-65;
    constexpr double S4 = 0x16cd878c3b46a7.0p-71;
    const double z = x * x;
    const double w = z * z;
    const double r = S3 + z * S4;
    const double s = z * x;
    return static_cast<float>((x + s * (S1 + z * S2)) + s * w * r);
}

float kernelCosF(double x)
{
    constexpr double C0 = -0x1ffffffd0c5e81.0p-54;
    constexpr double C1 = 0x155553e1053a42.0p-57;
    constexpr double C2 = -0x16c087e80f1e27.0p-62;
    constexpr double C3 = 0x199342e0ee5069.0p-68;
    const double z = x * x;
    const double w = z * z;
    const double r = C2 + z * C3;
    return static_cast<float>(((1.0 + z * C0) + w * C1) + (w * z) * r);
}

// x - n*pi/2 in *y, and n, for a float x: pi/2 in 25 + 53 bits is enough
// below 2^28*pi/2; beyond, from 2/pi's bits.
int remainderPiOver2F(float x, double *y)
{
    constexpr double toint = 1.5 / 0x1p-52;
    constexpr double pio4 = 0x1.921fb6p-1;
    constexpr double invpio2 = 6.36619772367581382433e-01;
    constexpr double pio2_1 = 1.57079631090164184570e+00;
    constexpr double pio2_1t = 1.58932547735281966916e-08;
    const std::uint32_t bits = bitCast<std::uint32_t>(x);
    const std::uint32_t ix = bits & 0x7fffffff;
    if (ix < 0x4dc90fdb) { // |x| ~< 2^28*(pi/2)
        double fn = static_cast<double>(x) * invpio2 + toint - toint;
        int n = static_cast<std::int32_t>(fn);
        *y = x - fn * pio2_1 - fn * pio2_1t;
        if (*y < -pio4) { // only with directed rounding
            --n;
            --fn;
            *y = x - fn * pio2_1 - fn * pio2_1t;
        } else if (*y > pio4) {
            ++n;
            ++fn;
            *y = x - fn * pio2_1 - fn * pio2_1t;
        }
        return n;
    }
    if (ix >= 0x7f800000) { // infinite or NaN
        *y = x - x;
        return 0;
    }
    // |x| scaled to [2^23, 2^24).
    const int e0 = static_cast<int>(ix >> 23) - (0x7f + 23);
    double tx[1] = {bitCast<float>(ix - (static_cast<std::uint32_t>(e0) << 23))};
    double ty[1];
    const int n = remainderPiOver2Large(tx, ty, e0, 1, 0);
    *y = bits >> 31 ? -ty[0] : ty[0];
    return bits >> 31 ? -n : n;
}

// Multiples of pi/2, rounded to double.
constexpr double k1PiOver2 = 0x1.921fb54442d18p+0;
constexpr double k2PiOver2 = 2 * k1PiOver2;
constexpr double k3PiOver2 = 3 * k1PiOver2;
constexpr double k4PiOver2 = 4 * k1PiOver2;

} // namespace

} // namespace sweepdraw

using namespace sweepdraw;

extern "C" {

double sin(double x) noexcept
{
    const std::uint32_t ix = highWord(x) & 0x7fffffff;
    if (ix <= 0x3fe921fb) // |x| ~<= pi/4
        return ix < 0x3e500000 ? x : kernelSin(x, 0.0, false);
    if (ix >= 0x7ff00000) // infinite or NaN
        return x - x;
    double y[2];
    switch (static_cast<unsigned>(remainderPiOver2Kept(x, y)) & 3) {
    case 0: return kernelSin(y[0], y[1], true);
    case 1: return kernelCos(y[0], y[1]);
    case 2: return -kernelSin(y[0], y[1], true);
    default: return -kernelCos(y[0], y[1]);
    }
}

double cos(double x) noexcept
{
    const std::uint32_t ix = highWord(x) & 0x7fffffff;
    if (ix <= 0x3fe921fb) // |x| ~<= pi/4
        return ix < 0x3e46a09e ? 1.0 : kernelCos(x, 0.0);
    if (ix >= 0x7ff00000)
        return x - x;
    double y[2];
    switch (static_cast<unsigned>(remainderPiOver2Kept(x, y)) & 3) {
    case 0: return kernelCos(y[0], y[1]);
    case 1: return -kernelSin(y[0], y[1], true);
    case 2: return -kernelCos(y[0], y[1]);
    default: return kernelSin(y[0], y[1], true);
    }
}

// Exactly sin(x) and cos(x): g++ makes one call of it of the two.
void sincos(double x, double *sine, double *cosine) noexcept
{
    const std::uint32_t ix = highWord(x) & 0x7fffffff;
    if (ix <= 0x3fe921fb) {
        if (ix < 0x3e46a09e) {
            *sine = x;
            *cosine = 1.0;
        } else {
            *sine = kernelSin(x, 0.0, false);
            *cosine = kernelCos(x, 0.0);
        }
        return;
    }
    if (ix >= 0x7ff00000) {
        *sine = *cosine = x - x;
        return;
    }
    double y[2];
    const unsigned n = static_cast<unsigned>(remainderPiOver2(x, y));
    const double s = kernelSin(y[0], y[1], true);
    const double c = kernelCos(y[0], y[1]);
    switch (n & 3) {
    case 0: *sine = s, *cosine = c; break;
    case 1: *sine = c, *cosine = -s; break;
    case 2: *sine = -s, *cosine = -c; break;
    default: *sine = -c, *cosine = s; break;
    }
}

float sinf(float x) noexcept
{
    const std::uint32_t bits = bitCast<std::uint32_t>(x);
    const bool negative = bits >> 31;
    const std::uint32_t ix = bits & 0x7fffffff;
    if (ix <= 0x3f490fda) // |x| ~<= pi/4
        return ix < 0x39800000 ? x : kernelSinF(x);
    if (ix <= 0x407b53d1) {     // |x| ~<= 5pi/4
        if (ix <= 0x4016cbe3) // |x| ~<= 3pi/4
            return negative ? -kernelCosF(x + k1PiOver2) : kernelCosF(x - k1PiOver2);
        return kernelSinF(negative ? -(x + k2PiOver2) : -(x - k2PiOver2));
    }
    if (ix <= 0x40e231d5) {     // |x| ~<= 9pi/4
        if (ix <= 0x40afeddf) // |x| ~<= 7pi/4
            return negative ? kernelCosF(x + k3PiOver2) : -kernelCosF(x - k3PiOver2);
        return kernelSinF(negative ? x + k4PiOver2 : x - k4PiOver2);
    }
    if (ix >= 0x7f800000)
        return x - x;
    double y;
    switch (static_cast<unsigned>(remainderPiOver2F(x, &y)) & 3) {
    case 0: return kernelSinF(y);
    case 1: return kernelCosF(y);
    case 2: return kernelSinF(-y);
    default: return -kernelCosF(y);
    }
}

float cosf(float x) noexcept
{
    const std::uint32_t bits = bitCast<std::uint32_t>(x);
    const bool negative = bits >> 31;
    const std::uint32_t ix = bits & 0x7fffffff;
    if (ix <= 0x3f490fda)
        return ix < 0x39800000 ? 1.0f : kernelCosF(x);
    if (ix <= 0x407b53d1) {
        if (ix > 0x4016cbe3)
            return -kernelCosF(negative ? x + k2PiOver2 : x - k2PiOver2);
        return negative ? kernelSinF(x + k1PiOver2) : kernelSinF(k1PiOver2 - x);
    }
    if (ix <= 0x40e231d5) {
        if (ix > 0x40afeddf)
            return kernelCosF(negative ? x + k4PiOver2 : x - k4PiOver2);
        return negative ? kernelSinF(-x - k3PiOver2) : kernelSinF(x - k3PiOver2);
    }
    if (ix >= 0x7f800000)
        return x - x;
    double y;
    switch (static_cast<unsigned>(remainderPiOver2F(x, &y)) & 3) {
    case 0: return kernelCosF(y);
    case 1: return kernelSinF(-y);
    case 2: return -kernelCosF(y);
    default: return kernelSinF(y);
    }
}

void sincosf(float x, float *sine, float *cosine) noexcept
{
    const std::uint32_t bits = bitCast<std::uint32_t>(x);
    const bool negative = bits >> 31;
    const std::uint32_t ix = bits & 0x7fffffff;
    if (ix <= 0x3f490fda) {
        if (ix < 0x39800000) {
            *sine = x;
            *cosine = 1.0f;
        } else {
            *sine = kernelSinF(x);
            *cosine = kernelCosF(x);
        }
        return;
    }
    if (ix <= 0x407b53d1) {
        if (ix <= 0x4016cbe3) {
            if (negative) {
                *sine = -kernelCosF(x + k1PiOver2);
                *cosine = kernelSinF(x + k1PiOver2);
            } else {
                *sine = kernelCosF(k1PiOver2 - x);
                *cosine = kernelSinF(k1PiOver2 - x);
            }
            return;
        }
        // -sin(x + c) is not sin(-(x + c)) where x + c is 0: -0 against +0.
        *sine = -kernelSinF(negative ? x + k2PiOver2 : x - k2PiOver2);
        *cosine = -kernelCosF(negative ? x + k2PiOver2 : x - k2PiOver2);
        return;
    }
    if (ix <= 0x40e231d5) {
        if (ix <= 0x40afeddf) {
            if (negative) {
                *sine = kernelCosF(x + k3PiOver2);
                *cosine = -kernelSinF(x + k3PiOver2);
            } else {
                *sine = -kernelCosF(x - k3PiOver2);
                *cosine = kernelSinF(x - k3PiOver2);
            }
            return;
        }
        *sine = kernelSinF(negative ? x + k4PiOver2 : x - k4PiOver2);
        *cosine = kernelCosF(negative ? x + k4PiOver2 : x - k4PiOver2);
        return;
    }
    if (ix >= 0x7f800000) {
        *sine = *cosine = x - x;
        return;
    }
    double y;
    const unsigned n = static_cast<unsigned>(remainderPiOver2F(x, &y));
    const float s = kernelSinF(y);
    const float c = kernelCosF(y);
    switch (n & 3) {
    case 0: *sine = s, *cosine = c; break;
    case 1: *sine = c, *cosine = -s; break;
    case 2: *sine = -s, *cosine = -c; break;
    default: *sine = -c, *cosine = s; break;
    }
}

} // extern "C"
