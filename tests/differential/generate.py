"""Random routine files from the routine language's grammar.

Each file is a whole routine: namespace constants, functions of its own
(pure ones that compute, one that counts its calls of itself, one that calls
itself as Euclid's divisor does, helpers that draw) and the
drawing function, with
nested loops of every kind, branches, int, float, double and bool
arithmetic, casts and the library's functions. The loops are bounded, so
that every routine ends, and the operations it makes stay few; what C++
leaves undefined (an int that overflows, a division by zero, a conversion
out of range) is not avoided: both sides must then stop at the same place.
"""

import random

HEADER = """#include "DrawingSurface.h"
#include "Palette.h"
#include "RuntimeError.h"
#include "Sweep.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace sweepdraw {
"""

# Calls where glibc at run time and GCC while compiling (with MPFR,
# correctly rounded) give results an ulp apart; a double literal is now and
# then one of them, with the bits a float drops made large enough to show.
DISAGREEING = ["std::sin(8.299)", "cos(-1.368)", "std::tan(-0.08)", "std::pow(4.61, -0.873)",
               "std::atan2(-3.289, 5.04)", "std::exp(-7.644)", "std::log(4.182)", "std::hypot(-8.467, 5.84)"]

MATH1 = ["sin", "cos", "tan", "atan", "exp", "log", "log10", "log2", "sqrt", "fabs", "floor", "ceil",
         "round", "trunc", "sinh", "cosh", "tanh", "asin", "acos"]
MATH2 = ["pow", "atan2", "fmod", "hypot"]
DOUBLE_CONSTANTS = ["std::numbers::pi", "std::numbers::e", "M_PI", "M_E", "std::numbers::sqrt2"]

# The most operations a routine may make, counting every loop at its most
# turns: enough for every construct to draw, few enough to compare quickly.
MAX_OPERATIONS = 3000


class Scope:
    def __init__(self, parent=None):
        self.parent = parent
        self.names = {}  # name: (type, changeable)

    def all(self):
        names = dict(self.parent.all()) if self.parent else {}
        names.update(self.names)
        return names


class Function:
    def __init__(self, name, result, parameters):
        self.name = name
        self.result = result        # "int", "double", "float", "bool" or "void"
        self.parameters = parameters  # [(type, name)], the surface as ("surface", name)
        self.recursive = False      # its first parameter counts the calls of itself left


