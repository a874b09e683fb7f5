"""Random routines run by the program and compiled by g++: the same trace.

Generates routines from the language's grammar (generate.py), compiles them
all with g++ against the drawing core into one program, with the build's
own flags, and runs each both ways: `sweepdraw --run FILE --trace -` and
the compiled program, whose surface writes the same trace. The traces must
agree byte for byte, and so must the ends: both to the end, or both with
the same run-time error.

What C++ leaves undefined is a run-time error in the program. The compiled
routines are built with the undefined-behaviour sanitizer, which mostly
stops them there too; but from the undefined on, g++ is free to do
anything (drop a dead overflowing sum, fold a constant one while
compiling), so only the trace made before it must agree.

The routines are compiled into one program, each in a namespace of its
own, so that the headers are read once however many there are.

    differential.py --count N --seed S --program sweepdraw --cxx g++
                    --flags "..." --include CORE --include WORDING
                    --library libsweepdraw_wording.a --library libsweepdraw_core.a
"""

import argparse
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import generate  # noqa: E402

HARNESS_HEAD = """#include "DrawingSurface.h"
#include "FaultEnglish.h"
#include "Palette.h"
#include "RuntimeError.h"
#include "Sweep.h"
#include "TraceSurface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

#include <sanitizer/common_interface_defs.h>
"""

HARNESS_MAIN = """
namespace {

class Output final : public sweepdraw::TraceSurface::Writer
{
public:
    void write(std::string_view lines) override
    {
        std::fwrite(lines.data(), 1, lines.size(), stdout);
        std::fflush(stdout);
    }
};

Output g_output;
sweepdraw::TraceSurface g_surface(g_output);

// The sanitizer ends the program at undefined behaviour: what was drawn
// before it is written first.
void flushTrace()
{
    g_surface.flush();
}

} // namespace

int main(int argc, char *argv[])
{
    __sanitizer_set_death_callback(flushTrace);
    const int routine = argc > 1 ? std::atoi(argv[1]) : 0;
    try {
        kRoutines[routine](g_surface);
        g_surface.flush();
        return 0;
    } catch (const sweepdraw::RuntimeError &error) {
        g_surface.flush();
        std::fprintf(stderr, "run-time error: %s\\n", sweepdraw::inEnglish(error).c_str());
        return 1;
    }
}
"""

# The run-time errors of what C++ leaves undefined, as the program words them.
UNDEFINED = re.compile(r"overflows|by zero|is outside the range of|has no int magnitude|without returning")


def harness(files):
    text = HARNESS_HEAD
    for index, path in enumerate(files):
        text += "namespace r%d::sweepdraw {\nusing namespace ::sweepdraw;\n}\n" % index
        text += "namespace r%d {\n#include \"%s\"\n}\n" % (index, path)
    text += "\nusing Draw = void (*)(sweepdraw::DrawingSurface &);\n"
    text += "const Draw kRoutines[] = {%s};\n" % ", ".join(
        "&r%d::sweepdraw::DrawRandom" % i for i in range(len(files)))
    return text + HARNESS_MAIN


def run(command):
    done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=120)
    return done.returncode, done.stdout, done.stderr.decode(errors="replace")


def error_line(program_error):
    """The line a run-time error of the program names: FILE:LINE: error: ..."""
    match = re.search(r"run-time error: .*?:(\d+): error: (.*)", program_error)
    return (int(match.group(1)), match.group(2)) if match else (None, "")


def without_nan_signs(text):
    """The sign of a NaN is no drawing: g++ gives one sign at -O0 and the
    other at -O2 for the same std::fabs of a NaN, so the messages that
    quote one are compared without it."""
    return re.sub(r"-nan\b", "nan", text)


