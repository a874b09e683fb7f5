#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sweepdraw {

// Why a drawing failed, or why a routine file is refused, as data: the kind
// of fault and the values its wording quotes, already escaped and in quotes
// where they are code. One vocabulary for the whole engine: the drawing
// core's checks, the routine's compiler and its machine. The engine words
// no fault for a person: the layers that show one word it in the user's
// language from the kind and the values (FaultEnglish.h, above the runner,
// holds each kind's English wording, the key to its translations).
enum class FaultKind : unsigned char {
    // A routine file refused: the values each kind quotes.

    CannotRead,          // the system's reason
    TooLarge,            // the limit in bytes
    NotUtf8,
    UnexpectedCharacter, // the character
    UnterminatedComment,
    OnlyIncludes,
    ExpectedHeader,
    TextAfterInclude,    // the include
    ExponentDigits,
    NumberSuffix,        // the suffix, the number
    Octal,               // the number
    IntegerTooLarge,     // the number
    UnknownHeader,
    IncludeAfter,
    NeedsHeader,         // the name, the header
    ExpectedNamespace,
    Expected,            // what, the token found
    ExpectedEnd,         // the token found
    NotDeclared,         // the name
    DidYouMean,          // the name, what it may have meant
    NeedsType,           // the name
    Redeclared,          // the name
    OwnInitializer,      // the name
    MacroName,           // the name
    ReservedName,        // the name
    NotInLibrary,        // the name
    Arguments,           // the function, the count expected, the count given
    OneArgument,         // the function, 1, the count given
    NotOperation,        // the name
    UncheckedOperation,  // the operation
    SurfaceExpected,     // the function
    ColourNotPalette,    // the operation, the type given
    ColourNotNumber,
    SurfaceNotNumber,
    VoidNotValue,        // the function
    CounterType,         // the loop, the counter's type
    NestedTooDeep,       // the limit
    ConstAssigned,       // the name
    NotAssignable,
    NeedsValue,          // the name, its type
    BoolStep,
    RemainderOfInts,     // the type given
    MinMaxTypes,         // the function, the two types
    BreakOutside,        // "break" or "continue"
    ReturnNeedsValue,    // the function, its type
    ReturnNoValue,       // the function
    ReturnInLoopBody,
    ConstexprNotConstant, // the name
    NamespaceNotConstant, // the name
    NamespaceNotConst,
    DrawingFunctionLast,
    FunctionTooLarge,    // the function
    NotSupported,        // the construct

    // A routine's run-time errors, where C++ leaves the result undefined or the run
    // cannot go on.
    OutOfRange,          // the type converted to, the value
    DivisionByZero,      // the type
    DivisionOverflows,   // the type
    RemainderByZero,     // the type
    RemainderOverflows,  // the type
    AdditionOverflows,   // the type
    SubtractionOverflows, // the type
    MultiplicationOverflows, // the type
    NegationOverflows,   // the type
    AbsOfMinimum,        // the value
    CallsTooDeep,        // the limit
    NoReturnValue,       // the function
    StepBudget,          // the budget of steps

    // The drawing core's: a surface operation refused, a colour or a loop
    // that cannot be, a budget of steps spent.
    NotFinite,            // the operation, the argument, its value
    Negative,             // the operation, the argument, its value
    PenWidthOutside,      // the operation, the argument, the widest, its value
    UnknownOperation,     // the surface
    DeviceRefused,        // the operation
    StoppedHere,          // nothing: a run ended on purpose, never shown
    ColourOutside,        // the number, the last number of the palette
    SweepNotFinite,       // the start, the end, the step
    SweepCannotAdvance,   // the step, the start, the end
    SweepStalls,          // the step, the value
    ColourPassTooLong,    // the first colour, the stop, the change, the passes
    ColourPassNeverEnds,  // the first colour, the stop, the change
    StepsSpent,           // the budget of steps
    OutOfMemory,
    FileTooLarge,         // the limit in bytes

    // Phrases a fault quotes as values (phrase()), worded as the faults are.
    EndOfFile,
    FunctionOrConstant,
    ValueType,
    ParameterType,
    DrawingSurface,
    Name,
    Operand,
    CounterIsDouble,
    CounterIsInt,
    ConditionalSide,
    NotRegularFile,
    Colour,
};

struct FaultMessage
{
    FaultKind kind = FaultKind::Expected;
    std::vector<std::string> values;
    // Counted from 1, the column in display columns as GCC counts them; 0
    // when the fault is the file's as a whole, or has no place in a file.
    int line = 0;
    int column = 0;

    // The fault as a program reads it, not worded for a person: "fault N"
    // and its values in brackets, a phrase among them as "phrase N".
    std::string technical() const;
    // `wording` as compilers write it, so that editors can jump to it:
    // "FILE:LINE:COLUMN: error: wording" ("FILE:LINE: error: wording" with
    // no column, as for a run-time error; the wording alone with no file),
    // one line safe to print (escapeForMessage).
    std::string located(const std::string &fileName, const std::string &wording) const;
};

// How a layer words a kind, with %1 to %9 where its values go: in English
// (englishOf, FaultEnglish.h), or translated.
using KindWording = std::string (*)(FaultKind kind);

// `wording` with %1 to %9 replaced by the values, and a value that is a
// phrase() by the phrase as `words` words it.
std::string withValues(std::string_view wording, const std::vector<std::string> &values, KindWording words);

// A value that stands for the phrase `kind`, worded where the fault is.
std::string phrase(FaultKind kind);
// The phrase a value stands for, if it is a phrase().
std::optional<FaultKind> phraseIn(std::string_view value);

// 'text', escaped for a message.
std::string quotedForMessage(std::string_view text);

} // namespace sweepdraw