class Generator:
    def __init__(self, seed):
        self.random = random.Random(seed)
        self.counter = 0
        self.functions = []
        self.lines = []
        self.depth = 0

    # Names and numbers.

    def fresh(self, prefix):
        self.counter += 1
        return "%s%d" % (prefix, self.counter)

    def chance(self, p):
        return self.random.random() < p

    def int_literal(self):
        r = self.random
        if r.random() < 0.1:
            return str(r.choice([46341, 65536, 2147483647]))
        return str(r.choice([0, 1, 2, 3, 5, 7, 10, 16, 100, 1000, r.randint(0, 300)]))

    def double_literal(self):
        r = self.random
        if r.random() < 0.1:
            return "((%s - static_cast<float>(%s)) * 1099511627776.0)" % ((r.choice(DISAGREEING),) * 2)
        return r.choice(["0.5", "1.0", "2.5", "0.1", "3.0", "1e3", "1e-3", "6.283192", "0.25", "1e300" if r.random() < 0.2 else "1e5",
                         "%.3f" % r.uniform(-50, 50), "%de%d" % (r.randint(1, 9), r.randint(-5, 5)),
                         "%.17g" % r.uniform(0, 10)])

    def float_literal(self):
        return self.random.choice(["0.5f", "1.5f", "3.25f", "0.1f", "100.0f", "%.4ff" % self.random.uniform(-9, 9)])

    # Expressions: each of a type, from the names in scope.

    def names_of(self, scope, kind):
        return [name for name, (t, _) in scope.all().items() if t == kind]

    def expression(self, kind, scope, depth=0):
        leaf = depth >= 3 or self.chance(0.3)
        names = self.names_of(scope, kind)
        if leaf:
            if names and self.chance(0.6):
                return self.random.choice(names)
            return self.literal(kind, scope)
        return getattr(self, kind + "_expression")(scope, depth + 1)

    def literal(self, kind, scope):
        if kind == "int":
            return self.int_literal()
        if kind == "double":
            return self.random.choice([self.double_literal(), self.double_literal(),
                                       self.random.choice(DOUBLE_CONSTANTS)])
        if kind == "float":
            return self.float_literal()
        return self.random.choice(["true", "false"])

    def call_of(self, result, scope, depth):
        candidates = [f for f in self.functions if f.result == result]
        if not candidates:
            return None
        function = self.random.choice(candidates)
        arguments = [self.expression(t, scope, depth + 1) for t, _ in function.parameters]
        if function.recursive:
            arguments[0] = "(%s) %% 16" % arguments[0]
        return "%s(%s)" % (function.name, ", ".join(arguments))

    def int_expression(self, scope, depth):
        e = lambda k="int": self.expression(k, scope, depth)
        choice = self.random.randrange(10)
        if choice < 4:
            operator = self.random.choice(["+", "-", "*", "/", "%", "+", "-"])
            right = e()
            # A divisor of 0 written out is a division by zero in nearly
            # every routine that has one; it stays possible, but rarer.
            if operator in "/%" and right == "0" and self.chance(0.8):
                right = "3"
            elif operator in "/%" and self.chance(0.7):
                right = "(%s %% 7 + 8)" % right
            return "(%s %s %s)" % (e(), operator, right)
        if choice == 4:
            return "static_cast<int>(%s)" % e(self.random.choice(["double", "float", "float", "bool", "bool"]))
        if choice == 5:
            return "(%s ? %s : %s)" % (e("bool"), e(), e())
        if choice == 6:
            return "std::%s(%s, %s)" % (self.random.choice(["min", "max"]), e(), e())
        if choice == 7:
            call = self.call_of("int", scope, depth)
            if call:
                return call
        if choice == 8:
            return "-(%s)" % e()
        return "(%s %s %s)" % (e(), self.random.choice(["+", "*"]), e("bool"))

    def double_expression(self, scope, depth):
        e = lambda k="double": self.expression(k, scope, depth)
        choice = self.random.randrange(12)
        if choice < 4:
            other = self.random.choice(["double", "double", "int", "float"])
            return "(%s %s %s)" % (e(), self.random.choice(["+", "-", "*", "/"]), e(other))
        if choice < 6:
            function = self.random.choice(MATH1)
            prefix = "" if self.chance(0.2) and function != "fabs" else "std::"
            return "%s%s(%s)" % (prefix, function, e())
        if choice == 6:
            return "std::%s(%s, %s)" % (self.random.choice(MATH2), e(), e())
        if choice == 7:
            return "static_cast<double>(%s)" % e(self.random.choice(["int", "float", "bool"]))
        if choice == 8:
            return "(%s ? %s : %s)" % (e("bool"), e(), e())
        if choice == 9:
            call = self.call_of("double", scope, depth)
            if call:
                return call
        if choice == 10:
            return "std::%s(%s, %s)" % (self.random.choice(["min", "max"]), e(), e())
        if choice == 11 and self.chance(0.5):
            # The bits a float drops, made large enough to show in one: the
            # last ulp of a double reaches the trace.
            value = e()
            return "((%s - static_cast<float>(%s)) * 1099511627776.0)" % (value, value)
        return "-(%s)" % e()

    def float_expression(self, scope, depth):
        e = lambda k="float": self.expression(k, scope, depth)
        choice = self.random.randrange(6)
        if choice < 3:
            return "(%s %s %s)" % (e(), self.random.choice(["+", "-", "*", "/"]), e(self.random.choice(["float", "int"])))
        if choice == 3:
            return "static_cast<float>(%s)" % e(self.random.choice(["double", "int"]))
        if choice == 4:
            call = self.call_of("float", scope, depth)
            if call:
                return call
        return "(%s ? %s : %s)" % (e("bool"), e(), e())

    def bool_expression(self, scope, depth):
        e = lambda k: self.expression(k, scope, depth)
        choice = self.random.randrange(6)
        if choice < 3:
            kind = self.random.choice(["int", "double", "float", "int"])
            return "(%s %s %s)" % (e(kind), self.random.choice(["<", "<=", ">", ">=", "==", "!="]), e(kind))
        if choice == 3:
            return "(%s %s %s)" % (e("bool"), self.random.choice(["&&", "||"]), e("bool"))
        if choice == 4:
            call = self.call_of("bool", scope, depth)
            if call:
                return call
        return "!%s" % e("bool")

    def colour(self, scope):
        return "PaletteColor((%s %% 16 + 16) %% 16)" % self.expression("int", scope)

    def coordinate(self, scope):
        # Mostly short, so that most points are finite and drawn.
        depth = 2 if self.chance(0.7) else 0
        kind = self.random.choice(["double", "double", "int", "float"])
        return "static_cast<float>(%s)" % self.expression(kind, scope, depth)

    # Statements, written as lines; `turns` is how many times the enclosing
    # loops may run the line at most.

    def emit(self, text):
        self.lines.append("    " * self.depth + text)

    def draw(self, scope, surface, turns):
        if turns * 1 > MAX_OPERATIONS:
            return
        self.operations += turns
        c = self.coordinate
        choice = self.random.randrange(8)
        if choice < 4:
            call = "PlotPoint(%s, %s, %s)" % (c(scope), c(scope), self.colour(scope))
        elif choice == 4:
            call = "DrawBox(%s, %s, %s, %s, %s)" % (c(scope), c(scope), c(scope), c(scope), self.colour(scope))
        elif choice == 5:
            radius = c(scope) if self.chance(0.2) else "std::fabs(%s)" % c(scope)
            call = "DrawCircle(%s, %s, %s, %s)" % (c(scope), c(scope), radius, self.colour(scope))
        elif choice == 6:
            call = "SetPenWidth(1 + (%s %% 4 + 4) %% 4)" % self.expression("int", scope)
        else:
            helpers = [f for f in self.functions if f.result == "void"]
            if helpers:
                helper = self.random.choice(helpers)
                arguments = [surface if t == "surface" else self.expression(t, scope) for t, _ in helper.parameters]
                self.emit("%s(%s);" % (helper.name, ", ".join(arguments)))
                self.operations += turns * helper.operations
                return
            call = "ClearSurface()"
        self.emit("check(%s.%s);" % (surface, call))

    def changeable(self, scope):
        return [(name, t) for name, (t, changeable) in scope.all().items() if changeable]

    def statement(self, scope, context):
        choice = self.random.randrange(20)
        nested = self.depth < 5
        if choice < 4:
            kind = self.random.choice(["int", "double", "float", "bool", "int", "double"])
            name = self.fresh("v")
            const = "const " if self.chance(0.2) else ""
            self.emit("%s%s %s = %s;" % (const, kind, name, self.expression(kind, scope)))
            scope.names[name] = (kind, not const)
        elif choice < 7:
            targets = self.changeable(scope)
            if not targets:
                return
            name, kind = self.random.choice(targets)
            if kind == "bool":
                self.emit("%s = %s;" % (name, self.expression("bool", scope)))
            elif self.chance(0.3):
                self.emit(self.random.choice(["++%s;", "--%s;", "%s++;", "%s--;"]) % name)
            else:
                operators = ["=", "+=", "-=", "*=", "/="] + (["%="] if kind == "int" else [])
                value = self.random.choice([kind, kind, "double", "int"])
                operator = self.random.choice(operators)
                if operator == "%=":
                    value = "int"
                self.emit("%s %s %s;" % (name, operator, self.expression(value, scope)))
        elif choice < 10:
            self.draw(scope, context["surface"], context["turns"])
        elif choice < 12 and nested:
            self.emit("if (%s) {" % self.expression("bool", scope))
            self.block(scope, context)
            while self.chance(0.3):
                self.emit("} else if (%s) {" % self.expression("bool", scope))
                self.block(scope, context)
            if self.chance(0.5):
                self.emit("} else {")
                self.block(scope, context)
            self.emit("}")
        elif choice < 14 and nested:
            self.loop(scope, context)
        elif choice == 14 and nested and context["turns"] * 12 <= MAX_OPERATIONS:
            self.sweep(scope, context)
        elif choice == 15 and nested and context["turns"] * 6 <= MAX_OPERATIONS:
            self.colour_pass(scope, context)
        elif choice == 16 and context["loop"]:
            self.emit("if (%s)" % self.expression("bool", scope))
            self.emit("    %s;" % self.random.choice(["break", "continue"]))
        elif choice == 17 and context["in_body"]:
            self.emit("if (%s)" % self.expression("bool", scope))
            self.emit("    return;")
        elif choice == 18:
            self.emit(";")
        else:
            self.draw(scope, context["surface"], context["turns"])

    def block(self, scope, context, count=None):
        self.depth += 1
        inner = Scope(scope)
        for _ in range(count if count is not None else self.random.randint(1, 4)):
            self.statement(inner, context)
        self.depth -= 1
        return inner

    def loop(self, scope, context):
        turns = self.random.randint(0, 6)
        counter = self.fresh("i")
        inner_context = dict(context, turns=context["turns"] * max(turns, 1), loop=True)
        kind = self.random.randrange(3)
        if kind == 0:
            if self.chance(0.3):
                self.emit("for (double %s = 0; %s < %d; %s += 0.5) {" % (counter, counter, turns, counter))
                inner_context["turns"] = context["turns"] * max(2 * turns, 1)
                scope_type = "double"
            else:
                self.emit("for (int %s = 0; %s < %d; ++%s) {" % (counter, counter, turns, counter))
                scope_type = "int"
            inner = Scope(scope)
            inner.names[counter] = (scope_type, False)
            self.block(inner, inner_context)
            self.emit("}")
        elif kind == 1:
            self.emit("int %s = 0;" % counter)
            scope.names[counter] = ("int", False)
            self.emit("while (%s < %d) {" % (counter, turns))
            self.depth += 1
            self.emit("%s++;" % counter)
            self.depth -= 1
            self.block(scope, inner_context)
            self.emit("}")
        else:
            self.emit("int %s = 0;" % counter)
            scope.names[counter] = ("int", False)
            self.emit("do {")
            self.depth += 1
            self.emit("++%s;" % counter)
            self.depth -= 1
            self.block(scope, inner_context)
            self.emit("} while (%s < %d);" % (counter, turns))

    def sweep(self, scope, context):
        start = self.random.choice([0, 1, -3, 100, 0.5])
        step = self.random.choice([1, 0.5, 0.25, -1, -0.5, 0.1, 1, 0.5, -2, 0.75, 1e-17, 0])
        turns = self.random.randint(1, 8)
        end = start + step * (turns - 1) + (step / 2 if self.chance(0.5) else 0)
        counter = self.fresh("t")
        self.emit("Sweep(%r, %r, %r, [&](double %s) {" % (start, end, step, counter))
        inner = Scope(scope)
        inner.names[counter] = ("double", False)
        self.block(inner, dict(context, turns=context["turns"] * (turns + 1), loop=False, in_body=True))
        self.emit("});")

    def colour_pass(self, scope, context):
        first = self.random.randint(0, 15)
        change = self.random.choice([1, -1, 2])
        passes = self.random.randint(1, 5)
        stop = first + change * passes
        if change == 2 and self.chance(0.05):
            stop += 1  # never reached: refused before the first pass
        counter = self.fresh("c")
        self.emit("ColourPass(%d, %d, %d, [&](int %s) {" % (first, change, stop, counter))
        inner = Scope(scope)
        inner.names[counter] = ("int", False)
        self.block(inner, dict(context, turns=context["turns"] * passes, loop=False, in_body=True))
        self.emit("});")

    # The file.

    def pure_function(self, globals_scope):
        result = self.random.choice(["int", "double", "float", "bool"])
        parameters = [(self.random.choice(["int", "double", "float"]), self.fresh("p"))
                      for _ in range(self.random.randint(1, 3))]
        function = Function(self.fresh("f"), result, parameters)
        scope = Scope(globals_scope)
        for t, name in parameters:
            scope.names[name] = (t, True)
        self.emit("%s %s(%s)" % (result, function.name, ", ".join("%s %s" % p for p in parameters)))
        self.emit("{")
        self.depth += 1
        for _ in range(self.random.randint(0, 3)):
            self.pure_statement(scope)
        if self.chance(0.4):
            self.emit("if (%s)" % self.expression("bool", scope))
            self.emit("    return %s;" % self.expression(result, scope))
        self.emit("return %s;" % self.expression(result, scope))
        self.depth -= 1
        self.emit("}")
        self.emit("")
        self.functions.append(function)

    def recursive_function(self, globals_scope):
        """Calls itself at most 15 deep, as it returns (in either arm of a ?:) or within a sum."""
        result = self.random.choice(["int", "double"])
        count = self.fresh("n")
        parameters = [("int", count)] + [(self.random.choice(["int", "double"]), self.fresh("p"))
                                         for _ in range(self.random.randint(0, 3))]
        function = Function(self.fresh("r"), result, parameters)
        scope = Scope(globals_scope)
        scope.names[count] = ("int", False)
        for t, name in parameters[1:]:
            scope.names[name] = (t, True)
        self.emit("%s %s(%s)" % (result, function.name, ", ".join("%s %s" % p for p in parameters)))
        self.emit("{")
        self.depth += 1
        self.emit("if (%s <= 0)" % count)
        self.emit("    return %s;" % self.expression(result, scope))
        for _ in range(self.random.randint(0, 2)):
            self.pure_statement(scope)
        again = "%s(%s)" % (function.name, ", ".join(
            ["%s - 1" % count] + [self.expression(t, scope) for t, _ in parameters[1:]]))
        if self.chance(0.3):
            self.emit("return %s + %s;" % (again, self.expression(result, scope)))
        elif self.chance(0.4):
            arms = [again, self.expression(result, scope)]
            self.random.shuffle(arms)
            self.emit("return %s ? %s : %s;" % (self.expression("bool", scope), arms[0], arms[1]))
        else:
            self.emit("return %s;" % again)
        self.depth -= 1
        self.emit("}")
        self.emit("")
        function.recursive = True
        self.functions.append(function)

    def turn_function(self, globals_scope):
        """Calls itself as it returns with one parameter worked out from the two
        and the other kept or passed on, as Euclid's divisor does; it ends by
        itself, within a few dozen calls."""
        first, second = self.fresh("p"), self.fresh("p")
        function = Function(self.fresh("t"), "int", [("int", first), ("int", second)])
        self.emit("int %s(int %s, int %s)" % (function.name, first, second))
        self.emit("{")
        if self.chance(0.5):
            again = "%s(%s, %s %% %s)" % (function.name, second, first, second)
            tested, done = second, first
        else:
            kept = self.random.choice([first, second])
            again = "%s(%s / %d, %s)" % (function.name, first, self.random.randint(2, 9), kept)
            tested, done = first, second
        if self.chance(0.7):
            self.emit("    return %s == 0 ? %s : %s;" % (tested, done, again))
        else:
            self.emit("    return %s != 0 ? %s : %s;" % (tested, again, done))
        self.emit("}")
        self.emit("")
        self.functions.append(function)

    def pure_statement(self, scope):
        name = self.fresh("v")
        kind = self.random.choice(["int", "double", "float", "bool"])
        self.emit("%s %s = %s;" % (kind, name, self.expression(kind, scope)))
        scope.names[name] = (kind, True)
        targets = self.changeable(scope)
        target, target_kind = self.random.choice(targets)
        if target_kind != "bool":
            self.emit("%s += %s;" % (target, self.expression(target_kind, scope)))

    def helper(self, globals_scope):
        parameters = [("surface", "on")] + [(self.random.choice(["int", "double"]), self.fresh("p"))
                                            for _ in range(self.random.randint(1, 2))]
        function = Function(self.fresh("h"), "void", parameters)
        scope = Scope(globals_scope)
        for t, name in parameters[1:]:
            scope.names[name] = (t, True)
        self.emit("void %s(DrawingSurface &on, %s)" % (function.name, ", ".join("%s %s" % p for p in parameters[1:])))
        self.emit("{")
        self.operations = 0
        self.block(scope, {"surface": "on", "turns": 1, "loop": False, "in_body": False}, self.random.randint(1, 4))
        function.operations = max(self.operations, 1)
        self.emit("}")
        self.emit("")
        self.functions.append(function)

    def routine(self, name):
        self.lines = [HEADER]
        globals_scope = Scope()
        for _ in range(self.random.randint(0, 3)):
            kind = self.random.choice(["int", "double", "float", "bool"])
            constant = self.fresh("k")
            word = self.random.choice(["const", "constexpr"])
            value = self.literal(kind, globals_scope)
            if kind == "double" and word == "const" and self.chance(0.5):
                value = "std::%s(%s)" % (self.random.choice(MATH1), self.double_literal())
            self.emit("%s %s %s = %s;" % (word, kind, constant, value))
            globals_scope.names[constant] = (kind, False)
        self.emit("")
        for _ in range(self.random.randint(0, 3)):
            self.pure_function(globals_scope)
        if self.chance(0.5):
            self.recursive_function(globals_scope)
        if self.chance(0.3):
            self.turn_function(globals_scope)
        for _ in range(self.random.randint(0, 2)):
            self.helper(globals_scope)
        self.emit("void %s(DrawingSurface &surface)" % name)
        self.emit("{")
        self.operations = 0
        self.block(globals_scope, {"surface": "surface", "turns": 1, "loop": False, "in_body": False},
                   self.random.randint(3, 10))
        self.emit("}")
        self.emit("")
        self.emit("} // namespace sweepdraw")
        return "\n".join(self.lines) + "\n"


def routine(seed, name="DrawRandom"):
    """The text of the routine file that `seed` stands for, drawing with `name`."""
    return Generator(seed).routine(name)


if __name__ == "__main__":
    import sys
    sys.stdout.write(routine(int(sys.argv[1]) if len(sys.argv) > 1 else 1))
