#pragma once

// The sine and cosine: one implementation for every build.
//
// The core defines the C library's sin, cos, sincos, sinf, cosf and sincosf
// itself (Trigonometry.cpp), so that every program linked with it takes
// these, ahead of the C library's, wherever it calls them: the scenes
// through std::sin and std::cos as g++ compiles them, the routine language
// for a learner's routine, and the page, compiled by emscripten, alike. The
// C libraries differ here: glibc's and musl's sine differ in the last bit
// for about 3 % of arguments, which a learner's routine could show as a
// pixel. The arithmetic is musl's, whose results the page had from the
// start and with which the scenes draw their pinned pictures.
//
// They return what the C functions return, NaN for an infinite argument
// included, without raising floating-point exceptions or setting errno;
// sincos gives exactly what sin and cos give, as g++ makes one call of it
// of a sine and a cosine of the same argument. A sine or cosine of a
// constant that g++ works out while compiling is correctly rounded, and
// can differ in the last bit from these.
