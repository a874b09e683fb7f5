#!/usr/bin/env python3
"""The routines the docs show, run as the docs say they run.

Every ```cpp block of docs/*.md that holds a whole routine file is saved
under the name the docs give it and run with --trace: it must draw, or,
when a message block follows it in its section, end with that very message and no trace
of success. A block of a line or two is a change to the scene file the
text before it names (`scenes/X.cpp`): each line takes the place of the
file's line that assigns the same name, and the changed file must run and
draw otherwise than the scene's own.

Usage: docexamples.py PROGRAM
"""
import os
import pathlib
import re
import subprocess
import sys
import tempfile

top = pathlib.Path(__file__).resolve().parent.parent
program = os.path.abspath(sys.argv[1])
environment = dict(os.environ, LC_ALL="C", QT_QPA_PLATFORM="offscreen")
failures = []


def run(folder, name):
    done = subprocess.run([program, "--run", name, "--trace", "trace.txt"], cwd=folder, env=environment,
                          capture_output=True, text=True, timeout=120)
    trace = pathlib.Path(folder, "trace.txt")
    return done, trace.read_text() if trace.exists() else ""


def blocks(text):
    """(language, body, text before it) of each fenced block."""
    found = []
    at = 0
    for match in re.finditer(r"^```(\w*)\n(.*?)^```$", text, re.M | re.S):
        found.append((match.group(1), match.group(2), text[at:match.start()]))
        at = match.end()
    return found


checked = 0
for doc in sorted((top / "docs").glob("*.md")):
    fenced = blocks(doc.read_text())
    for index, (language, body, before) in enumerate(fenced):
        if language != "cpp":
            continue
        checked += 1
        where = f"{doc.relative_to(top)}, the example before {before.strip().splitlines()[-1][:50]!r}"
        with tempfile.TemporaryDirectory() as folder:
            if "namespace sweepdraw" in body:
                following = fenced[index + 1] if index + 1 < len(fenced) else None
                message = None
                # A message block after it in the same section, not a later one.
                if following and following[0] == "" and ".cpp:" in following[1] \
                        and not re.search(r"^#", following[2], re.M):
                    message = following[1].strip()
                named = re.search(r"([\w-]+\.cpp):", message) if message else None
                name = named.group(1) if named else "example.cpp"
                pathlib.Path(folder, name).write_text(body)
                done, trace = run(folder, name)
                if message is None and (done.returncode != 0 or not trace):
                    failures.append(f"{where}: status {done.returncode}, {done.stderr.strip()}")
                elif message is not None and (done.returncode == 0 or message not in done.stderr.splitlines()):
                    failures.append(f"{where}: status {done.returncode}, said {done.stderr.strip()!r}, "
                                    f"not {message!r}")
                continue
            scene = re.findall(r"`(scenes/\w+\.cpp)`", before)
            if not scene:
                failures.append(f"{where}: names no scene file to change")
                continue
            source = (top / scene[-1]).read_text()
            changed = source
            for line in body.strip().splitlines():
                assigned = line.split("=")[0].strip()
                pattern = re.compile(r"^.*" + re.escape(assigned) + r"\s*=.*$", re.M)
                if not pattern.search(changed):
                    failures.append(f"{where}: {scene[-1]} has no line '{assigned} = …'")
                changed = pattern.sub(lambda _: line, changed, count=1)
            pathlib.Path(folder, "own.cpp").write_text(source)
            pathlib.Path(folder, "changed.cpp").write_text(changed)
            _, own = run(folder, "own.cpp")
            done, trace = run(folder, "changed.cpp")
            if done.returncode != 0 or not trace or trace == own:
                failures.append(f"{where}: status {done.returncode}, {done.stderr.strip()}; "
                                f"{'draws as the scene does' if trace == own else ''}")

for failure in failures:
    print("FAIL:", failure, file=sys.stderr)
if checked == 0:
    print("FAIL: the docs show no routine", file=sys.stderr)
    sys.exit(1)
if failures:
    sys.exit(1)
print(f"ok: the {checked} routines of the docs run as the docs say")
