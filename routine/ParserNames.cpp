#include "Parser.h"

#include "Library.h"
#include "MathFolding.h"
#include "RoutineMachine.h"

#include <array>

namespace sweepdraw {

namespace {

OpCode conversion(Type from, Type to)
{
    using O = OpCode;
    static constexpr std::array<OpFamily, 4> kTo = {{
        {O::End, O::IntToLong, O::IntToFloat, O::IntToDouble},
        {O::LongToInt, O::End, O::LongToFloat, O::LongToDouble},
        {O::FloatToInt, O::FloatToLong, O::End, O::FloatToDouble},
        {O::DoubleToInt, O::DoubleToLong, O::DoubleToFloat, O::End},
    }};
    return ofType(kTo[static_cast<std::size_t>(from) - static_cast<std::size_t>(Type::Int)], to);
}

} // namespace

std::string typeName(Type type)
{
    if (type == Type::Colour)
        return phrase(FaultKind::Colour);
    if (type == Type::Surface)
        return phrase(FaultKind::DrawingSurface);
    constexpr std::array<const char *, 6> kNames = {"void", "bool", "int", "long", "float", "double"};
    return kNames[static_cast<std::size_t>(type)];
}

void Parser::refuseNesting(const Token &at, int limit) const
{
    refuse(at, FaultKind::NestedTooDeep, {std::to_string(limit)});
}

std::string Parser::describe(const Token &token) const
{
    if (token.kind == Token::Kind::End)
        return phrase(FaultKind::EndOfFile);
    return quotedForMessage(token.text);
}

void Parser::refuse(const Token &at, FaultKind fault, std::initializer_list<std::string> values) const
{
    m_source.refuse(at.offset, fault, values);
}

void Parser::refuseQuoting(const Token &at, FaultKind fault) const
{
    refuse(at, fault, {quotedForMessage(at.text)});
}

void Parser::refuseExpecting(const Token &at, FaultKind what) const
{
    refuse(at, FaultKind::Expected, {phrase(what), describe(at)});
}

void Parser::refuseUnchecked(const Token &operation) const
{
    refuse(operation, FaultKind::UncheckedOperation, {quotedForMessage(operation.text), std::string(operation.text)});
}

void Parser::refuseRemainder(const Token &op, Type type) const
{
    refuse(op, FaultKind::RemainderOfInts, {typeName(type)});
}

void Parser::refuseExpected(std::string_view spelled) const
{
    refuse(peek(), FaultKind::Expected, {quotedForMessage(spelled), describe(peek())});
}

void Parser::expectWord(std::string_view word)
{
    if (!isWord(peek(), word))
        refuseExpected(word);
    next();
}

void Parser::need(unsigned declares, const Token &at, const char *name, const char *header) const
{
    if (!(m_declared & declares))
        refuse(at, FaultKind::NeedsHeader, {quotedForMessage(name), header});
}

const Parser::Symbol *Parser::lookUp(std::string_view name) const
{
    // The functions' scopes, innermost first, and then the namespace's.
    const std::size_t namespaceEnd = m_scopes.size() > 1 ? m_scopes[1] : m_symbols.size();
    for (std::size_t i = m_symbols.size(); i > namespaceEnd; --i)
        if (same(m_symbols[i - 1].name, name))
            return &m_symbols[i - 1];
    const std::uint32_t *found = m_namespaceNames.find(name);
    return found ? &m_symbols[*found] : nullptr;
}

const Token &Parser::newName()
{
    const Token &name = peek();
    if (name.kind != Token::Kind::Word)
        refuseExpecting(name, FaultKind::Name);
    if (const unsigned kind = macroOrReserved(name.text))
        refuseQuoting(name, kind & kMacro ? FaultKind::MacroName : FaultKind::ReservedName);
    const bool taken = m_scopes.size() == 1
        ? m_namespaceNames.find(name.text) != nullptr
        : std::any_of(m_symbols.begin() + static_cast<std::ptrdiff_t>(m_scopes.back()), m_symbols.end(),
                      [&](const Symbol &symbol) { return same(symbol.name, name.text); });
    if (taken)
        refuseQuoting(name, FaultKind::Redeclared);
    return next();
}

void Parser::openScope()
{
    m_scopes.push_back(m_symbols.size());
}

void Parser::closeScope()
{
    m_symbols.resize(m_scopes.back());
    m_scopes.pop_back();
}

void Parser::declare(const Token &name, Symbol symbol)
{
    symbol.name = name.text;
    if (m_scopes.size() == 1)
        m_namespaceNames.insert(name.text, static_cast<std::uint32_t>(m_symbols.size()));
    m_symbols.push_back(symbol);
}

// The statements gathered since `first`, as a list of the tree.
std::span<const int> Parser::children(std::size_t first)
{
    const std::span<const int> list = m_syntax.lists.add(std::span(m_children).subspan(first));
    m_children.resize(first);
    return list;
}

int Parser::addStmt(Stmt stmt)
{
    m_syntax.stmts.push_back(std::move(stmt));
    return static_cast<int>(m_syntax.stmts.size() - 1);
}

int Parser::made(const Expr &e)
{
    m_syntax.exprs.push_back(e);
    if (m_function) {
        if ((e.kind == Expr::Kind::Assign || e.kind == Expr::Kind::Step) && e.slot < 64)
            m_function->assigned |= std::uint64_t{1} << e.slot;
        else if (e.kind == Expr::Kind::Call)
            m_function->calls.push_back(e.function);
    }
    return static_cast<int>(m_syntax.exprs.size() - 1);
}

int Parser::literal(Type type, RoutineSlot value, int line)
{
    newExpr(Expr::Kind::Constant, type, line).value = value;
    return lastExpr();
}

namespace {

// A call of <cmath> on constants, as the compiler works it out; nothing for
// any other operation, and where the compiler leaves the call to run time.
std::optional<RoutineSlot> foldedMath(OpCode op, std::uint32_t function, RoutineSlot a, RoutineSlot b)
{
    const bool onFloat = op == OpCode::MathF1 || op == OpCode::MathF2;
    if (!onFloat && op != OpCode::MathD1 && op != OpCode::MathD2)
        return std::nullopt;
    const std::optional<double> folded = onFloat
        ? foldedByCompiler(mathFunction(function), true, static_cast<double>(a.f), static_cast<double>(b.f))
        : foldedByCompiler(mathFunction(function), false, a.d, b.d);
    if (!folded)
        return std::nullopt;
    RoutineSlot value{};
    if (onFloat)
        value.f = static_cast<float>(*folded);
    else
        value.d = *folded;
    return value;
}

} // namespace

// An operation, worked out now when its operands are known and it cannot
// fail, as the compiler works it out.
int Parser::operation(OpCode op, Type type, int line, int a, int b, std::uint32_t function)
{
    Expr &e = newExpr(Expr::Kind::Operation, type, line);
    e.op = op;
    e.a = a;
    e.b = b;
    e.function = function;
    const int made = lastExpr();
    if (at(a).kind != Expr::Kind::Constant || (b >= 0 && at(b).kind != Expr::Kind::Constant))
        return made;
    folded(op, type, line, a, b, function);
    return made;
}

// The operation just made, on the constants a and b, as its value where it
// cannot fail; kept out of operation(), which most operations leave at once.
void Parser::folded(OpCode op, Type type, int line, int a, int b, std::uint32_t function)
{
    RoutineSlot slots[3] = {{}, at(a).value, b >= 0 ? at(b).value : RoutineSlot{}};
    if (const std::optional<RoutineSlot> math = foldedMath(op, function, slots[1], slots[2])) {
        m_syntax.exprs.back() = {.kind = Expr::Kind::Constant, .type = type, .line = line, .value = *math};
        return;
    }
    const Instruction instruction{.op = op, .a = 0, .b = 1, .c = 2, .target = function};
    if (!RoutineMachine::evaluate(instruction, slots))
        return;
    m_syntax.exprs.back() = {.kind = Expr::Kind::Constant, .type = type, .line = line, .value = slots[0]};
}

int Parser::converted(int expr, Type to, const Token &where)
{
    const Type from = at(expr).type;
    if (to == Type::Bool)
        return toBool(expr, where);
    if (to == Type::Void || to == Type::Colour || to == Type::Surface)
        refuse(where, FaultKind::Expected, {typeName(to), typeName(from)});
    numeric(expr, where);
    if (from == Type::Bool) {
        // A bool is an int slot holding 0 or 1 already.
        Expr asInt = at(expr);
        asInt.type = Type::Int;
        expr = made(asInt);
        if (to == Type::Int)
            return expr;
    }
    return operation(conversion(at(expr).type, to), to, at(expr).line, expr);
}

int Parser::toBool(int expr, const Token &where)
{
    const Type type = numeric(expr, where);
    if (type == Type::Bool)
        return expr;
    static constexpr OpFamily kToBool = {OpCode::IntToBool, OpCode::LongToBool, OpCode::FloatToBool,
                                         OpCode::DoubleToBool};
    const OpCode op = ofType(kToBool, type);
    return operation(op, Type::Bool, at(expr).line, expr);
}

void Parser::refuseNeedsType(const Token &name) const
{
    refuse(name, FaultKind::NeedsType, {quotedForMessage(name.text), std::string(name.text)});
}

void Parser::refuseNotNumber(int expr, const Token &where) const
{
    const Expr &value = at(expr);
    if (value.type == Type::Colour)
        refuse(where, FaultKind::ColourNotNumber);
    if (value.type == Type::Surface)
        refuse(where, FaultKind::SurfaceNotNumber);
    refuse(where, FaultKind::VoidNotValue, {quotedForMessage(m_syntax.functions[value.function].name)});
}

} // namespace sweepdraw
