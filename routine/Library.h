#pragma once

#include "Syntax.h"

#include <cstdint>
#include <string_view>

namespace sweepdraw {

// What a routine may call and name beyond its own functions and values:
// the scenes' headers, what each declares, the <cmath> functions, the
// constants of <numbers> and the macros of glibc's <cmath>.

// What the scenes' headers declare, directly or through those they
// include, as GCC's own headers do.
enum Declares : unsigned {
    DeclaresSurfaceClass = 1, // the class, complete or not
    DeclaresSurface = 2,      // its operations
    DeclaresCheck = 4,
    DeclaresPalette = 8,
    DeclaresLoops = 16,
    DeclaresMath = 32,        // <cmath>, with glibc's ::sin and M_PI
    DeclaresMinMax = 64,      // std::min and std::max
    DeclaresNumbers = 128,    // std::numbers
};

// The header spelled `spelling` ("\"Sweep.h\"", "<cmath>"), or nullptr.
const unsigned *declaredBy(std::string_view spelling);

struct MathFunction
{
    std::string_view name;
    int arguments;
    float (*onFloat1)(float);
    double (*onDouble1)(double);
    float (*onFloat2)(float, float);
    double (*onDouble2)(double, double);
};

// The function of <cmath> called `name` (std::name, and ::name for a
// double), or nullptr; and its number, which an instruction names.
const MathFunction *findMath(std::string_view name);
std::uint32_t numberOf(const MathFunction &function);

// The functions by number, in a table the machine reads at every call.
extern const MathFunction *const kMathFunctions;

inline const MathFunction &mathFunction(std::uint32_t number)
{
    return kMathFunctions[number];
}

struct NamedConstant
{
    std::string_view name;
    Type type;
    double value;
};

// A macro of glibc's <cmath> that names a number (M_PI, NAN), or nullptr.
const NamedConstant *findMacroConstant(std::string_view name);
// A constant of std::numbers (pi, e), or nullptr.
const NamedConstant *findNumber(std::string_view name);

// Whether `name` is a macro of the scenes' headers, which the preprocessor
// would replace wherever it is written (kMacro), and whether it is a word
// of C++ or a name the drawing core gives, which a routine cannot give a
// value of its own (kReserved); 0 for neither.
enum : unsigned { kMacro = 1, kReserved = 2 };
unsigned macroOrReserved(std::string_view name);

} // namespace sweepdraw
