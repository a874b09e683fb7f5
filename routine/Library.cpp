#include "Library.h"

#include "NameTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace sweepdraw {

namespace {

struct Header
{
    std::string_view spelling;
    unsigned declares;
};

constexpr std::array<Header, 8> kHeaders = {{
    {"\"Scenes.h\"", DeclaresSurfaceClass},
    {"\"DrawingSurface.h\"", DeclaresSurfaceClass | DeclaresSurface | DeclaresMath | DeclaresMinMax | DeclaresNumbers},
    {"\"Palette.h\"", DeclaresPalette | DeclaresCheck | DeclaresMinMax | DeclaresNumbers},
    {"\"RuntimeError.h\"", DeclaresCheck | DeclaresMinMax | DeclaresNumbers},
    {"\"Sweep.h\"", DeclaresLoops | DeclaresCheck | DeclaresMath | DeclaresMinMax | DeclaresNumbers},
    {"<cmath>", DeclaresMath | DeclaresMinMax},
    {"<algorithm>", DeclaresMinMax | DeclaresNumbers},
    {"<numbers>", DeclaresNumbers},
}};

template <float (*F)(float), double (*D)(double)>
constexpr MathFunction unary(std::string_view name)
{
    return {name, 1, F, D, nullptr, nullptr};
}

template <float (*F)(float, float), double (*D)(double, double)>
constexpr MathFunction binary(std::string_view name)
{
    return {name, 2, nullptr, nullptr, F, D};
}

// std::abs of a double is fabs; of an int it is an instruction of its own.
const std::array kMath = {
    unary<::sinf, ::sin>("sin"),       unary<::cosf, ::cos>("cos"),       unary<::tanf, ::tan>("tan"),
    unary<::asinf, ::asin>("asin"),    unary<::acosf, ::acos>("acos"),    unary<::atanf, ::atan>("atan"),
    unary<::sinhf, ::sinh>("sinh"),    unary<::coshf, ::cosh>("cosh"),    unary<::tanhf, ::tanh>("tanh"),
    unary<::expf, ::exp>("exp"),       unary<::logf, ::log>("log"),       unary<::log10f, ::log10>("log10"),
    unary<::log2f, ::log2>("log2"),    unary<::sqrtf, ::sqrt>("sqrt"),    unary<::fabsf, ::fabs>("fabs"),
    unary<::fabsf, ::fabs>("abs"),     unary<::floorf, ::floor>("floor"), unary<::ceilf, ::ceil>("ceil"),
    unary<::roundf, ::round>("round"), unary<::truncf, ::trunc>("trunc"), binary<::atan2f, ::atan2>("atan2"),
    binary<::powf, ::pow>("pow"),      binary<::fmodf, ::fmod>("fmod"),   binary<::hypotf, ::hypot>("hypot"),
};

// Float, as glibc defines NAN and INFINITY.
const std::array<NamedConstant, 17> kMacroConstants = {{
    {"M_E", Type::Double, M_E},
    {"M_LOG2E", Type::Double, M_LOG2E},
    {"M_LOG10E", Type::Double, M_LOG10E},
    {"M_LN2", Type::Double, M_LN2},
    {"M_LN10", Type::Double, M_LN10},
    {"M_PI", Type::Double, M_PI},
    {"M_PI_2", Type::Double, M_PI_2},
    {"M_PI_4", Type::Double, M_PI_4},
    {"M_1_PI", Type::Double, M_1_PI},
    {"M_2_PI", Type::Double, M_2_PI},
    {"M_2_SQRTPI", Type::Double, M_2_SQRTPI},
    {"M_SQRT2", Type::Double, M_SQRT2},
    {"M_SQRT1_2", Type::Double, M_SQRT1_2},
    {"NAN", Type::Float, static_cast<double>(NAN)},
    {"INFINITY", Type::Float, static_cast<double>(INFINITY)},
    {"HUGE_VAL", Type::Double, HUGE_VAL},
    {"HUGE_VALF", Type::Float, static_cast<double>(HUGE_VALF)},
}};

const std::array<NamedConstant, 13> kNumbers = {{
    {"e", Type::Double, std::numbers::e},
    {"log2e", Type::Double, std::numbers::log2e},
    {"log10e", Type::Double, std::numbers::log10e},
    {"pi", Type::Double, std::numbers::pi},
    {"inv_pi", Type::Double, std::numbers::inv_pi},
    {"inv_sqrtpi", Type::Double, std::numbers::inv_sqrtpi},
    {"ln2", Type::Double, std::numbers::ln2},
    {"ln10", Type::Double, std::numbers::ln10},
    {"sqrt2", Type::Double, std::numbers::sqrt2},
    {"sqrt3", Type::Double, std::numbers::sqrt3},
    {"inv_sqrt3", Type::Double, std::numbers::inv_sqrt3},
    {"egamma", Type::Double, std::numbers::egamma},
    {"phi", Type::Double, std::numbers::phi},
}};

// The macros the scenes' headers define with GCC 12 and glibc, but for
// those beginning with '_': the output of `g++ -std=c++20 -dM -E` on a file
// including them all.
constexpr std::string_view kMacros =
    "AIO_PRIO_DELTA_MAX BC_BASE_MAX BC_DIM_MAX BC_SCALE_MAX BC_STRING_MAX BIG_ENDIAN BOOL_MAX BOOL_WIDTH BUFSIZ "
    "BYTE_ORDER CHARCLASS_NAME_MAX CHAR_BIT CHAR_MAX CHAR_MIN CHAR_WIDTH COLL_WEIGHTS_MAX DELAYTIMER_MAX E2BIG "
    "EACCES EADDRINUSE EADDRNOTAVAIL EADV EAFNOSUPPORT EAGAIN EALREADY EBADE EBADF EBADFD EBADMSG EBADR EBADRQC "
    "EBADSLT EBFONT EBUSY ECANCELED ECHILD ECHRNG ECOMM ECONNABORTED ECONNREFUSED ECONNRESET EDEADLK EDEADLOCK "
    "EDESTADDRREQ EDOM EDOTDOT EDQUOT EEXIST EFAULT EFBIG EHOSTDOWN EHOSTUNREACH EHWPOISON EIDRM EILSEQ "
    "EINPROGRESS EINTR EINVAL EIO EISCONN EISDIR EISNAM EKEYEXPIRED EKEYREJECTED EKEYREVOKED EL2HLT EL2NSYNC "
    "EL3HLT EL3RST ELIBACC ELIBBAD ELIBEXEC ELIBMAX ELIBSCN ELNRNG ELOOP EMEDIUMTYPE EMFILE EMLINK EMSGSIZE "
    "EMULTIHOP ENAMETOOLONG ENAVAIL ENETDOWN ENETRESET ENETUNREACH ENFILE ENOANO ENOBUFS ENOCSI ENODATA ENODEV "
    "ENOENT ENOEXEC ENOKEY ENOLCK ENOLINK ENOMEDIUM ENOMEM ENOMSG ENONET ENOPKG ENOPROTOOPT ENOSPC ENOSR ENOSTR "
    "ENOSYS ENOTBLK ENOTCONN ENOTDIR ENOTEMPTY ENOTNAM ENOTRECOVERABLE ENOTSOCK ENOTSUP ENOTTY ENOTUNIQ ENXIO EOF "
    "EOPNOTSUPP EOVERFLOW EOWNERDEAD EPERM EPFNOSUPPORT EPIPE EPROTO EPROTONOSUPPORT EPROTOTYPE ERANGE EREMCHG "
    "EREMOTE EREMOTEIO ERESTART ERFKILL EROFS ESHUTDOWN ESOCKTNOSUPPORT ESPIPE ESRCH ESRMNT ESTALE ESTRPIPE ETIME "
    "ETIMEDOUT ETOOMANYREFS ETXTBSY EUCLEAN EUNATCH EUSERS EWOULDBLOCK EXDEV EXFULL EXIT_FAILURE EXIT_SUCCESS "
    "EXPR_NEST_MAX FD_CLR FD_ISSET FD_SET FD_SETSIZE FD_ZERO FILENAME_MAX FOPEN_MAX FP_ILOGB0 FP_ILOGBNAN "
    "FP_INFINITE FP_INT_DOWNWARD FP_INT_TONEAREST FP_INT_TONEARESTFROMZERO FP_INT_TOWARDZERO FP_INT_UPWARD "
    "FP_LLOGB0 FP_LLOGBNAN FP_NAN FP_NORMAL FP_SUBNORMAL FP_ZERO HOST_NAME_MAX HUGE_VAL HUGE_VALF HUGE_VALL "
    "HUGE_VAL_F128 HUGE_VAL_F32 HUGE_VAL_F32X HUGE_VAL_F64 HUGE_VAL_F64X INFINITY INT16_C INT16_MAX INT16_MIN "
    "INT16_WIDTH INT32_C INT32_MAX INT32_MIN INT32_WIDTH INT64_C INT64_MAX INT64_MIN INT64_WIDTH INT8_C INT8_MAX "
    "INT8_MIN INT8_WIDTH INTMAX_C INTMAX_MAX INTMAX_MIN INTMAX_WIDTH INTPTR_MAX INTPTR_MIN INTPTR_WIDTH "
    "INT_FAST16_MAX INT_FAST16_MIN INT_FAST16_WIDTH INT_FAST32_MAX INT_FAST32_MIN INT_FAST32_WIDTH INT_FAST64_MAX "
    "INT_FAST64_MIN INT_FAST64_WIDTH INT_FAST8_MAX INT_FAST8_MIN INT_FAST8_WIDTH INT_LEAST16_MAX INT_LEAST16_MIN "
    "INT_LEAST16_WIDTH INT_LEAST32_MAX INT_LEAST32_MIN INT_LEAST32_WIDTH INT_LEAST64_MAX INT_LEAST64_MIN "
    "INT_LEAST64_WIDTH INT_LEAST8_MAX INT_LEAST8_MIN INT_LEAST8_WIDTH INT_MAX INT_MIN INT_WIDTH IOV_MAX LC_ADDRESS "
    "LC_ADDRESS_MASK LC_ALL LC_ALL_MASK LC_COLLATE LC_COLLATE_MASK LC_CTYPE LC_CTYPE_MASK LC_GLOBAL_LOCALE "
    "LC_IDENTIFICATION LC_IDENTIFICATION_MASK LC_MEASUREMENT LC_MEASUREMENT_MASK LC_MESSAGES LC_MESSAGES_MASK "
    "LC_MONETARY LC_MONETARY_MASK LC_NAME LC_NAME_MASK LC_NUMERIC LC_NUMERIC_MASK LC_PAPER LC_PAPER_MASK "
    "LC_TELEPHONE LC_TELEPHONE_MASK LC_TIME LC_TIME_MASK LINE_MAX LITTLE_ENDIAN LLONG_MAX LLONG_MIN LLONG_WIDTH "
    "LOGIN_NAME_MAX LONG_BIT LONG_LONG_MAX LONG_LONG_MIN LONG_MAX LONG_MIN LONG_WIDTH L_ctermid L_cuserid L_tmpnam "
    "MATH_ERREXCEPT MATH_ERRNO MAXFLOAT MAX_CANON MAX_INPUT MB_CUR_MAX MB_LEN_MAX MQ_PRIO_MAX M_1_PI M_1_PIf "
    "M_1_PIf128 M_1_PIf32 M_1_PIf32x M_1_PIf64 M_1_PIf64x M_1_PIl M_2_PI M_2_PIf M_2_PIf128 M_2_PIf32 M_2_PIf32x "
    "M_2_PIf64 M_2_PIf64x M_2_PIl M_2_SQRTPI M_2_SQRTPIf M_2_SQRTPIf128 M_2_SQRTPIf32 M_2_SQRTPIf32x M_2_SQRTPIf64 "
    "M_2_SQRTPIf64x M_2_SQRTPIl M_E M_Ef M_Ef128 M_Ef32 M_Ef32x M_Ef64 M_Ef64x M_El M_LN10 M_LN10f M_LN10f128 "
    "M_LN10f32 M_LN10f32x M_LN10f64 M_LN10f64x M_LN10l M_LN2 M_LN2f M_LN2f128 M_LN2f32 M_LN2f32x M_LN2f64 "
    "M_LN2f64x M_LN2l M_LOG10E M_LOG10Ef M_LOG10Ef128 M_LOG10Ef32 M_LOG10Ef32x M_LOG10Ef64 M_LOG10Ef64x M_LOG10El "
    "M_LOG2E M_LOG2Ef M_LOG2Ef128 M_LOG2Ef32 M_LOG2Ef32x M_LOG2Ef64 M_LOG2Ef64x M_LOG2El M_PI M_PI_2 M_PI_2f "
    "M_PI_2f128 M_PI_2f32 M_PI_2f32x M_PI_2f64 M_PI_2f64x M_PI_2l M_PI_4 M_PI_4f M_PI_4f128 M_PI_4f32 M_PI_4f32x "
    "M_PI_4f64 M_PI_4f64x M_PI_4l M_PIf M_PIf128 M_PIf32 M_PIf32x M_PIf64 M_PIf64x M_PIl M_SQRT1_2 M_SQRT1_2f "
    "M_SQRT1_2f128 M_SQRT1_2f32 M_SQRT1_2f32x M_SQRT1_2f64 M_SQRT1_2f64x M_SQRT1_2l M_SQRT2 M_SQRT2f M_SQRT2f128 "
    "M_SQRT2f32 M_SQRT2f32x M_SQRT2f64 M_SQRT2f64x M_SQRT2l NAME_MAX NAN NFDBITS NGROUPS_MAX NL_ARGMAX NL_LANGMAX "
    "NL_MSGMAX NL_NMAX NL_SETMAX NL_TEXTMAX NULL NZERO PATH_MAX PDP_ENDIAN PIPE_BUF PTHREAD_DESTRUCTOR_ITERATIONS "
    "PTHREAD_KEYS_MAX PTHREAD_STACK_MIN PTRDIFF_MAX PTRDIFF_MIN PTRDIFF_WIDTH P_tmpdir RAND_MAX RENAME_EXCHANGE "
    "RENAME_NOREPLACE RENAME_WHITEOUT RE_DUP_MAX RTSIG_MAX SCHAR_MAX SCHAR_MIN SCHAR_WIDTH SEEK_CUR SEEK_DATA "
    "SEEK_END SEEK_HOLE SEEK_SET SEM_VALUE_MAX SHRT_MAX SHRT_MIN SHRT_WIDTH SIG_ATOMIC_MAX SIG_ATOMIC_MIN "
    "SIG_ATOMIC_WIDTH SIZE_MAX SIZE_WIDTH SNAN SNANF SNANF128 SNANF32 SNANF32X SNANF64 SNANF64X SNANL SSIZE_MAX "
    "TMP_MAX TTY_NAME_MAX UCHAR_MAX UCHAR_WIDTH UINT16_C UINT16_MAX UINT16_WIDTH UINT32_C UINT32_MAX UINT32_WIDTH "
    "UINT64_C UINT64_MAX UINT64_WIDTH UINT8_C UINT8_MAX UINT8_WIDTH UINTMAX_C UINTMAX_MAX UINTMAX_WIDTH "
    "UINTPTR_MAX UINTPTR_WIDTH UINT_FAST16_MAX UINT_FAST16_WIDTH UINT_FAST32_MAX UINT_FAST32_WIDTH UINT_FAST64_MAX "
    "UINT_FAST64_WIDTH UINT_FAST8_MAX UINT_FAST8_WIDTH UINT_LEAST16_MAX UINT_LEAST16_WIDTH UINT_LEAST32_MAX "
    "UINT_LEAST32_WIDTH UINT_LEAST64_MAX UINT_LEAST64_WIDTH UINT_LEAST8_MAX UINT_LEAST8_WIDTH UINT_MAX UINT_WIDTH "
    "ULLONG_MAX ULLONG_WIDTH ULONG_LONG_MAX ULONG_MAX ULONG_WIDTH USHRT_MAX USHRT_WIDTH WCHAR_MAX WCHAR_MIN "
    "WCHAR_WIDTH WCONTINUED WEOF WEXITED WEXITSTATUS WIFCONTINUED WIFEXITED WIFSIGNALED WIFSTOPPED WINT_MAX "
    "WINT_MIN WINT_WIDTH WNOHANG WNOWAIT WORD_BIT WSTOPPED WSTOPSIG WTERMSIG WUNTRACED XATTR_LIST_MAX "
    "XATTR_NAME_MAX XATTR_SIZE_MAX alloca be16toh be32toh be64toh errno htobe16 htobe32 htobe64 htole16 htole32 "
    "htole64 issubnormal le16toh le32toh le64toh math_errhandling offsetof stderr stdin stdout "    ;

constexpr std::string_view kReservedWords[] = {
    "alignas", "alignof", "and", "and_eq", "asm", "auto", "bitand", "bitor", "bool", "break", "case", "catch",
    "char", "char8_t", "char16_t", "char32_t", "class", "compl", "concept", "const", "consteval", "constexpr",
    "constinit", "const_cast", "continue", "co_await", "co_return", "co_yield", "decltype", "default", "delete",
    "do", "double", "dynamic_cast", "else", "enum", "explicit", "export", "extern", "false", "float", "for",
    "friend", "goto", "if", "inline", "int", "long", "mutable", "namespace", "new", "noexcept", "not", "not_eq",
    "nullptr", "operator", "or", "or_eq", "private", "protected", "public", "register", "reinterpret_cast",
    "requires", "return", "short", "signed", "sizeof", "static", "static_assert", "static_cast", "struct",
    "switch", "template", "this", "thread_local", "throw", "true", "try", "typedef", "typeid", "typename",
    "union", "unsigned", "using", "virtual", "void", "volatile", "wchar_t", "while", "xor", "xor_eq",
    "check", "Sweep", "ColourPass", "PaletteColor", "DrawingSurface", "std", "sweepdraw", "Colour", "Status",
    "LoopSite", "RuntimeError", "kPaletteSize", "PaletteName", "detail", "LoopRecorder",
};

template <typename Table>
auto findIn(const Table &table, std::string_view name) -> decltype(&table[0])
{
    // The first characters compared before the call that compares the rest.
    for (const auto &entry : table)
        if (entry.name.size() == name.size() && entry.name[0] == name[0] && entry.name == name)
            return &entry;
    return nullptr;
}

} // namespace

