#include "MathFolding.h"

#include <cmath>
#include <string_view>

#if SWEEPDRAW_HAVE_MPFR
#include <mpfr.h>
#endif

namespace sweepdraw {

#if SWEEPDRAW_HAVE_MPFR

namespace {

using Unary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
using Binary = int (*)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);

// GCC's folding of each function (fold-const-call.cc), with the arguments
// it declines: the result there would be a NaN, never folded.
struct Folding
{
    std::string_view name;
    Unary unary;
    Binary binary;
    bool (*domain)(double);
};

bool anywhere(double)
{
    return true;
}

const Folding kFoldings[] = {
    {"sin", mpfr_sin, nullptr, anywhere},
    {"cos", mpfr_cos, nullptr, anywhere},
    {"tan", mpfr_tan, nullptr, anywhere},
    {"asin", mpfr_asin, nullptr, [](double x) { return x >= -1 && x <= 1; }},
    {"acos", mpfr_acos, nullptr, [](double x) { return x >= -1 && x <= 1; }},
    {"atan", mpfr_atan, nullptr, anywhere},
    {"sinh", mpfr_sinh, nullptr, anywhere},
    {"cosh", mpfr_cosh, nullptr, anywhere},
    {"tanh", mpfr_tanh, nullptr, anywhere},
    {"exp", mpfr_exp, nullptr, anywhere},
    {"log", mpfr_log, nullptr, [](double x) { return x > 0; }},
    {"log10", mpfr_log10, nullptr, [](double x) { return x > 0; }},
    {"log2", mpfr_log2, nullptr, [](double x) { return x > 0; }},
    {"sqrt", mpfr_sqrt, nullptr, [](double x) { return x >= 0; }},
    {"atan2", nullptr, mpfr_atan2, anywhere},
    {"pow", nullptr, mpfr_pow, anywhere},
    {"fmod", nullptr, mpfr_fmod, anywhere},
    {"hypot", nullptr, mpfr_hypot, anywhere},
};

// An MPFR number of `precision` bits, cleared however its scope is left.
class Number
{
public:
    explicit Number(mpfr_prec_t precision) { mpfr_init2(m_value, precision); }
    ~Number() { mpfr_clear(m_value); }
    Number(const Number &) = delete;
    Number &operator=(const Number &) = delete;

    mpfr_ptr get() { return m_value; }

private:
    mpfr_t m_value;
};

} // namespace

std::optional<double> foldedByCompiler(const MathFunction &function, bool onFloat, double a, double b)
{
    const Folding *folding = nullptr;
    for (const Folding &candidate : kFoldings)
        if (candidate.name == function.name)
            folding = &candidate;
    const bool binary = function.arguments == 2;
    if (!folding || !std::isfinite(a) || (binary && !std::isfinite(b)) || !folding->domain(a))
        return std::nullopt;

    // The type's precision, rounding to nearest, in MPFR's own wide range of
    // exponents: a result beyond the type's range is then not the type's
    // exactly, and is left alone below, as GCC leaves it.
    const mpfr_prec_t precision = onFloat ? 24 : 53;
    Number result(precision), x(precision), y(precision);
    mpfr_set_d(x.get(), a, MPFR_RNDN);
    mpfr_set_d(y.get(), b, MPFR_RNDN);
    mpfr_clear_flags();
    if (binary)
        folding->binary(result.get(), x.get(), y.get(), MPFR_RNDN);
    else
        folding->unary(result.get(), x.get(), MPFR_RNDN);
    if (!mpfr_number_p(result.get()) || mpfr_overflow_p() || mpfr_underflow_p())
        return std::nullopt;
    const double value = onFloat ? static_cast<double>(mpfr_get_flt(result.get(), MPFR_RNDN))
                                 : mpfr_get_d(result.get(), MPFR_RNDN);
    if (!std::isfinite(value) || mpfr_cmp_d(result.get(), value) != 0)
        return std::nullopt;
    // A zero keeps its sign, which the comparison does not look at.
    return std::signbit(value) == (mpfr_signbit(result.get()) != 0) ? std::optional(value) : std::nullopt;
}

#else

std::optional<double> foldedByCompiler(const MathFunction &, bool, double, double)
{
    return std::nullopt;
}

#endif

} // namespace sweepdraw
