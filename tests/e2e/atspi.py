"""Reads the running program's window through AT-SPI, as a screen reader does.

Usage: atspi.py CAPTION... (the six buttons' captions)

Finds the window by its caption, the six buttons and the picture by their
names, checks that no part of the window is left unnamed, presses "阳光"
through its accessible action and waits until the picture's description says
it is drawn. Exits 1 with a line on what went wrong.
"""

import sys
import time

import pyatspi

CAPTION = "图形程序设计 Merivane 2006.11."


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, find, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    fail(what)


def program():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "sweepdraw":
            return app
    return None


def walk(node):
    yield node
    for child in node:
        if child is not None:
            yield from walk(child)


def main(captions):
    app = wait_for("the program is not on the accessibility bus", program)
    frames = wait_for("no window named " + CAPTION,
                      lambda: [n for n in walk(app) if n.getRole() == pyatspi.ROLE_FRAME and n.name == CAPTION])
    parts = list(walk(frames[0]))[1:]
    for part in parts:
        print("  %s %r" % (part.getRoleName(), part.name))

    unnamed = [part.getRoleName() for part in parts if not part.name]
    if unnamed:
        fail("parts of the window have no name: " + ", ".join(unnamed))
    buttons = {part.name: part for part in parts if part.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    if sorted(buttons) != sorted(captions):
        fail("the buttons are %s, expected %s" % (sorted(buttons), sorted(captions)))
    pictures = [part for part in parts if part.getRole() == pyatspi.ROLE_IMAGE]
    if len(pictures) != 1 or pictures[0].name != "画面":
        fail("expected one image named 画面, found %s" % [p.name for p in pictures])
    picture = pictures[0]
    print("ok: the window, its six buttons and the picture are named; the picture says %r" % picture.description)

    action = buttons["阳光"].queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    presses = [i for i, name in enumerate(names) if name.lower() in ("press", "click")]
    if not presses:
        fail("阳光 has no press action, only %s" % names)
    action.doAction(presses[0])
    wait_for("the picture does not say 阳光 is drawn: %r" % picture.description,
             lambda: "阳光" in picture.description)
    print("ok: pressed 阳光 through its action; the picture says %r" % picture.description)


if __name__ == "__main__":
    main(sys.argv[1:])
