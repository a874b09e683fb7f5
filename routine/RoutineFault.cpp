#include "RoutineFault.h"

#include "MessageText.h"

#include <array>

namespace sweepdraw {

namespace {

struct Wording
{
    RoutineFault fault;
    const char *english;
};

constexpr std::array kWordings = {
    Wording{RoutineFault::CannotRead, "cannot be read: %1"},
    Wording{RoutineFault::TooLarge, "the file is larger than %1 bytes"},
    Wording{RoutineFault::NotUtf8, "the file is not valid UTF-8"},
    Wording{RoutineFault::UnexpectedCharacter, "unexpected character %1"},
    Wording{RoutineFault::UnterminatedComment, "unterminated comment"},
    Wording{RoutineFault::OnlyIncludes, "only #include lines may begin with '#'"},
    Wording{RoutineFault::ExpectedHeader, "expected a header after #include"},
    Wording{RoutineFault::TextAfterInclude, "unexpected text after %1"},
    Wording{RoutineFault::ExponentDigits, "exponent has no digits"},
    Wording{RoutineFault::NumberSuffix, "unsupported suffix %1 on number %2"},
    Wording{RoutineFault::Octal, "number %1 would be read as octal; write it without the leading 0"},
    Wording{RoutineFault::IntegerTooLarge, "integer constant %1 is too large for a long"},
    Wording{RoutineFault::UnknownHeader,
            "only the scene files' headers may be included: \"Scenes.h\", \"DrawingSurface.h\", \"Palette.h\", "
            "\"RuntimeError.h\", \"Sweep.h\", <cmath>, <algorithm> and <numbers>"},
    Wording{RoutineFault::IncludeAfter, "#include lines must come before the namespace"},
    Wording{RoutineFault::NeedsHeader, "%1 is used without #include %2"},
    Wording{RoutineFault::ExpectedNamespace, "the routine must be in namespace sweepdraw"},
    Wording{RoutineFault::Expected, "expected %1 before %2"},
    Wording{RoutineFault::ExpectedEnd, "expected the end of the file before %1"},
    Wording{RoutineFault::NotDeclared, "%1 was not declared in this scope"},
    Wording{RoutineFault::DidYouMean, "%1 was not declared in this scope; did you mean %2?"},
    Wording{RoutineFault::NeedsType, "%1 was not declared in this scope; a variable needs its type: 'double %2 = ...'"},
    Wording{RoutineFault::Redeclared, "redeclaration of %1"},
    Wording{RoutineFault::OwnInitializer, "%1 is used in its own initializer"},
    Wording{RoutineFault::MacroName, "%1 is a macro of the headers, so it cannot name anything else"},
    Wording{RoutineFault::ReservedName, "%1 is a word of C++ or a name of the drawing core, so it cannot name a value"},
    Wording{RoutineFault::NotInLibrary,
            "%1 is not among the functions a routine may call: std::sin, cos, tan, asin, acos, atan, atan2, sinh, "
            "cosh, tanh, exp, log, log10, log2, pow, sqrt, hypot, fmod, abs, fabs, floor, ceil, round, trunc, "
            "min and max"},
    Wording{RoutineFault::Arguments, "%1 takes %2, not %3"},
    Wording{RoutineFault::NotOperation,
            "%1 is not an operation of the drawing surface: SetPenWidth, PlotPoint, DrawBox, DrawCircle and "
            "ClearSurface are"},
    Wording{RoutineFault::UncheckedOperation, "the status %1 returns must be checked: 'check(surface.%2(...));'"},
    Wording{RoutineFault::SurfaceExpected, "expected the drawing surface for %1"},
    Wording{RoutineFault::ColourNotPalette, "the colour of %1 must be given by PaletteColor, not by %2"},
    Wording{RoutineFault::ColourNotNumber, "a colour from PaletteColor is not a number; pass it to a surface operation"},
    Wording{RoutineFault::SurfaceNotNumber, "the drawing surface is not a number"},
    Wording{RoutineFault::VoidNotValue, "%1 returns no value"},
    Wording{RoutineFault::CounterType, "the counter of %1 is %2"},
    Wording{RoutineFault::NestedTooDeep, "nested deeper than %1 levels"},
    Wording{RoutineFault::ConstAssigned, "%1 is const: declare it without const to change it"},
    Wording{RoutineFault::NotAssignable, "only a variable can be assigned to or changed"},
    Wording{RoutineFault::NeedsValue, "%1 needs a value where it is declared: '%2 %1 = 0;'"},
    Wording{RoutineFault::BoolStep, "++ and -- do not apply to a bool"},
    Wording{RoutineFault::RemainderOfInts, "'%' takes ints, not %1; std::fmod takes doubles"},
    Wording{RoutineFault::MinMaxTypes, "%1 takes two values of one type, not %2 and %3; write 1.0, not 1, for a double"},
    Wording{RoutineFault::BreakOutside, "%1 is not inside a for, while or do loop of its own body"},
    Wording{RoutineFault::ReturnNeedsValue, "%1 returns %2: 'return' needs a value"},
    Wording{RoutineFault::ReturnNoValue, "%1 returns no value: write 'return;'"},
    Wording{RoutineFault::ReturnInLoopBody, "the body of a Sweep or ColourPass returns no value: write 'return;'"},
    Wording{RoutineFault::ConstexprNotConstant, "the value of constexpr %1 is not a constant"},
    Wording{RoutineFault::NamespaceNotConstant,
            "the value of %1 must be worked out from numbers and constants alone, before the drawing starts"},
    Wording{RoutineFault::NamespaceNotConst,
            "a value outside the functions must be const or constexpr: 'const double r = 5;'"},
    Wording{RoutineFault::DrawingFunctionLast,
            "the last function of a routine file draws: 'void DrawName(DrawingSurface &surface) { ... }'"},
    Wording{RoutineFault::FunctionTooLarge, "%1 holds more values than a routine's function may"},
    Wording{RoutineFault::NotSupported, "%1 is not part of the routine language"},
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

std::string RoutineMessage::format(const std::string &fileName) const
{
    if (line == 0)
        return escapeForMessage(fileName + ": error: " + what());
    return escapeForMessage(fileName + ':' + std::to_string(line) + ':' + std::to_string(column) + ": error: " + what());
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
