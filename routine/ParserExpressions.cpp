#include "Parser.h"

#include "Library.h"
#include "RoutineMachine.h"

#include <algorithm>
#include <array>

namespace sweepdraw {

namespace {

// The type of an arithmetic operation on promoted operands of these types,
// as C++'s usual arithmetic conversions make it.
Type commonType(Type a, Type b)
{
    if (a == Type::Double || b == Type::Double)
        return Type::Double;
    if (a == Type::Float || b == Type::Float)
        return Type::Float;
    if (a == Type::Long || b == Type::Long)
        return Type::Long;
    return Type::Int;
}

// How tightly a binary operator binds, loosest first; kNone for a token
// that is none.
enum Level : int { kNone, kOr, kAnd, kEquality, kRelational, kAdditive, kMultiplicative };

int levelOf(const Token &token)
{
    // Asked after every operand: a single character by table, the longer
    // operators by their codes.
    static constexpr std::array<std::uint8_t, 128> kSingle = [] {
        std::array<std::uint8_t, 128> levels{};
        levels['<'] = levels['>'] = kRelational;
        levels['+'] = levels['-'] = kAdditive;
        levels['*'] = levels['/'] = levels['%'] = kMultiplicative;
        return levels;
    }();
    if (token.kind != Token::Kind::Punct)
        return kNone;
    if (token.code < kSingle.size())
        return kSingle[token.code];
    switch (token.code) {
    case punctCode("||"): return kOr;
    case punctCode("&&"): return kAnd;
    case punctCode("=="):
    case punctCode("!="): return kEquality;
    case punctCode("<="):
    case punctCode(">="): return kRelational;
    default: return kNone;
    }
}

bool isAssignment(const Token &token)
{
    static constexpr std::array<std::uint32_t, 6> kAssignments = {
        punctCode("="), punctCode("+="), punctCode("-="), punctCode("*="), punctCode("/="), punctCode("%="),
    };
    return token.kind == Token::Kind::Punct
        && std::find(kAssignments.begin(), kAssignments.end(), token.code) != kAssignments.end();
}

} // namespace

int Parser::expression()
{
    return assignment();
}

int Parser::assignment()
{
    const Token &first = peek();
    if (first.kind == Token::Kind::Word && isPunct(peek(1), "=") && !lookUp(first.text)
        && !macroOrReserved(first.text))
        refuseNeedsType(first);
    const int target = binary(kOr);
    const Token &after = peek();
    if (after.kind != Token::Kind::Punct)
        return target;
    if (isPunct(after, "?"))
        return choice(target);
    return isAssignment(after) ? assigned(target) : target;
}

// The assignment to `target`, its operator next.
int Parser::assigned(int target)
{
    const Token &op = peek();
    const Nest nest(*this, m_expressionDepth, kMaxExpressionNesting, op);
    next();
    // The name assigned to, before the value names others.
    const Symbol *assigned = target == m_lastNameExpr ? m_lastName : nullptr;
    return assign(op, target, assigned, assignment());
}

// condition ? a : b, its '?' next.
int Parser::choice(int condition)
{
    const Token &question = next();
    const Nest nest(*this, m_expressionDepth, kMaxExpressionNesting, question);
    const int test = toBool(condition, question);
    int yes = expression();
    expect(":");
    int no = assignment();
    Type type = at(yes).type;
    if (type != at(no).type || type == Type::Bool) {
        if (type == Type::Void || at(no).type == Type::Void)
            refuse(question, FaultKind::VoidNotValue, {phrase(FaultKind::ConditionalSide)});
        type = type == Type::Bool && at(no).type == Type::Bool
                   ? Type::Bool
                   : commonType(numeric(promoted(yes, question), question), numeric(promoted(no, question), question));
        yes = convert(yes, type, question);
        no = convert(no, type, question);
    }
    if (at(test).kind == Expr::Kind::Constant)
        return at(test).value.i ? yes : no;
    m_syntax.exprs.push_back({.kind = Expr::Kind::Conditional, .type = type, .line = question.line, .a = test,
                              .b = yes, .c = no});
    return static_cast<int>(m_syntax.exprs.size() - 1);
}

// The binary operators binding at least as tightly as `lowest`, each
// level's left to right, as C++ groups them: a + b * c - d is
// (a + (b * c)) - d.
int Parser::binary(int lowest)
{
    int left = unary();
    for (;;) {
        const Token &op = peek();
        const int level = levelOf(op);
        if (level < lowest)
            return left;
        next();
        if (level == kOr || level == kAnd) {
            left = logical(op, level == kOr, left);
        } else {
            const int right = binary(level + 1);
            left = level <= kRelational ? compare(op, left, right) : arithmetic(op, left, right);
        }
    }
}

// left || or && the operand after `op`, kept out of binary(), which
// nearly every operand passes through without one.
int Parser::logical(const Token &op, bool isOr, int left)
{
    const int level = isOr ? kOr : kAnd;
    const int a = toBool(left, op);
    const int b = toBool(binary(level + 1), op);
    if (at(a).kind == Expr::Kind::Constant) {
        // true || b and false && b are a; false || b and true && b, b.
        return (at(a).value.i != 0) == isOr ? a : b;
    }
    m_syntax.exprs.push_back(
        {.kind = isOr ? Expr::Kind::Or : Expr::Kind::And, .type = Type::Bool, .line = op.line, .a = a, .b = b});
    return static_cast<int>(m_syntax.exprs.size() - 1);
}

int Parser::unary()
{
    const Token &op = peek();
    if (!isPunct(op, "-") && !isPunct(op, "+") && !isPunct(op, "!") && !isPunct(op, "++") && !isPunct(op, "--"))
        return postfix();
    return prefixed(op);
}

// A unary operator and its operand, kept out of unary(), which nearly
// every operand passes through without one.
int Parser::prefixed(const Token &op)
{
    const Nest nest(*this, m_expressionDepth, kMaxExpressionNesting, op);
    next();
    const int value = unary();
    if (op.text == "++" || op.text == "--")
        return step(op, value, false);
    if (op.text == "!")
        return operation(OpCode::Not, Type::Bool, op.line, toBool(value, op));
    const int operand = promoted(value, op);
    const Type type = at(operand).type;
    if (op.text == "+")
        return operand;
    return operation(ofType({OpCode::NegI, OpCode::NegL, OpCode::NegF, OpCode::NegD}, type), type, op.line, operand);
}

// The ++ and -- after an operand, kept out of postfix(), which nearly
// every operand passes through without one.
int Parser::stepsAfter(int value)
{
    while (isPunct(peek(), "++") || isPunct(peek(), "--"))
        value = step(next(), value, true);
    return value;
}

int Parser::primary()
{
    const Token &token = next();
    switch (token.kind) {
    case Token::Kind::Int: return literal(Type::Int, {.i = static_cast<int>(token.value.integer)}, token.line);
    case Token::Kind::Long: return literal(Type::Long, {.l = token.value.integer}, token.line);
    case Token::Kind::Float: return literal(Type::Float, {.f = token.value.single}, token.line);
    case Token::Kind::Double: return literal(Type::Double, {.d = token.value.real}, token.line);
    case Token::Kind::Punct:
        if (token.text == "(") {
            const Nest nest(*this, m_expressionDepth, kMaxExpressionNesting, token);
            const int value = expression();
            expect(")");
            return value;
        }
        break;
    case Token::Kind::Word: {
        // Nearly every word is a name: the few others told by their first
        // character and length.
        const std::size_t size = token.text.size();
        switch (token.text[0]) {
        case 't': return size == 4 ? wordOperand(token) : name(token);
        case 'f': return size == 5 ? wordOperand(token) : name(token);
        case 's': return size == 3 || size == 11 ? wordOperand(token) : name(token);
        case 'P': return size == 12 ? wordOperand(token) : name(token);
        default: return name(token);
        }
    }
    default:
        break;
    }
    refuseExpecting(token, FaultKind::Operand);
}

// An operand that is a word: a literal, a cast, a colour of the palette,
// a name of std or a name.
int Parser::wordOperand(const Token &token)
{
    if (token.text == "true" || token.text == "false")
        return literal(Type::Bool, {.i = token.text == "true"}, token.line);
    if (token.text == "static_cast") {
        expect("<");
        const Token &typeAt = peek();
        const std::optional<Type> type = typeWord(typeAt);
        if (!type || *type == Type::Void)
            refuseExpecting(typeAt, FaultKind::ValueType);
        next();
        expect(">");
        const Token &open = expect("(");
        const Nest nest(*this, m_expressionDepth, kMaxExpressionNesting, open);
        const int value = expression();
        expect(")");
        return convert(value, *type, token);
    }
    if (token.text == "PaletteColor") {
        need(DeclaresPalette, token, "PaletteColor", "\"Palette.h\"");
        expect("(");
        const int number = convert(arguments(token, 1)[0], Type::Int, token);
        return operation(OpCode::Palette, Type::Colour, token.line, number);
    }
    if (token.text == "std")
        return stdName(token);
    return name(token);
}

int Parser::name(const Token &token)
{
    if (token.text == m_declaring)
        refuseQuoting(token, FaultKind::OwnInitializer);
    if (const Symbol *symbol = lookUp(token.text)) {
        switch (symbol->kind) {
        case Symbol::Kind::Function:
            if (!isPunct(peek(), "("))
                refuseExpected("(");
            return call(token, *symbol);
        case Symbol::Kind::Constant:
            m_lastName = symbol;
            return m_lastNameExpr = literal(symbol->type, symbol->value, token.line);
        case Symbol::Kind::Variable:
        case Symbol::Kind::Surface:
            newExpr(Expr::Kind::Local, symbol->type, token.line).slot = symbol->slot;
            m_lastName = symbol;
            return m_lastNameExpr = lastExpr();
        }
    }
    return undeclared(token);
}

// A name the routine does not declare: of the library, or refused.
int Parser::undeclared(const Token &token)
{
    if (const NamedConstant *constant = findMacroConstant(token.text)) {
        need(DeclaresMath, token, constant->name.data(), "<cmath>");
        RoutineSlot value{};
        if (constant->type == Type::Float)
            value.f = static_cast<float>(constant->value);
        else
            value.d = constant->value;
        return literal(constant->type, value, token.line);
    }
    if (token.text == "abs" || token.text == "min" || token.text == "max" || token.text == "pi")
        refuse(token, FaultKind::DidYouMean,
               {quotedForMessage(token.text),
                quotedForMessage(token.text == "pi" ? "std::numbers::pi" : "std::" + std::string(token.text))});
    const MathFunction *math = findMath(token.text);
    if (math && isPunct(peek(), "(")) {
        need(DeclaresMath, token, std::string(token.text).c_str(), "<cmath>");
        return mathCall(token, *math, false);
    }
    if (macroOrReserved(token.text) & kMacro)
        refuseQuoting(token, FaultKind::NotSupported);
    if (math)
        refuse(token, FaultKind::DidYouMean,
               {quotedForMessage(token.text), quotedForMessage("std::" + std::string(token.text) + "(...)")});
    refuseQuoting(token, FaultKind::NotDeclared);
}

int Parser::call(const Token &callee, const Symbol &function)
{
    const FunctionSyntax &called = m_syntax.functions[function.function];
    const std::vector<Type> parameters = called.parameters;
    const std::string name = called.name;
    next();
    const std::size_t count = parameters.size();
    std::vector<int> values = arguments(callee, count);
    for (std::size_t i = 0; i < count; ++i) {
        if (parameters[i] == Type::Surface) {
            if (at(values[i]).type != Type::Surface)
                refuse(callee, FaultKind::SurfaceExpected, {quotedForMessage(name)});
        } else {
            values[i] = convert(values[i], parameters[i], callee);
        }
    }
    return made({.kind = Expr::Kind::Call, .type = function.type, .line = callee.line, .function = function.function,
                 .arguments = m_syntax.lists.add(values)});
}

int Parser::stdName(const Token &std)
{
    expect("::");
    const Token &name = next();
    if (isWord(name, "numbers")) {
        need(DeclaresNumbers, name, "std::numbers", "<numbers>");
        expect("::");
        const Token &constant = next();
        const NamedConstant *number = findNumber(constant.text);
        if (constant.kind != Token::Kind::Word || !number)
            refuse(constant, FaultKind::NotDeclared, {quotedForMessage("std::numbers::" + std::string(constant.text))});
        return literal(Type::Double, {.d = number->value}, constant.line);
    }
    if (isWord(name, "min") || isWord(name, "max")) {
        const std::string function = "std::" + std::string(name.text);
        need(DeclaresMinMax, name, function.c_str(), "<algorithm>");
        expect("(");
        const std::vector<int> values = arguments(name, 2);
        const Type type = at(values[0]).type;
        if (type != at(values[1]).type || (type != Type::Int && type != Type::Float && type != Type::Double))
            refuse(name, FaultKind::MinMaxTypes,
                   {quotedForMessage(function), typeName(at(values[0]).type), typeName(at(values[1]).type)});
        const bool min = name.text == "min";
        const OpCode op = type == Type::Int    ? (min ? OpCode::MinI : OpCode::MaxI)
                          : type == Type::Float ? (min ? OpCode::MinF : OpCode::MaxF)
                                                : (min ? OpCode::MinD : OpCode::MaxD);
        return operation(op, type, name.line, values[0], values[1]);
    }
    const MathFunction *math = name.kind == Token::Kind::Word ? findMath(name.text) : nullptr;
    if (!math)
        refuse(name, FaultKind::NotInLibrary, {quotedForMessage("std::" + std::string(name.text))});
    (void)std;
    return mathCall(name, *math, true);
}

// A function of <cmath>: as std:: overloads it, on floats for float
// arguments and on doubles for any other, and std::abs on ints for an int;
// without std::, glibc's own, on doubles.
int Parser::mathCall(const Token &name, const MathFunction &function, bool qualified)
{
    need(DeclaresMath, name, std::string(name.text).c_str(), "<cmath>");
    expect("(");
    std::vector<int> values = arguments(name, static_cast<std::size_t>(function.arguments));
    bool onFloat = qualified;
    for (int &value : values) {
        value = promoted(value, name);
        onFloat = onFloat && at(value).type == Type::Float;
    }
    if (qualified && function.name == "abs" && at(values[0]).type == Type::Int)
        return operation(OpCode::AbsI, Type::Int, name.line, values[0]);
    const Type type = onFloat ? Type::Float : Type::Double;
    for (int &value : values)
        value = convert(value, type, name);
    const OpCode op = function.arguments == 1 ? (onFloat ? OpCode::MathF1 : OpCode::MathD1)
                                              : (onFloat ? OpCode::MathF2 : OpCode::MathD2);
    return operation(op, type, name.line, values[0], values.size() > 1 ? values[1] : -1, numberOf(function));
}

// The arguments of a call, its opening bracket already read.
std::vector<int> Parser::arguments(const Token &callee, std::size_t count)
{
    const Nest nest(*this, m_expressionDepth, kMaxExpressionNesting, callee);
    std::vector<int> values;
    if (!isPunct(peek(), ")")) {
        values.push_back(assignment());
        while (isPunct(peek(), ",")) {
            next();
            values.push_back(assignment());
        }
    }
    if (values.size() != count)
        refuse(callee, count == 1 ? FaultKind::OneArgument : FaultKind::Arguments,
               {quotedForMessage(callee.text), std::to_string(count), std::to_string(values.size())});
    expect(")");
    return values;
}

int Parser::arithmetic(const Token &op, int a, int b)
{
    a = promoted(a, op);
    b = promoted(b, op);
    const Type type = commonType(at(a).type, at(b).type);
    if (op.text == "%" && type != Type::Int && type != Type::Long)
        refuseRemainder(op, type);
    a = convert(a, type, op);
    b = convert(b, type, op);
    using O = OpCode;
    // Static, as every table of operations a node is made from: one in the
    // frame would be a local array, its stack checked at every call.
    static constexpr std::array<OpFamily, 5> kFamilies = {{
        {O::AddI, O::AddL, O::AddF, O::AddD},
        {O::SubI, O::SubL, O::SubF, O::SubD},
        {O::MulI, O::MulL, O::MulF, O::MulD},
        {O::DivI, O::DivL, O::DivF, O::DivD},
        {O::RemI, O::RemL, O::End, O::End},
    }};
    const char c = op.text[0];
    const std::size_t family = c == '+' ? 0 : c == '-' ? 1 : c == '*' ? 2 : c == '/' ? 3 : 4;
    return operation(ofType(kFamilies[family], type), type, op.line, a, b);
}

int Parser::compare(const Token &op, int a, int b)
{
    a = promoted(a, op);
    b = promoted(b, op);
    const Type type = commonType(at(a).type, at(b).type);
    a = convert(a, type, op);
    b = convert(b, type, op);
    using O = OpCode;
    const std::string_view text = op.text;
    const bool swapped = text == ">" || text == ">=";
    static constexpr std::array<OpFamily, 4> kFamilies = {{
        {O::EqI, O::EqL, O::EqF, O::EqD},
        {O::NeI, O::NeL, O::NeF, O::NeD},
        {O::LtI, O::LtL, O::LtF, O::LtD},
        {O::LeI, O::LeL, O::LeF, O::LeD},
    }};
    const std::size_t family = text == "==" ? 0 : text == "!=" ? 1 : text == "<" || text == ">" ? 2 : 3;
    const int made =
        operation(ofType(kFamilies[family], type), Type::Bool, op.line, swapped ? b : a, swapped ? a : b);
    // Kept in the order written, for the emitter to work out in that order.
    if (swapped && at(made).kind != Expr::Kind::Constant) {
        Expr &expr = m_syntax.exprs[static_cast<std::size_t>(made)];
        std::swap(expr.a, expr.b);
        expr.after = true;
    }
    return made;
}

int Parser::step(const Token &op, int target, bool after)
{
    if (target != m_lastNameExpr || !m_lastName || m_lastName->kind == Symbol::Kind::Surface)
        refuse(op, FaultKind::NotAssignable);
    if (m_lastName->isConst)
        refuse(op, FaultKind::ConstAssigned, {quotedForMessage(m_lastName->name)});
    const Type type = at(target).type;
    if (type == Type::Bool)
        refuse(op, FaultKind::BoolStep);
    using O = OpCode;
    const OpFamily family = op.text == "++" ? OpFamily{O::AddI, O::AddL, O::AddF, O::AddD}
                                          : OpFamily{O::SubI, O::SubL, O::SubF, O::SubD};
    m_lastNameExpr = -1;
    return made({.kind = Expr::Kind::Step, .type = type, .op = ofType(family, type), .after = after, .line = op.line,
                 .slot = at(target).slot});
}

int Parser::assign(const Token &op, int target, const Symbol *assigned, int value)
{
    if (!assigned || assigned->kind == Symbol::Kind::Surface)
        refuse(op, FaultKind::NotAssignable);
    if (assigned->isConst)
        refuse(op, FaultKind::ConstAssigned, {quotedForMessage(assigned->name)});
    const Type type = at(target).type;
    const int slot = at(target).slot;
    if (op.text != "=") {
        const Token arithmeticOp{.kind = Token::Kind::Punct, .code = punctCode(op.text.substr(0, 1)),
                                 .text = op.text.substr(0, 1), .line = op.line, .offset = op.offset};
        value = arithmetic(arithmeticOp, target, value);
    }
    value = convert(value, type, op);
    m_lastNameExpr = -1;
    return made({.kind = Expr::Kind::Assign, .type = type, .line = op.line, .a = value, .slot = slot});
}

} // namespace sweepdraw