const unsigned *declaredBy(std::string_view spelling)
{
    for (const Header &header : kHeaders)
        if (header.spelling == spelling)
            return &header.declares;
    return nullptr;
}

const MathFunction *findMath(std::string_view name)
{
    return findIn(kMath, name);
}

std::uint32_t numberOf(const MathFunction &function)
{
    return static_cast<std::uint32_t>(&function - kMath.data());
}

const MathFunction *const kMathFunctions = kMath.data();

const NamedConstant *findMacroConstant(std::string_view name)
{
    return findIn(kMacroConstants, name);
}

const NamedConstant *findNumber(std::string_view name)
{
    return findIn(kNumbers, name);
}

unsigned macroOrReserved(std::string_view name)
{
    // Asked of every name a routine declares: both lists' words looked up
    // at once, in a table made once rather than searched for in the text.
    static const NameTable words = [] {
        std::vector<std::pair<std::string_view, std::uint32_t>> kinds;
        for (std::size_t at = 0; at < kMacros.size();) {
            const std::size_t end = std::min(kMacros.find(' ', at), kMacros.size());
            kinds.emplace_back(kMacros.substr(at, end - at), kMacro);
            at = end + 1;
        }
        for (const std::string_view word : kReservedWords) {
            const auto macro = std::find_if(kinds.begin(), kinds.end(), [&](const auto &kind) { return kind.first == word; });
            if (macro != kinds.end())
                macro->second |= kReserved;
            else
                kinds.emplace_back(word, kReserved);
        }
        NameTable table;
        for (const auto &[word, kind] : kinds)
            table.insert(word, kind);
        return table;
    }();
    const std::uint32_t *const kind = words.find(name);
    return kind ? *kind : 0;
}

} // namespace sweepdraw
