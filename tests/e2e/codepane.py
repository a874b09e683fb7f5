"""Reads the code pane of the running program through AT-SPI while the
sunshine draws, as a screen reader does.

Usage: codepane.py

Waits until the pane's code holds DrawSunshine, then reads the live values
the progress line tells, twice: within one colour pass the counter r has
grown between the two looks. Exits 1 with a line on what went wrong.
"""

import re
import sys
import time

import pyatspi

from atspi import fail, program, wait_for, walk

# Screen readers are told at most twice a second.
LOOK_INTERVAL = 1.2


def code_text(app):
    for node in walk(app):
        if node.getRole() == pyatspi.ROLE_TEXT:
            text = node.queryText()
            content = text.getText(0, text.characterCount)
            if "DrawSunshine" in content:
                return content
    return None


def live_values(app):
    """(colour, r) as the progress line tells them, or None."""
    for node in walk(app):
        found = re.search(r"colour = (\d+).*?\br = ([-0-9.e+]+)", node.description or "")
        if found:
            return int(found.group(1)), float(found.group(2)), node.description
    return None


def main():
    app = wait_for("the program is not on the accessibility bus", program)
    wait_for("the code pane does not show DrawSunshine", lambda: code_text(app))
    print("ok: the code pane shows DrawSunshine")

    for _ in range(5):
        first = wait_for("the progress line tells no live values", lambda: live_values(app))
        time.sleep(LOOK_INTERVAL)
        second = wait_for("the progress line no longer tells live values", lambda: live_values(app))
        print("  looked: %r, then %r" % (first[2], second[2]))
        if first[0] != second[0]:
            continue  # a new colour pass began between the looks
        if second[1] <= first[1]:
            fail("r did not grow between two looks: %g, then %g" % (first[1], second[1]))
        print("ok: r grew from %g to %g" % (first[1], second[1]))
        return
    fail("every pair of looks straddled two colour passes")


if __name__ == "__main__":
    main()
