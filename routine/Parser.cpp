#include "Parser.h"

#include "Library.h"
#include "Operation.h"

#include <array>

namespace sweepdraw {

namespace {

struct SurfaceOperation
{
    std::string_view name;
    OpCode op;
    std::size_t arguments; // the last is the colour, but for SetPenWidth's width
};

constexpr std::array<SurfaceOperation, 5> kOperations = {{
    {operationName(Operation::SetPenWidth), OpCode::SetPenWidth, 1},
    {operationName(Operation::PlotPoint), OpCode::PlotPoint, 3},
    {operationName(Operation::DrawBox), OpCode::DrawBox, 5},
    {operationName(Operation::DrawCircle), OpCode::DrawCircle, 4},
    {operationName(Operation::ClearSurface), OpCode::ClearSurface, 0},
}};

} // namespace

Parser::Parser(const RoutineSource &source, const std::vector<Token> &tokens, RoutineSyntax &syntax,
               RoutineProgram &program)
    : m_source(source)
    , m_token(tokens.data())
    , m_lastToken(tokens.size() - 1)
    , m_syntax(syntax)
    , m_program(program)
{
    // A token makes about one node of the tree, and a statement takes a
    // few tokens: room enough that the tree is rarely moved as it grows.
    m_syntax.exprs.reserve(tokens.size());
    m_syntax.stmts.reserve(tokens.size() / 4);
}

Parser::Scratch &Parser::emptiedScratch()
{
    thread_local Scratch scratch;
    scratch.symbols.clear();
    scratch.scopes.clear();
    scratch.children.clear();
    scratch.namespaceNames.clear();
    return scratch;
}

void Parser::file()
{
    openScope();
    while (peek().kind == Token::Kind::Include) {
        const Token &include = next();
        const unsigned *declares = declaredBy(include.text);
        if (!declares)
            refuse(include, FaultKind::UnknownHeader);
        m_declared |= *declares;
    }
    expectWord("namespace");
    if (!isWord(peek(), "sweepdraw"))
        refuse(peek(), FaultKind::ExpectedNamespace);
    next();
    expect("{");
    while (!isPunct(peek(), "}")) {
        const Token &first = peek();
        if (isWord(first, "const") || isWord(first, "constexpr")) {
            next();
            namespaceValue(first.text == "constexpr");
            continue;
        }
        const std::optional<Type> type = typeWord(first);
        if (!type)
            refuseExpecting(first, FaultKind::FunctionOrConstant);
        next();
        const Token &name = newName();
        if (!isPunct(peek(), "("))
            refuse(first, FaultKind::NamespaceNotConst);
        function(*type, name);
    }
    const Token &close = next();
    if (peek().kind == Token::Kind::Include)
        refuse(peek(), FaultKind::IncludeAfter);
    if (peek().kind != Token::Kind::End)
        refuse(peek(), FaultKind::ExpectedEnd, {describe(peek())});
    const auto &functions = m_syntax.functions;
    if (functions.empty() || functions.back().result != Type::Void || functions.back().parameters.size() != 1
        || functions.back().parameters[0] != Type::Surface)
        m_source.refuse(functions.empty() ? close.offset : functions.back().offset, FaultKind::DrawingFunctionLast);
    m_program.functionName = functions.back().name;
}

void Parser::namespaceValue(bool constexprValue)
{
    const Token &typeAt = peek();
    const std::optional<Type> type = typeWord(typeAt);
    if (!type || *type == Type::Void)
        refuseExpecting(typeAt, FaultKind::ValueType);
    next();
    do {
        const Token &name = newName();
        const Token &valueAt = peek(1);
        const int value = initializer(name, *type);
        if (at(value).kind != Expr::Kind::Constant)
            refuse(valueAt, constexprValue ? FaultKind::ConstexprNotConstant : FaultKind::NamespaceNotConstant,
                   {quotedForMessage(name.text)});
        declare(name, {.kind = Symbol::Kind::Constant, .type = *type, .isConst = true, .value = at(value).value});
    } while (isPunct(peek(), ",") && (next(), true));
    expect(";");
}

void Parser::function(Type result, const Token &name)
{
    const auto index = static_cast<std::uint32_t>(m_syntax.functions.size());
    m_syntax.functions.push_back({.name = std::string(name.text),
                                  .result = result,
                                  .line = name.line,
                                  .offset = name.offset,
                                  .firstExpr = static_cast<std::uint32_t>(m_syntax.exprs.size()),
                                  .firstStmt = static_cast<std::uint32_t>(m_syntax.stmts.size())});
    declare(name, {.kind = Symbol::Kind::Function, .type = result, .function = index});
    m_function = &m_syntax.functions.back();
    expect("(");
    openScope();
    while (!isPunct(peek(), ")")) {
        if (!m_function->parameters.empty())
            expect(",");
        const bool isConst = isWord(peek(), "const") && (next(), true);
        const Token &typeAt = peek();
        if (isWord(typeAt, "DrawingSurface")) {
            need(DeclaresSurfaceClass, typeAt, "DrawingSurface", "\"DrawingSurface.h\"");
            next();
            expect("&");
            const Token &parameter = newName();
            m_function->parameters.push_back(Type::Surface);
            declare(parameter, {.kind = Symbol::Kind::Surface, .type = Type::Surface, .slot = m_function->variables++});
            continue;
        }
        const std::optional<Type> type = typeWord(typeAt);
        if (!type || *type == Type::Void)
            refuseExpecting(typeAt, FaultKind::ParameterType);
        next();
        const Token &parameter = newName();
        m_function->parameters.push_back(*type);
        declare(parameter, {.type = *type, .isConst = isConst, .slot = m_function->variables++});
    }
    next();
    m_breakable = 0;
    m_inLoopBody = false;
    const int body = block(false);
    m_function = &m_syntax.functions[index];
    m_function->body = body;
    m_function->endExpr = static_cast<std::uint32_t>(m_syntax.exprs.size());
    m_function->endStmt = static_cast<std::uint32_t>(m_syntax.stmts.size());
    closeScope();
    m_function = nullptr;
}

// The value a name is declared with, "= value", converted to its type.
int Parser::initializer(const Token &name, Type type)
{
    if (!isPunct(peek(), "="))
        refuse(peek(), FaultKind::NeedsValue, {quotedForMessage(name.text), typeName(type)});
    next();
    m_declaring = name.text;
    const Token &valueAt = peek();
    const int value = convert(assignment(), type, valueAt);
    m_declaring = {};
    return value;
}

// A block; in a scope of its own unless it is a function's or a loop
// body's, whose parameters share its scope, as C++ has them.
int Parser::block(bool ownScope)
{
    const Token &open = expect("{");
    if (ownScope)
        openScope();
    const std::size_t first = m_children.size();
    while (!isPunct(peek(), "}")) {
        if (peek().kind == Token::Kind::End)
            refuseExpected("}");
        const int child = statement();
        m_children.push_back(child);
    }
    next();
    if (ownScope)
        closeScope();
    return addStmt({.kind = Stmt::Kind::Block, .line = open.line, .children = children(first)});
}

// The statement an if, else, for, while or do governs, in a scope of its
// own.
int Parser::substatement()
{
    openScope();
    const int stmt = statement();
    closeScope();
    return stmt;
}

namespace {

// The words that begin a statement of their own, or one the language
// leaves out.
enum class Opening : std::uint8_t {
    Other, If, For, While, Do, Break, Continue, Return, Check, Sweep, ColourPass, Const, Constexpr, LeftOut,
};

// Asked of the first word of every statement: told by its first
// character before the rest is compared.
Opening openingOf(std::string_view word)
{
    const auto is = [word](std::string_view keyword) { return word == keyword; };
    switch (word[0]) {
    case 'i': return is("if") ? Opening::If : Opening::Other;
    case 'f': return is("for") ? Opening::For : Opening::Other;
    case 'w': return is("while") ? Opening::While : Opening::Other;
    case 'd': return is("do") ? Opening::Do : Opening::Other;
    case 'b': return is("break") ? Opening::Break : Opening::Other;
    case 'r': return is("return") ? Opening::Return : Opening::Other;
    case 'S': return is("Sweep") ? Opening::Sweep : Opening::Other;
    case 'C': return is("ColourPass") ? Opening::ColourPass : Opening::Other;
    case 'c':
        return is("continue") ? Opening::Continue
             : is("check")    ? Opening::Check
             : is("const")    ? Opening::Const
             : is("constexpr") ? Opening::Constexpr
             : is("class")    ? Opening::LeftOut
                              : Opening::Other;
    case 's': return is("switch") || is("static") || is("struct") ? Opening::LeftOut : Opening::Other;
    case 'g': return is("goto") ? Opening::LeftOut : Opening::Other;
    case 'a': return is("auto") ? Opening::LeftOut : Opening::Other;
    case 'l': return is("long") ? Opening::LeftOut : Opening::Other;
    case 'u': return is("unsigned") ? Opening::LeftOut : Opening::Other;
    default: return Opening::Other;
    }
}

} // namespace

int Parser::statement()
{
    const Token &first = peek();
    const Nest nest(*this, m_blockDepth, kMaxBlockNesting, first);
    if (isPunct(first, "{"))
        return block(true);
    if (isPunct(first, ";")) {
        next();
        return addStmt({.kind = Stmt::Kind::Block, .line = first.line});
    }
    const Opening opening = first.kind == Token::Kind::Word ? openingOf(first.text) : Opening::Other;
    switch (opening) {
    case Opening::If: {
        next();
        expect("(");
        const int condition = toBool(expression(), first);
        expect(")");
        const int body = substatement();
        const int otherwise = isWord(peek(), "else") && (next(), true) ? substatement() : -1;
        return addStmt(
            {.kind = Stmt::Kind::If, .line = first.line, .expr = condition, .body = body, .otherwise = otherwise});
    }
    case Opening::For: return forStatement();
    case Opening::While:
    case Opening::Do: {
        next();
        const bool isDo = opening == Opening::Do;
        int condition = -1;
        if (!isDo) {
            expect("(");
            condition = toBool(expression(), first);
            expect(")");
        }
        ++m_breakable;
        const int body = substatement();
        --m_breakable;
        if (isDo) {
            expectWord("while");
            expect("(");
            condition = toBool(expression(), first);
            expect(")");
            expect(";");
        }
        return addStmt({.kind = isDo ? Stmt::Kind::Do : Stmt::Kind::While, .line = first.line, .expr = condition,
                        .body = body});
    }
    case Opening::Break:
    case Opening::Continue:
        next();
        if (m_breakable == 0)
            refuseQuoting(first, FaultKind::BreakOutside);
        expect(";");
        return addStmt(
            {.kind = opening == Opening::Break ? Stmt::Kind::Break : Stmt::Kind::Continue, .line = first.line});
    case Opening::Return: return returnStatement();
    case Opening::Check: return surfaceOperation();
    case Opening::Sweep:
    case Opening::ColourPass: return loop();
    case Opening::Const:
    case Opening::Constexpr: return declaration();
    case Opening::Other:
    case Opening::LeftOut: break;
    }
    if (typeWord(first) && !isPunct(peek(1), "("))
        return declaration();
    if (first.kind == Token::Kind::Word && isPunct(peek(1), ".")) {
        const Symbol *surface = lookUp(first.text);
        if (surface && surface->kind == Symbol::Kind::Surface)
            refuseUnchecked(peek(2));
    }
    if (opening == Opening::LeftOut)
        refuseQuoting(first, FaultKind::NotSupported);
    const int value = expression();
    expect(";");
    return addStmt({.kind = Stmt::Kind::Expression, .line = first.line, .expr = value});
}

// A variable or a constant: one whose value is known before the routine
// runs is kept as that value, as the compiler keeps it.
int Parser::declaration()
{
    const Token &first = peek();
    const bool isConstexpr = isWord(first, "constexpr");
    const bool isConst = isConstexpr || isWord(first, "const");
    if (isConst)
        next();
    const Token &typeAt = peek();
    const std::optional<Type> type = typeWord(typeAt);
    if (!type || *type == Type::Void)
        refuseExpecting(typeAt, FaultKind::ValueType);
    next();
    const std::size_t firstChild = m_children.size();
    do {
        const Token &name = newName();
        const Token &valueAt = peek(1);
        const int value = initializer(name, *type);
        if (isConst && at(value).kind == Expr::Kind::Constant) {
            declare(name, {.kind = Symbol::Kind::Constant, .type = *type, .isConst = true, .value = at(value).value});
            continue;
        }
        if (isConstexpr)
            refuse(valueAt, FaultKind::ConstexprNotConstant, {quotedForMessage(name.text)});
        const int slot = m_function->variables++;
        // An initializer makes no statement: each assignment's is the next.
        const int assignment =
            made({.kind = Expr::Kind::Assign, .type = *type, .line = name.line, .a = value, .slot = slot});
        m_children.push_back(addStmt({.kind = Stmt::Kind::Expression, .line = first.line, .expr = assignment}));
        declare(name, {.type = *type, .isConst = isConst, .slot = slot});
    } while (isPunct(peek(), ",") && (next(), true));
    expect(";");
    return addStmt({.kind = Stmt::Kind::Block, .line = first.line, .children = children(firstChild)});
}

int Parser::forStatement()
{
    const Token &first = next();
    expect("(");
    openScope();
    int init = -1;
    if (!isPunct(peek(), ";")) {
        if (isWord(peek(), "const") || isWord(peek(), "constexpr") || typeWord(peek())) {
            init = declaration();
        } else {
            const Token &at = peek();
            init = addStmt({.kind = Stmt::Kind::Expression, .line = at.line, .expr = expression()});
            expect(";");
        }
    } else {
        next();
    }
    const int condition = isPunct(peek(), ";") ? -1 : toBool(expression(), first);
    expect(";");
    const int step = isPunct(peek(), ")") ? -1 : expression();
    expect(")");
    ++m_breakable;
    // The body's block shares the scope of what the for declares.
    const int body = isPunct(peek(), "{") ? block(false) : statement();
    --m_breakable;
    closeScope();
    return addStmt({.kind = Stmt::Kind::For,
                    .line = first.line,
                    .expr = condition,
                    .init = init,
                    .step = step,
                    .body = body});
}

int Parser::returnStatement()
{
    const Token &first = next();
    Stmt stmt{.kind = Stmt::Kind::Return, .line = first.line, .inLoopBody = m_inLoopBody};
    const Type result = m_inLoopBody ? Type::Void : m_function->result;
    if (isPunct(peek(), ";")) {
        if (result != Type::Void)
            refuse(first, FaultKind::ReturnNeedsValue, {quotedForMessage(m_function->name), typeName(result)});
    } else {
        if (m_inLoopBody)
            refuse(peek(), FaultKind::ReturnInLoopBody);
        if (result == Type::Void)
            refuse(peek(), FaultKind::ReturnNoValue, {quotedForMessage(m_function->name)});
        const Token &valueAt = peek();
        stmt.expr = convert(expression(), result, valueAt);
    }
    expect(";");
    return addStmt(std::move(stmt));
}

int Parser::surfaceOperation()
{
    const Token &check = next();
    need(DeclaresCheck, check, "check", "\"RuntimeError.h\"");
    expect("(");
    const Token &object = next();
    const Symbol *surface = object.kind == Token::Kind::Word ? lookUp(object.text) : nullptr;
    if (!surface || surface->kind != Symbol::Kind::Surface)
        refuseExpecting(object, FaultKind::DrawingSurface);
    expect(".");
    const Token &name = next();
    const SurfaceOperation *operation = nullptr;
    for (const SurfaceOperation &known : kOperations)
        if (name.kind == Token::Kind::Word && known.name == name.text)
            operation = &known;
    if (!operation)
        refuseQuoting(name, FaultKind::NotOperation);
    need(DeclaresSurface, name, std::string(name.text).c_str(), "\"DrawingSurface.h\"");
    expect("(");
    const std::size_t count = operation->arguments;
    std::vector<int> values = arguments(name, count);
    expect(")");
    expect(";");
    m_program.calls.push_back({name.line, std::string(operation->name), m_loopLines.back()});
    if (operation->op == OpCode::SetPenWidth) {
        values[0] = convert(values[0], Type::Int, name);
    } else if (!values.empty()) {
        for (std::size_t i = 0; i + 1 < values.size(); ++i)
            values[i] = convert(values[i], Type::Float, name);
        if (at(values.back()).type != Type::Colour)
            refuse(name, FaultKind::ColourNotPalette,
                   {std::string(operation->name), typeName(at(values.back()).type)});
    }
    return addStmt(
        {.kind = Stmt::Kind::Surface, .line = name.line, .children = m_syntax.lists.add(values), .op = operation->op});
}

int Parser::loop()
{
    const Token &call = next();
    need(DeclaresLoops, call, std::string(call.text).c_str(), "\"Sweep.h\"");
    const bool sweep = call.text == "Sweep";
    const Type type = sweep ? Type::Double : Type::Int;
    expect("(");
    Stmt stmt{.kind = Stmt::Kind::Loop, .line = call.line, .op = sweep ? OpCode::SweepStart : OpCode::ColourStart};
    std::array<int, 3> bounds{};
    for (int &bound : bounds) {
        const Token &at = peek();
        bound = convert(assignment(), type, at);
        expect(",");
    }
    stmt.children = m_syntax.lists.add(bounds);
    expect("[");
    expect("&");
    expect("]");
    expect("(");
    const Token &typeAt = peek();
    if (typeWord(typeAt) != type)
        refuse(typeAt, FaultKind::CounterType, {std::string(call.text), phrase(sweep ? FaultKind::CounterIsDouble : FaultKind::CounterIsInt)});
    next();
    openScope();
    const Token &counter = newName();
    stmt.slot = m_function->variables++;
    declare(counter, {.type = type, .slot = stmt.slot});
    expect(")");

    stmt.loop = static_cast<int>(m_program.loops.size());
    m_program.loops.push_back({call.line, call.line, std::string(counter.text)});
    m_loopLines.push_back(call.line);
    const int breakable = std::exchange(m_breakable, 0);
    const bool inLoopBody = std::exchange(m_inLoopBody, true);
    stmt.body = block(false);
    m_breakable = breakable;
    m_inLoopBody = inLoopBody;
    m_loopLines.pop_back();
    closeScope();
    m_program.loops[static_cast<std::size_t>(stmt.loop)].lastLine = expect(")").line;
    expect(";");
    return addStmt(std::move(stmt));
}

} // namespace sweepdraw
