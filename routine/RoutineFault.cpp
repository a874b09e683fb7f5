#include "RoutineFault.h"

#include "MessageText.h"

#include <array>

namespace sweepdraw {

namespace {

// Marks the wordings for the translations' tools, which find them here; the
// layers above translate them, with the wording as the key.
#define QT_TRANSLATE_NOOP(context, text) text

struct Wording
{
    RoutineFault fault;
    const char *english;
};

constexpr std::array kWordings = {
    Wording{RoutineFault::CannotRead, QT_TRANSLATE_NOOP("RoutineFault", "cannot be read: %1")},
    Wording{RoutineFault::TooLarge, QT_TRANSLATE_NOOP("RoutineFault", "the file is larger than %1 bytes")},
    Wording{RoutineFault::NotUtf8, QT_TRANSLATE_NOOP("RoutineFault", "the file is not valid UTF-8")},
    Wording{RoutineFault::UnexpectedCharacter, QT_TRANSLATE_NOOP("RoutineFault", "unexpected character %1")},
    Wording{RoutineFault::UnterminatedComment, QT_TRANSLATE_NOOP("RoutineFault", "unterminated comment")},
    Wording{RoutineFault::OnlyIncludes, QT_TRANSLATE_NOOP("RoutineFault", "only #include lines may begin with '#'")},
    Wording{RoutineFault::ExpectedHeader, QT_TRANSLATE_NOOP("RoutineFault", "expected a header after #include")},
    Wording{RoutineFault::TextAfterInclude, QT_TRANSLATE_NOOP("RoutineFault", "unexpected text after %1")},
    Wording{RoutineFault::ExponentDigits, QT_TRANSLATE_NOOP("RoutineFault", "exponent has no digits")},
    Wording{RoutineFault::NumberSuffix, QT_TRANSLATE_NOOP("RoutineFault", "unsupported suffix %1 on number %2")},
    Wording{RoutineFault::Octal,
        QT_TRANSLATE_NOOP("RoutineFault", "number %1 would be read as octal; write it without the leading 0")},
    Wording{RoutineFault::IntegerTooLarge,
        QT_TRANSLATE_NOOP("RoutineFault", "integer constant %1 is too large for a long")},
    Wording{RoutineFault::UnknownHeader,
        QT_TRANSLATE_NOOP("RoutineFault",
            "only the scene files' headers may be included: \"Scenes.h\", \"DrawingSurface.h\", \"Palette.h\", "
            "\"RuntimeError.h\", \"Sweep.h\", <cmath>, <algorithm> and <numbers>")},
    Wording{
        RoutineFault::IncludeAfter, QT_TRANSLATE_NOOP("RoutineFault", "#include lines must come before the namespace")},
    Wording{RoutineFault::NeedsHeader, QT_TRANSLATE_NOOP("RoutineFault", "%1 is used without #include %2")},
    Wording{RoutineFault::ExpectedNamespace,
        QT_TRANSLATE_NOOP("RoutineFault", "the routine must be in namespace sweepdraw")},
    Wording{RoutineFault::Expected, QT_TRANSLATE_NOOP("RoutineFault", "expected %1 before %2")},
    Wording{RoutineFault::ExpectedEnd, QT_TRANSLATE_NOOP("RoutineFault", "expected the end of the file before %1")},
    Wording{RoutineFault::NotDeclared, QT_TRANSLATE_NOOP("RoutineFault", "%1 was not declared in this scope")},
    Wording{RoutineFault::DidYouMean,
        QT_TRANSLATE_NOOP("RoutineFault", "%1 was not declared in this scope; did you mean %2?")},
    Wording{RoutineFault::NeedsType,
        QT_TRANSLATE_NOOP(
            "RoutineFault", "%1 was not declared in this scope; a variable needs its type: 'double %2 = ...'")},
    Wording{RoutineFault::Redeclared, QT_TRANSLATE_NOOP("RoutineFault", "redeclaration of %1")},
    Wording{RoutineFault::OwnInitializer, QT_TRANSLATE_NOOP("RoutineFault", "%1 is used in its own initializer")},
    Wording{RoutineFault::MacroName,
        QT_TRANSLATE_NOOP("RoutineFault", "%1 is a macro of the headers, so it cannot name anything else")},
    Wording{RoutineFault::ReservedName,
        QT_TRANSLATE_NOOP(
            "RoutineFault", "%1 is a word of C++ or a name of the drawing core, so it cannot name a value")},
    Wording{RoutineFault::NotInLibrary,
        QT_TRANSLATE_NOOP("RoutineFault",
            "%1 is not among the functions a routine may call: std::sin, cos, tan, asin, acos, atan, atan2, sinh, "
            "cosh, tanh, exp, log, log10, log2, pow, sqrt, hypot, fmod, abs, fabs, floor, ceil, round, trunc, "
            "min and max")},
    Wording{RoutineFault::Arguments, QT_TRANSLATE_NOOP("RoutineFault", "%1 takes %2 arguments, not %3")},
    Wording{RoutineFault::OneArgument, QT_TRANSLATE_NOOP("RoutineFault", "%1 takes 1 argument, not %3")},
    Wording{RoutineFault::NotOperation,
        QT_TRANSLATE_NOOP("RoutineFault",
            "%1 is not an operation of the drawing surface: SetPenWidth, PlotPoint, DrawBox, DrawCircle and "
            "ClearSurface are")},
    Wording{RoutineFault::UncheckedOperation,
        QT_TRANSLATE_NOOP("RoutineFault", "the status %1 returns must be checked: 'check(surface.%2(...));'")},
    Wording{RoutineFault::SurfaceExpected, QT_TRANSLATE_NOOP("RoutineFault", "expected the drawing surface for %1")},
    Wording{RoutineFault::ColourNotPalette,
        QT_TRANSLATE_NOOP("RoutineFault", "the colour of %1 must be given by PaletteColor, not by %2")},
    Wording{RoutineFault::ColourNotNumber,
        QT_TRANSLATE_NOOP(
            "RoutineFault", "a colour from PaletteColor is not a number; pass it to a surface operation")},
    Wording{RoutineFault::SurfaceNotNumber, QT_TRANSLATE_NOOP("RoutineFault", "the drawing surface is not a number")},
    Wording{RoutineFault::VoidNotValue, QT_TRANSLATE_NOOP("RoutineFault", "%1 returns no value")},
    Wording{RoutineFault::CounterType, QT_TRANSLATE_NOOP("RoutineFault", "the counter of %1 is %2")},
    Wording{RoutineFault::NestedTooDeep, QT_TRANSLATE_NOOP("RoutineFault", "nested deeper than %1 levels")},
    Wording{RoutineFault::ConstAssigned,
        QT_TRANSLATE_NOOP("RoutineFault", "%1 is const: declare it without const to change it")},
    Wording{RoutineFault::NotAssignable,
        QT_TRANSLATE_NOOP("RoutineFault", "only a variable can be assigned to or changed")},
    Wording{RoutineFault::NeedsValue,
        QT_TRANSLATE_NOOP("RoutineFault", "%1 needs a value where it is declared: '%2 %1 = 0;'")},
    Wording{RoutineFault::BoolStep, QT_TRANSLATE_NOOP("RoutineFault", "++ and -- do not apply to a bool")},
    Wording{RoutineFault::RemainderOfInts,
        QT_TRANSLATE_NOOP("RoutineFault", "'%' takes ints, not %1; std::fmod takes doubles")},
    Wording{RoutineFault::MinMaxTypes,
        QT_TRANSLATE_NOOP(
            "RoutineFault", "%1 takes two values of one type, not %2 and %3; write 1.0, not 1, for a double")},
    Wording{RoutineFault::BreakOutside,
        QT_TRANSLATE_NOOP("RoutineFault", "%1 is not inside a for, while or do loop of its own body")},
    Wording{RoutineFault::ReturnNeedsValue, QT_TRANSLATE_NOOP("RoutineFault", "%1 returns %2: 'return' needs a value")},
    Wording{RoutineFault::ReturnNoValue, QT_TRANSLATE_NOOP("RoutineFault", "%1 returns no value: write 'return;'")},
    Wording{RoutineFault::ReturnInLoopBody,
        QT_TRANSLATE_NOOP("RoutineFault", "the body of a Sweep or ColourPass returns no value: write 'return;'")},
    Wording{RoutineFault::ConstexprNotConstant,
        QT_TRANSLATE_NOOP("RoutineFault", "the value of constexpr %1 is not a constant")},
    Wording{RoutineFault::NamespaceNotConstant,
        QT_TRANSLATE_NOOP("RoutineFault",
            "the value of %1 must be worked out from numbers and constants alone, before the drawing starts")},
    Wording{RoutineFault::NamespaceNotConst,
        QT_TRANSLATE_NOOP(
            "RoutineFault", "a value outside the functions must be const or constexpr: 'const double r = 5;'")},
    Wording{RoutineFault::DrawingFunctionLast,
        QT_TRANSLATE_NOOP("RoutineFault",
            "the last function of a routine file draws: 'void DrawName(DrawingSurface &surface) { ... }'")},
    Wording{RoutineFault::FunctionTooLarge,
        QT_TRANSLATE_NOOP("RoutineFault", "%1 holds more values than a routine's function may")},
    Wording{RoutineFault::NotSupported, QT_TRANSLATE_NOOP("RoutineFault", "%1 is not part of the routine language")},
    Wording{
        RoutineFault::OutOfRange, QT_TRANSLATE_NOOP("RoutineFault", "conversion to %1: %2 is outside the range of %1")},
    Wording{RoutineFault::DivisionByZero, QT_TRANSLATE_NOOP("RoutineFault", "%1 division by zero")},
    Wording{RoutineFault::DivisionOverflows, QT_TRANSLATE_NOOP("RoutineFault", "%1 division overflows")},
    Wording{RoutineFault::RemainderByZero, QT_TRANSLATE_NOOP("RoutineFault", "%1 remainder of a division by zero")},
    Wording{RoutineFault::RemainderOverflows, QT_TRANSLATE_NOOP("RoutineFault", "%1 remainder overflows")},
    Wording{RoutineFault::AdditionOverflows, QT_TRANSLATE_NOOP("RoutineFault", "%1 addition overflows")},
    Wording{RoutineFault::SubtractionOverflows, QT_TRANSLATE_NOOP("RoutineFault", "%1 subtraction overflows")},
    Wording{RoutineFault::MultiplicationOverflows, QT_TRANSLATE_NOOP("RoutineFault", "%1 multiplication overflows")},
    Wording{RoutineFault::NegationOverflows, QT_TRANSLATE_NOOP("RoutineFault", "%1 negation overflows")},
    Wording{RoutineFault::AbsOfMinimum, QT_TRANSLATE_NOOP("RoutineFault", "std::abs: %1 has no int magnitude")},
    Wording{RoutineFault::CallsTooDeep, QT_TRANSLATE_NOOP("RoutineFault", "calls nested deeper than %1")},
    Wording{RoutineFault::NoReturnValue, QT_TRANSLATE_NOOP("RoutineFault", "%1 ends without returning a value")},
    Wording{RoutineFault::StepBudget,
        QT_TRANSLATE_NOOP("RoutineFault",
            "still running after %1 steps; a run without a window stops "
            "there, and --steps allows more")},
};

} // namespace

const char *englishOf(RoutineFault fault)
{
    for (const Wording &wording : kWordings)
        if (wording.fault == fault)
            return wording.english;
    return "";
}

std::string withValues(std::string wording, const std::vector<std::string> &values)
{
    std::string text;
    for (std::size_t at = 0; at < wording.size(); ++at) {
        const char next = at + 1 < wording.size() ? wording[at + 1] : '\0';
        if (wording[at] == '%' && next >= '1' && next <= '9') {
            const auto index = static_cast<std::size_t>(next - '1');
            if (index < values.size())
                text += values[index];
            ++at;
        } else {
            text += wording[at];
        }
    }
    return text;
}

std::string RoutineMessage::what() const
{
    return withValues(englishOf(fault), values);
}

std::string RoutineMessage::located(const std::string &fileName, const std::string &wording) const
{
    std::string where = fileName;
    if (line > 0)
        where += ':' + std::to_string(line);
    if (line > 0 && column > 0)
        where += ':' + std::to_string(column);
    return escapeForMessage(where + ": error: " + wording);
}

RoutineRunError::RoutineRunError(std::string fileName, RoutineMessage message)
    : LocatedError(message.format(fileName))
    , m_fileName(std::move(fileName))
    , m_message(std::move(message))
{
}

void refuseRoutine(int line, int column, RoutineFault fault, std::initializer_list<std::string> values)
{
    throw RoutineRefusal{{fault, std::vector<std::string>(values), line, column}};
}

std::string quotedForMessage(std::string_view text)
{
    return '\'' + escapeForMessage(text) + '\'';
}

} // namespace sweepdraw
