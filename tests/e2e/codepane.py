"""Reads the code pane of the running program through AT-SPI while the
sunshine draws, as a screen reader does, in English.

Usage: codepane.py

Waits until the pane's code holds DrawSunshine, then reads the progress and
the live values the progress line tells: within one colour pass the counter
r grows; paused with the Pause key, the line says so, and F10 lands exactly
one operation more than it told. Exits 1 with a line on what went wrong.
"""

import re
import subprocess
import sys

import pyatspi

from atspi import fail, program, wait_for, walk

def code_text(app):
    for node in walk(app):
        if node.getRole() == pyatspi.ROLE_TEXT:
            text = node.queryText()
            content = text.getText(0, text.characterCount)
            if "DrawSunshine" in content:
                return content
    return None


def look(app):
    """(operations landed, colour, r, all it tells) as the progress line tells them."""
    def find():
        for node in walk(app):
            told = node.description or ""
            found = re.search(r"(\d+) of \d+ operations.*colour = (\d+).*?\br = ([-0-9.e+]+)", told)
            if found:
                return int(found.group(1)), int(found.group(2)), float(found.group(3)), told
        return None
    return wait_for("the progress line tells no live values", find)


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


def look_when(app, what, holds):
    """The first look for which holds(look) is true."""
    def find():
        seen = look(app)
        return seen if holds(seen) else None
    return wait_for(what, find)


def told_change(app, what, since):
    """The next look that tells something other than `since`."""
    return look_when(app, what, lambda seen: seen[3] != since[3])


def main():
    app = wait_for("the program is not on the accessibility bus", program)
    wait_for("the code pane does not show DrawSunshine", lambda: code_text(app))
    print("ok: the code pane shows DrawSunshine")

    # Each change told is compared with the one before; a change that begins
    # a new colour pass starts the comparison again.
    first = look(app)
    for _ in range(20):
        second = told_change(app, "the progress line did not change while drawing", first)
        print("  looked: %r, then %r" % (first[3], second[3]))
        if first[1] == second[1]:
            if second[2] <= first[2]:
                fail("r did not grow between two looks: %g, then %g" % (first[2], second[2]))
            print("ok: r grew from %g to %g" % (first[2], second[2]))
            break
        first = second
    else:
        fail("every change told began another colour pass")

    key("Pause")
    paused = look_when(app, "the progress line does not say paused", lambda seen: "paused" in seen[3])
    print("ok: paused: %r" % paused[3])

    # Had the drawing gone on while paused, more than one would have landed.
    key("F10")
    stepped = told_change(app, "the progress line did not change at F10", paused)
    if stepped[0] != paused[0] + 1:
        fail("F10 landed %d operations after the pause, not one: %r" % (stepped[0] - paused[0], stepped[3]))
    print("ok: F10 landed one operation: %r" % stepped[3])
    key("Pause")


if __name__ == "__main__":
    main()