def compare(index, path, program, compiled):
    """None if the two runs agree; otherwise what differs."""
    status, trace, error = program
    compiled_status, compiled_trace, compiled_error = compiled
    if status == 2:
        return "the program refuses what g++ compiles:\n" + error
    if status == 0:
        if compiled_status != 0:
            return "the compiled routine fails where the program ends well:\n" + compiled_error
        return None if trace == compiled_trace else "the traces differ"
    line, what = error_line(error)
    if UNDEFINED.search(what):
        if not compiled_trace.startswith(trace):
            return "the traces differ before the undefined behaviour at line %d" % line
        return None
    if trace != compiled_trace:
        return "the traces differ"
    if compiled_status != 1 or not without_nan_signs(compiled_error.strip()).endswith(without_nan_signs(what.strip())):
        return "the program stops with '%s', the compiled routine with:\n%s" % (error.strip(), compiled_error)
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--count", type=int, default=30)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--program", required=True)
    parser.add_argument("--cxx", default="g++")
    parser.add_argument("--flags", default="-O2")
    parser.add_argument("--include", action="append", default=[])
    parser.add_argument("--library", action="append", required=True, help="in the order they link")
    parser.add_argument("--keep", help="a folder to write the routines and the program to, and keep")
    parser.add_argument("--batch", type=int, default=50, help="routines compiled into one program")
    arguments = parser.parse_args()

    if arguments.keep:
        os.makedirs(arguments.keep, exist_ok=True)
        return compare_all(arguments, arguments.keep)
    with tempfile.TemporaryDirectory(prefix="sweepdraw-differential-") as folder:
        return compare_all(arguments, folder)


def compare_all(arguments, folder):
    environment = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    failures = 0
    counts = {"ended": 0, "stopped": 0, "undefined": 0}
    for first in range(0, arguments.count, arguments.batch):
        seeds = range(arguments.seed + first, arguments.seed + min(first + arguments.batch, arguments.count))
        files = []
        for seed in seeds:
            path = os.path.join(folder, "routine%d.cpp" % seed)
            with open(path, "w") as file:
                file.write(generate.routine(seed))
            files.append(path)
        source = os.path.join(folder, "compiled%d.cpp" % first)
        with open(source, "w") as file:
            file.write(harness(files))
        binary = os.path.join(folder, "compiled%d" % first)
        command = [arguments.cxx, "-std=c++20", *arguments.flags.split(),
                   "-fsanitize=undefined,float-cast-overflow", "-fno-sanitize-recover=all", "-w",
                   *("-I" + include for include in arguments.include), source, *arguments.library, "-o", binary]
        status, _, error = run(command)
        if status != 0:
            print("g++ refuses the routines of seeds %d to %d:\n%s" % (seeds[0], seeds[-1], error[:4000]))
            return 1
        for index, (seed, path) in enumerate(zip(seeds, files)):
            program = subprocess.run([arguments.program, "--run", path, "--trace", "-"], stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, timeout=120, env=environment)
            program = (program.returncode, program.stdout, program.stderr.decode(errors="replace"))
            compiled = run([binary, str(index)])
            difference = compare(index, path, program, compiled)
            if program[0] == 0:
                counts["ended"] += 1
            elif UNDEFINED.search(error_line(program[2])[1]):
                counts["undefined"] += 1
            else:
                counts["stopped"] += 1
            if difference:
                failures += 1
                print("seed %d (%s): %s" % (seed, path, difference))
                if difference == "the traces differ" or difference.startswith("the traces differ"):
                    ours = program[1].decode().splitlines()
                    theirs = compiled[1].decode().splitlines()
                    for number, (a, b) in enumerate(zip(ours, theirs)):
                        if a != b:
                            print("  line %d: here    %s\n  line %d: compiled %s" % (number + 1, a, number + 1, b))
                            break
                    else:
                        print("  %d lines here, %d compiled" % (len(ours), len(theirs)))
    print("%d routines: %d ran to their end, %d stopped with the same run-time error, %d at undefined "
          "behaviour; %d differ" % (arguments.count, counts["ended"], counts["stopped"], counts["undefined"],
                                     failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
