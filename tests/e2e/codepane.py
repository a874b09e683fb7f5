"""Reads the code pane of the running program through AT-SPI while the
sunshine draws, as a screen reader does, in English.

Usage: codepane.py

Waits until the pane's code holds DrawSunshine, then reads the progress and
the live values the progress line tells: within one colour pass the counter
r grows between two looks; paused with the Pause key, nothing moves; F10
lands one operation more. Exits 1 with a line on what went wrong.
"""

import re
import subprocess
import sys
import time

import pyatspi

from atspi import fail, program, wait_for, walk

# Screen readers are told at most twice a second: a look this long after a
# change sees it.
LOOK_INTERVAL = 1.2


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
    time.sleep(LOOK_INTERVAL)


def main():
    app = wait_for("the program is not on the accessibility bus", program)
    wait_for("the code pane does not show DrawSunshine", lambda: code_text(app))
    print("ok: the code pane shows DrawSunshine")

    for _ in range(5):
        first = look(app)
        time.sleep(LOOK_INTERVAL)
        second = look(app)
        print("  looked: %r, then %r" % (first[3], second[3]))
        if first[1] != second[1]:
            continue  # a new colour pass began between the looks
        if second[2] <= first[2]:
            fail("r did not grow between two looks: %g, then %g" % (first[2], second[2]))
        print("ok: r grew from %g to %g" % (first[2], second[2]))
        break
    else:
        fail("every pair of looks straddled two colour passes")

    key("Pause")
    paused = look(app)
    time.sleep(LOOK_INTERVAL)
    still = look(app)
    if still[3] != paused[3]:
        fail("the drawing moved while paused: %r, then %r" % (paused[3], still[3]))
    print("ok: paused, nothing moved: %r" % still[3])

    key("F10")
    stepped = look(app)
    if stepped[0] != still[0] + 1:
        fail("F10 landed %d operations, not one: %r" % (stepped[0] - still[0], stepped[3]))
    print("ok: F10 landed one operation: %r" % stepped[3])
    key("Pause")


if __name__ == "__main__":
    main()
