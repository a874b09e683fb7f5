// The remainder of a large argument by pi/2 (PiRemainder.h), from 2/pi's
// bits taken 24 at a time, as many as the argument's exponent needs.
//
// The arithmetic is musl's, from FreeBSD's msun, kept operation for
// operation (Trigonometry.cpp says why), for doubles and floats alone. Its
// notice, which its licence asks to keep:
//
// Copyright (C) 1993 by Sun Microsystems, Inc. All rights reserved.
//
// Developed at SunSoft, a Sun Microsystems, Inc. business.
// Permission to use, copy, modify, and distribute this
// software is freely granted, provided that this notice
// is preserved.

#include "PiRemainder.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace sweepdraw {

namespace {

// Terms of q to start with, by precision.
constexpr std::array<int, 2> kInitialTerms = {3, 4};

// 2/pi, 24 bits a number: ipio2[i] * 2^(-24(i+1)). A double's exponent
// needs (e0 - 3)/24 + 4 of them and a few for a recomputation.
constexpr std::int32_t ipio2[] = {
    0xA2F983, 0x6E4E44, 0x1529FC, 0x2757D1, 0xF534DD, 0xC0DB62,
    0x95993C, 0x439041, 0xFE5163, 0xABDEBB, 0xC561B7, 0x246E3A,
    0x424DD2, 0xE00649, 0x2EEA09, 0xD1921C, 0xFE1DEB, 0x1CB129,
    0xA73EE8, 0x8235F5, 0x2EBB44, 0x84E99C, 0x7026B4, 0x5F7E41,
    0x3991D6, 0x398353, 0x39F49C, 0x845F8B, 0xBDF928, 0x3B1FF8,
    0x97FFDE, 0x05980F, 0xEF2F11, 0x8B5A0A, 0x6D1F6D, 0x367ECF,
    0x27CB09, 0xB74F46, 0x3F669E, 0x5FEA2D, 0x7527BA, 0xC7EBE5,
    0xF17B3D, 0x0739F7, 0x8A5292, 0xEA6BFB, 0x5FB11F, 0x8D5D08,
    0x560330, 0x46FC7B, 0x6BABF0, 0xCFBC20, 0x9AF436, 0x1DA9E3,
    0x91615E, 0xE61B08, 0x659985, 0x5F14A0, 0x68408D, 0xFFD880,
    0x4D7327, 0x310606, 0x1556CA, 0x73A8C9, 0x60E27B, 0xC08C6B,
};

// pi/2 in pieces of 24 bits.
constexpr double PIo2[] = {
    1.57079625129699707031e+00, 7.54978941586159635335e-08, 5.39030252995776476554e-15,
    3.28200341580791294123e-22, 1.27065575308067607349e-29, 1.22933308981111328932e-36,
    2.73370053816464559624e-44, 2.16741683877804819444e-51,
};

} // namespace

