#include "FaultEnglish.h"

#include "RuntimeError.h"

#include <array>

namespace sweepdraw {

namespace {

// Marks the wordings for the translations' tools, which find them here; the
// layers above translate them, with the wording as the key.
#define QT_TRANSLATE_NOOP(context, text) text

struct Wording
{
    FaultKind kind;
    const char *english;
};

constexpr std::array kWordings = {
    Wording{FaultKind::CannotRead, QT_TRANSLATE_NOOP("Fault", "cannot be read: %1")},
    Wording{FaultKind::TooLarge, QT_TRANSLATE_NOOP("Fault", "the file is larger than %1 bytes")},
    Wording{FaultKind::NotUtf8, QT_TRANSLATE_NOOP("Fault", "the file is not valid UTF-8")},
    Wording{FaultKind::UnexpectedCharacter, QT_TRANSLATE_NOOP("Fault", "unexpected character %1")},
    Wording{FaultKind::UnterminatedComment, QT_TRANSLATE_NOOP("Fault", "unterminated comment")},
    Wording{FaultKind::OnlyIncludes, QT_TRANSLATE_NOOP("Fault", "only #include lines may begin with '#'")},
    Wording{FaultKind::ExpectedHeader, QT_TRANSLATE_NOOP("Fault", "expected a header after #include")},
    Wording{FaultKind::TextAfterInclude, QT_TRANSLATE_NOOP("Fault", "unexpected text after %1")},
    Wording{FaultKind::ExponentDigits, QT_TRANSLATE_NOOP("Fault", "exponent has no digits")},
    Wording{FaultKind::NumberSuffix, QT_TRANSLATE_NOOP("Fault", "unsupported suffix %1 on number %2")},
    Wording{FaultKind::Octal,
        QT_TRANSLATE_NOOP("Fault", "number %1 would be read as octal; write it without the leading 0")},
    Wording{FaultKind::IntegerTooLarge,
        QT_TRANSLATE_NOOP("Fault", "integer constant %1 is too large for a long")},
    Wording{FaultKind::UnknownHeader,
        QT_TRANSLATE_NOOP("Fault",
            "only the scene files' headers may be included: \"Scenes.h\", \"DrawingSurface.h\", \"Palette.h\", "
            "\"RuntimeError.h\", \"Sweep.h\", <cmath>, <algorithm> and <numbers>")},
    Wording{
        FaultKind::IncludeAfter, QT_TRANSLATE_NOOP("Fault", "#include lines must come before the namespace")},
    Wording{FaultKind::NeedsHeader, QT_TRANSLATE_NOOP("Fault", "%1 is used without #include %2")},
    Wording{FaultKind::ExpectedNamespace,
        QT_TRANSLATE_NOOP("Fault", "the routine must be in namespace sweepdraw")},
    Wording{FaultKind::Expected, QT_TRANSLATE_NOOP("Fault", "expected %1 before %2")},
    Wording{FaultKind::ExpectedEnd, QT_TRANSLATE_NOOP("Fault", "expected the end of the file before %1")},
    Wording{FaultKind::NotDeclared, QT_TRANSLATE_NOOP("Fault", "%1 was not declared in this scope")},
    Wording{FaultKind::DidYouMean,
        QT_TRANSLATE_NOOP("Fault", "%1 was not declared in this scope; did you mean %2?")},
    Wording{FaultKind::NeedsType,
        QT_TRANSLATE_NOOP(
            "Fault", "%1 was not declared in this scope; a variable needs its type: 'double %2 = ...'")},
    Wording{FaultKind::Redeclared, QT_TRANSLATE_NOOP("Fault", "redeclaration of %1")},
    Wording{FaultKind::OwnInitializer, QT_TRANSLATE_NOOP("Fault", "%1 is used in its own initializer")},
    Wording{FaultKind::MacroName,
        QT_TRANSLATE_NOOP("Fault", "%1 is a macro of the headers, so it cannot name anything else")},
    Wording{FaultKind::ReservedName,
        QT_TRANSLATE_NOOP(
            "Fault", "%1 is a word of C++ or a name of the drawing core, so it cannot name a value")},
    Wording{FaultKind::NotInLibrary,
        QT_TRANSLATE_NOOP("Fault",
            "%1 is not among the functions a routine may call: std::sin, cos, tan, asin, acos, atan, atan2, sinh, "
            "cosh, tanh, exp, log, log10, log2, pow, sqrt, hypot, fmod, abs, fabs, floor, ceil, round, trunc, "
            "min and max")},
    Wording{FaultKind::Arguments, QT_TRANSLATE_NOOP("Fault", "%1 takes %2 arguments, not %3")},
    Wording{FaultKind::OneArgument, QT_TRANSLATE_NOOP("Fault", "%1 takes 1 argument, not %3")},
    Wording{FaultKind::NotOperation,
        QT_TRANSLATE_NOOP("Fault",
            "%1 is not an operation of the drawing surface: SetPenWidth, PlotPoint, DrawBox, DrawCircle and "
            "ClearSurface are")},
    Wording{FaultKind::UncheckedOperation,
        QT_TRANSLATE_NOOP("Fault", "the status %1 returns must be checked: 'check(surface.%2(...));'")},
    Wording{FaultKind::SurfaceExpected, QT_TRANSLATE_NOOP("Fault", "expected the drawing surface for %1")},
    Wording{FaultKind::ColourNotPalette,
        QT_TRANSLATE_NOOP("Fault", "the colour of %1 must be given by PaletteColor, not by %2")},
    Wording{FaultKind::ColourNotNumber,
        QT_TRANSLATE_NOOP(
            "Fault", "a colour from PaletteColor is not a number; pass it to a surface operation")},
    Wording{FaultKind::SurfaceNotNumber, QT_TRANSLATE_NOOP("Fault", "the drawing surface is not a number")},
    Wording{FaultKind::VoidNotValue, QT_TRANSLATE_NOOP("Fault", "%1 returns no value")},
    Wording{FaultKind::CounterType, QT_TRANSLATE_NOOP("Fault", "the counter of %1 is %2")},
    Wording{FaultKind::NestedTooDeep, QT_TRANSLATE_NOOP("Fault", "nested deeper than %1 levels")},
    Wording{FaultKind::ConstAssigned,
        QT_TRANSLATE_NOOP("Fault", "%1 is const: declare it without const to change it")},
    Wording{FaultKind::NotAssignable,
        QT_TRANSLATE_NOOP("Fault", "only a variable can be assigned to or changed")},
    Wording{FaultKind::NeedsValue,
        QT_TRANSLATE_NOOP("Fault", "%1 needs a value where it is declared: '%2 %1 = 0;'")},
    Wording{FaultKind::BoolStep, QT_TRANSLATE_NOOP("Fault", "++ and -- do not apply to a bool")},
    Wording{FaultKind::RemainderOfInts,
        QT_TRANSLATE_NOOP("Fault", "'%' takes ints, not %1; std::fmod takes doubles")},
    Wording{FaultKind::MinMaxTypes,
        QT_TRANSLATE_NOOP(
            "Fault", "%1 takes two values of one type, not %2 and %3; write 1.0, not 1, for a double")},
    Wording{FaultKind::BreakOutside,
        QT_TRANSLATE_NOOP("Fault", "%1 is not inside a for, while or do loop of its own body")},
    Wording{FaultKind::ReturnNeedsValue, QT_TRANSLATE_NOOP("Fault", "%1 returns %2: 'return' needs a value")},
    Wording{FaultKind::ReturnNoValue, QT_TRANSLATE_NOOP("Fault", "%1 returns no value: write 'return;'")},
    Wording{FaultKind::ReturnInLoopBody,
        QT_TRANSLATE_NOOP("Fault", "the body of a Sweep or ColourPass returns no value: write 'return;'")},
    Wording{FaultKind::ConstexprNotConstant,
        QT_TRANSLATE_NOOP("Fault", "the value of constexpr %1 is not a constant")},
    Wording{FaultKind::NamespaceNotConstant,
        QT_TRANSLATE_NOOP("Fault",
            "the value of %1 must be worked out from numbers and constants alone, before the drawing starts")},
    Wording{FaultKind::NamespaceNotConst,
        QT_TRANSLATE_NOOP(
            "Fault", "a value outside the functions must be const or constexpr: 'const double r = 5;'")},
    Wording{FaultKind::DrawingFunctionLast,
        QT_TRANSLATE_NOOP("Fault",
            "the last function of a routine file draws: 'void DrawName(DrawingSurface &surface) { ... }'")},
    Wording{FaultKind::FunctionTooLarge,
        QT_TRANSLATE_NOOP("Fault", "%1 holds more values than a routine's function may")},
    Wording{FaultKind::NotSupported, QT_TRANSLATE_NOOP("Fault", "%1 is not part of the routine language")},
    Wording{
        FaultKind::OutOfRange, QT_TRANSLATE_NOOP("Fault", "conversion to %1: %2 is outside the range of %1")},
    Wording{FaultKind::DivisionByZero, QT_TRANSLATE_NOOP("Fault", "%1 division by zero")},
    Wording{FaultKind::DivisionOverflows, QT_TRANSLATE_NOOP("Fault", "%1 division overflows")},
    Wording{FaultKind::RemainderByZero, QT_TRANSLATE_NOOP("Fault", "%1 remainder of a division by zero")},
    Wording{FaultKind::RemainderOverflows, QT_TRANSLATE_NOOP("Fault", "%1 remainder overflows")},
    Wording{FaultKind::AdditionOverflows, QT_TRANSLATE_NOOP("Fault", "%1 addition overflows")},
    Wording{FaultKind::SubtractionOverflows, QT_TRANSLATE_NOOP("Fault", "%1 subtraction overflows")},
    Wording{FaultKind::MultiplicationOverflows, QT_TRANSLATE_NOOP("Fault", "%1 multiplication overflows")},
    Wording{FaultKind::NegationOverflows, QT_TRANSLATE_NOOP("Fault", "%1 negation overflows")},
    Wording{FaultKind::AbsOfMinimum, QT_TRANSLATE_NOOP("Fault", "std::abs: %1 has no int magnitude")},
    Wording{FaultKind::CallsTooDeep, QT_TRANSLATE_NOOP("Fault", "calls nested deeper than %1")},
    Wording{FaultKind::NoReturnValue, QT_TRANSLATE_NOOP("Fault", "%1 ends without returning a value")},
    Wording{FaultKind::StepBudget,
        QT_TRANSLATE_NOOP("Fault",
            "still running after %1 steps; a run without a window stops "
            "there, and --steps allows more")},

    Wording{FaultKind::NotFinite, QT_TRANSLATE_NOOP("Fault", "%1: %2 is not a finite number (got %3)")},
    Wording{FaultKind::Negative, QT_TRANSLATE_NOOP("Fault", "%1: %2 is negative (got %3)")},
    Wording{FaultKind::PenWidthOutside, QT_TRANSLATE_NOOP("Fault", "%1: %2 is outside 1 to %3 pixels (got %4)")},
    Wording{FaultKind::UnknownOperation, QT_TRANSLATE_NOOP("Fault", "%1: unknown operation")},
    Wording{FaultKind::DeviceRefused, QT_TRANSLATE_NOOP("Fault", "%1: the device refused it")},
    Wording{FaultKind::StoppedHere, QT_TRANSLATE_NOOP("Fault", "stopped where it was asked to")},
    Wording{FaultKind::ColourOutside, QT_TRANSLATE_NOOP("Fault", "PaletteColor: colour number %1 is outside 0 to %2")},
    Wording{FaultKind::SweepNotFinite,
        QT_TRANSLATE_NOOP("Fault", "Sweep: start %1, end %2 and step %3 must be finite numbers")},
    Wording{FaultKind::SweepCannotAdvance, QT_TRANSLATE_NOOP("Fault", "Sweep: step %1 cannot advance from %2 to %3")},
    Wording{FaultKind::SweepStalls, QT_TRANSLATE_NOOP("Fault", "Sweep: step %1 no longer moves the counter at %2")},
    Wording{FaultKind::ColourPassTooLong,
        QT_TRANSLATE_NOOP("Fault",
            "ColourPass: colour %1 reaches %2 in steps of %3 only after %4 passes, more than an int counts")},
    Wording{FaultKind::ColourPassNeverEnds,
        QT_TRANSLATE_NOOP("Fault", "ColourPass: colour %1 never reaches %2 in steps of %3")},
    Wording{FaultKind::StepsSpent, QT_TRANSLATE_NOOP("Fault", "still running after %1 steps")},
    Wording{FaultKind::OutOfMemory, QT_TRANSLATE_NOOP("Fault", "out of memory")},
    Wording{FaultKind::FileTooLarge, QT_TRANSLATE_NOOP("Fault", "cannot be read: larger than %1 bytes")},
    Wording{FaultKind::EndOfFile, QT_TRANSLATE_NOOP("Fault", "the end of the file")},
    Wording{FaultKind::FunctionOrConstant, QT_TRANSLATE_NOOP("Fault", "a function or a const value")},
    Wording{FaultKind::ValueType, QT_TRANSLATE_NOOP("Fault", "int, float, double or bool")},
    Wording{FaultKind::ParameterType, QT_TRANSLATE_NOOP("Fault", "int, float, double, bool or DrawingSurface &")},
    Wording{FaultKind::DrawingSurface, QT_TRANSLATE_NOOP("Fault", "the drawing surface")},
    Wording{FaultKind::Name, QT_TRANSLATE_NOOP("Fault", "a name")},
    Wording{FaultKind::Operand, QT_TRANSLATE_NOOP("Fault", "a number, a name or '('")},
    Wording{FaultKind::CounterIsDouble, QT_TRANSLATE_NOOP("Fault", "a double")},
    Wording{FaultKind::CounterIsInt, QT_TRANSLATE_NOOP("Fault", "an int")},
    Wording{FaultKind::ConditionalSide, QT_TRANSLATE_NOOP("Fault", "one side of '?:'")},
    Wording{FaultKind::NotRegularFile, QT_TRANSLATE_NOOP("Fault", "not a regular file")},
    Wording{FaultKind::Colour, QT_TRANSLATE_NOOP("Fault", "a colour")},
};

std::string englishKind(FaultKind kind)
{
    return englishOf(kind);
}

} // namespace

const char *englishOf(FaultKind kind)
{
    for (const Wording &wording : kWordings)
        if (wording.kind == kind)
            return wording.english;
    return "";
}

std::string inEnglish(const FaultMessage &message)
{
    return withValues(englishOf(message.kind), message.values, englishKind);
}

std::string inEnglish(const FaultMessage &message, const std::string &fileName)
{
    return message.located(fileName, inEnglish(message));
}

std::string inEnglish(const RuntimeError &error)
{
    return inEnglish(error.message(), error.fileName());
}

} // namespace sweepdraw
