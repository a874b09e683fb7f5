"""Reads and moves the code pane of the running program through AT-SPI, in
English, for live.sh: one look per run, each waiting with a deadline.

Usage:
  live.py shows TEXT      waits until the code shows TEXT
  header TEXT             waits until the line over the code, which says whose
                          routine it shows, holds TEXT; prints the line
  caret TEXT              puts the caret just after the first TEXT in the code
  drawing                 waits until the note over the picture tells a change
                          drawing, then until the count it tells grows: the
                          window answers while the change draws
  drops KEY               presses KEY while the note tells a change drawing,
                          and waits, at most 2 s, until no note tells one

Exits 1 with a line on what went wrong.
"""

import re
import subprocess
import sys
import time

import pyatspi

from atspi import fail, program, wait_for, walk

NOTE = re.compile(r"Drawing your change · ([\d,]+) operations")


def code(app):
    for node in walk(app):
        if node.getRole() == pyatspi.ROLE_TEXT and node.name == "Routine":
            return node
    return None


def text_of(node):
    text = node.queryText()
    return text.getText(0, text.characterCount)


def header(app):
    """The line over the code that says whose routine it shows."""
    for node in walk(app):
        if node.getRole() == pyatspi.ROLE_LABEL and node.name == "Routine shown":
            return node.description
    return None


def note(app):
    """The count the change's note tells, if it shows."""
    for node in walk(app):
        if node.getRole() == pyatspi.ROLE_LABEL and node.getState().contains(pyatspi.STATE_SHOWING):
            found = NOTE.search("%s %s" % (node.name, node.description))
            if found:
                return int(found.group(1).replace(",", ""))
    return None


def when(find, holds):
    """A look that finds what `find` finds once holds() is true of it."""
    def look():
        seen = find()
        return seen if seen is not None and holds(seen) else None
    return look


def main(verb, argument):
    app = wait_for("the program is not on the accessibility bus", program)
    pane = wait_for("the code pane shows no routine", lambda: code(app))
    if verb == "shows":
        wait_for("the code does not show %r" % argument, lambda: argument in text_of(code(app)))
    elif verb == "header":
        print(wait_for("the pane does not say it shows %r" % argument,
                       when(lambda: header(app), lambda seen: argument in seen)))
    elif verb == "caret":
        at = text_of(pane).find(argument)
        if at < 0:
            fail("the code holds no %r" % argument)
        if not pane.queryText().setCaretOffset(at + len(argument)):
            fail("the caret could not be put after %r" % argument)
    elif verb == "drawing":
        first = wait_for("no note tells the change drawing", lambda: note(app))
        later = wait_for("the change's count stays at %d" % first,
                         when(lambda: note(app), lambda seen: seen > first))
        print("ok: the window answers while the change draws: %d, then %d operations" % (first, later))
    elif verb == "drops":
        wait_for("no note tells the change drawing", lambda: note(app))
        pressed = time.monotonic()
        subprocess.run(["xdotool", "key", argument], check=True)
        wait_for("a note still tells a change drawing 2 s after " + argument, lambda: note(app) is None, seconds=2)
        print("ok: %s dropped the change within %d ms" % (argument, (time.monotonic() - pressed) * 1000))
    else:
        fail("no verb " + verb)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else None)
