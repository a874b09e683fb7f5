#pragma once

#include "RuntimeError.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace sweepdraw {

// Why a routine file is refused, or why its run stopped, as data: the kind
// of fault and the values its message quotes, already escaped and in quotes
// where they are code. The layers above word it in the user's language from
// the kind and the values, with englishOf() as the key to the translation;
// englishOf() words it as a compiler would, in English, for the engine's own
// uses (a program without a window, a test, the fuzzer).
enum class RoutineFault {
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

    // Run-time errors, where C++ leaves the result undefined or the run
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
};

struct RoutineMessage
{
    RoutineFault fault = RoutineFault::Expected;
    std::vector<std::string> values;
    // Counted from 1, the column in display columns as GCC counts them; 0
    // when the fault is the file's as a whole.
    int line = 0;
    int column = 0;

    // The fault in English, its values in place.
    std::string what() const;
    // As compilers write it, so that editors can jump to it:
    // "FILE:LINE:COLUMN: error: what" ("FILE:LINE: error: what" with no
    // column, as for a run-time error), one line safe to print
    // (escapeForMessage).
    std::string format(const std::string &fileName) const { return located(fileName, what()); }
    // The same with `wording` as what it says.
    std::string located(const std::string &fileName, const std::string &wording) const;
};

// The English wording of `fault`, with %1, %2 and %3 where its values go.
const char *englishOf(RoutineFault fault);

// `wording` with %1, %2 and %3 replaced by the values.
std::string withValues(std::string wording, const std::vector<std::string> &values);

// A routine's run-time error as data: what() is "FILE:LINE: error: what",
// in English, as a compiler would write it.
class RoutineRunError final : public LocatedError
{
public:
    RoutineRunError(std::string fileName, RoutineMessage message);

    const std::string &fileName() const { return m_fileName; }
    const RoutineMessage &message() const { return m_message; }

private:
    std::string m_fileName;
    RoutineMessage m_message;
};

// The refusal the compiler throws from wherever it finds a fault.
struct RoutineRefusal
{
    RoutineMessage message;
};

[[noreturn]] void refuseRoutine(int line, int column, RoutineFault fault,
                                std::initializer_list<std::string> values = {});

// 'text', escaped for a message.
std::string quotedForMessage(std::string_view text);

} // namespace sweepdraw