int remainderPiOver2Large(const double *x, double *y, int e0, int nx, int prec)
{
    std::int32_t iq[20];
    double f[20], fq[20], q[20];

    const int jk = kInitialTerms[static_cast<std::size_t>(prec)];
    const int jp = jk;

    // jx, jv and q0, with q0 < 3.
    const int jx = nx - 1;
    int jv = (e0 - 3) / 24;
    if (jv < 0)
        jv = 0;
    int q0 = e0 - 24 * (jv + 1);

    // f[0] to f[jx+jk], f[jx+jk] being ipio2[jv+jk].
    for (int i = 0, j = jv - jx; i <= jx + jk; ++i, ++j)
        f[i] = j < 0 ? 0.0 : static_cast<double>(ipio2[j]);

    for (int i = 0; i <= jk; ++i) {
        double fw = 0.0;
        for (int j = 0; j <= jx; ++j)
            fw += x[j] * f[jx + i - j];
        q[i] = fw;
    }

    int jz = jk;
    int n = 0;
    int ih = 0;
    double z = 0.0;
    for (;;) {
        // q distilled into iq, reversed.
        z = q[jz];
        for (int i = 0, j = jz; j > 0; ++i, --j) {
            const double fw = static_cast<double>(static_cast<std::int32_t>(0x1p-24 * z));
            iq[i] = static_cast<std::int32_t>(z - 0x1p24 * fw);
            z = q[j - 1] + fw;
        }

        // n, the integer part modulo 8.
        z = std::scalbn(z, q0);
        z -= 8.0 * std::floor(z * 0.125);
        n = static_cast<std::int32_t>(z);
        z -= static_cast<double>(n);
        ih = 0;
        if (q0 > 0) { // iq[jz-1] decides n
            const std::int32_t i = iq[jz - 1] >> (24 - q0);
            n += i;
            iq[jz - 1] -= i << (24 - q0);
            ih = iq[jz - 1] >> (23 - q0);
        } else if (q0 == 0) {
            ih = iq[jz - 1] >> 23;
        } else if (z >= 0.5) {
            ih = 2;
        }

        if (ih > 0) { // the fraction is over 1/2: take 1 - q
            n += 1;
            int carry = 0;
            for (int i = 0; i < jz; ++i) {
                const std::int32_t j = iq[i];
                if (carry == 0) {
                    if (j != 0) {
                        carry = 1;
                        iq[i] = 0x1000000 - j;
                    }
                } else {
                    iq[i] = 0xffffff - j;
                }
            }
            if (q0 == 1)
                iq[jz - 1] &= 0x7fffff;
            else if (q0 == 2)
                iq[jz - 1] &= 0x3fffff;
            if (ih == 2) {
                z = 1.0 - z;
                if (carry != 0)
                    z -= std::scalbn(1.0, q0);
            }
        }

        // Too few bits left when all of them cancelled: more terms.
        if (z != 0.0)
            break;
        std::int32_t any = 0;
        for (int i = jz - 1; i >= jk; --i)
            any |= iq[i];
        if (any != 0)
            break;
        int k = 1;
        while (iq[jk - k] == 0)
            ++k;
        for (int i = jz + 1; i <= jz + k; ++i) {
            f[jx + i] = static_cast<double>(ipio2[jv + i]);
            double fw = 0.0;
            for (int j = 0; j <= jx; ++j)
                fw += x[j] * f[jx + i - j];
            q[i] = fw;
        }
        jz += k;
    }

    // The zero terms cut off, or z cut into 24 bits.
    if (z == 0.0) {
        jz -= 1;
        q0 -= 24;
        while (iq[jz] == 0) {
            --jz;
            q0 -= 24;
        }
    } else {
        z = std::scalbn(z, -q0);
        if (z >= 0x1p24) {
            const double fw = static_cast<double>(static_cast<std::int32_t>(0x1p-24 * z));
            iq[jz] = static_cast<std::int32_t>(z - 0x1p24 * fw);
            jz += 1;
            q0 += 24;
            iq[jz] = static_cast<std::int32_t>(fw);
        } else {
            iq[jz] = static_cast<std::int32_t>(z);
        }
    }

    // The chunks of bits as doubles.
    double fw = std::scalbn(1.0, q0);
    for (int i = jz; i >= 0; --i) {
        q[i] = fw * static_cast<double>(iq[i]);
        fw *= 0x1p-24;
    }

    // PIo2[0..jp] times q[jz..0].
    for (int i = jz; i >= 0; --i) {
        fw = 0.0;
        for (int k = 0; k <= jp && k <= jz - i; ++k)
            fw += PIo2[k] * q[i + k];
        fq[jz - i] = fw;
    }

    // fq compressed into y.
    fw = 0.0;
    for (int i = jz; i >= 0; --i)
        fw += fq[i];
    y[0] = ih == 0 ? fw : -fw;
    if (prec == 1) {
        fw = fq[0] - fw;
        for (int i = 1; i <= jz; ++i)
            fw += fq[i];
        y[1] = ih == 0 ? fw : -fw;
    }
    return n & 7;
}

} // namespace sweepdraw
