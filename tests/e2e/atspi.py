"""Reads the running program's window through AT-SPI, as a screen reader does.

Usage: atspi.py LANGUAGE MENU_X MENU_Y CAPTION...
LANGUAGE is "en" or "zh", the language the program was started in; MENU_X
and MENU_Y a point on the screen where a right click opens the menu; the
captions are the six buttons'.

Finds the window by its caption, the six buttons by their captions and the
picture by its name, and checks that no part of the window is left unnamed
and that every button has a tooltip in the language. Opens the menu with a
right click and reads it as it shows itself, item by item with the keys;
opens the help with F1. Then presses "阳光" through its accessible action and
waits until the picture's description says it is drawn. Exits 1 with a line
on what went wrong.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

CAPTION = "图形程序设计 Merivane 2006.11."

# What each language shows: the picture's name and its description while
# blank, a word every drawing button's tooltip has, the title of the help,
# and the menu as a screen reader reads it, a heading in brackets and "-"
# for a plain separator.
LANGUAGES = {
    "en": {
        "picture": "Picture",
        "blank": "Blank",
        "tooltip": "points",
        "help": "Sweepdraw Help",
        "menu": ["[Speed]", "Slow Ctrl+1", "Normal Ctrl+2", "Fast Ctrl+3", "Instant Ctrl+4 checked", "-",
                 "Finish now Esc", "-", "Help F1", "About"],
    },
    "zh": {
        "picture": "画面",
        "blank": "空白",
        "tooltip": "个点",
        "help": "图形程序设计帮助",
        "menu": ["[速度]", "慢 Ctrl+1", "正常 Ctrl+2", "快 Ctrl+3", "立即 Ctrl+4 checked", "-",
                 "立即画完 Esc", "-", "帮助 F1", "关于"],
    },
}


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


def read_item(item):
    """A menu item as a screen reader says it: name, key, whether checked."""
    if item.getRole() == pyatspi.ROLE_SEPARATOR:
        return "[%s]" % item.name if item.name else "-"
    action = item.queryAction()
    words = [item.name] + [action.getKeyBinding(i) for i in range(action.nActions)]
    if item.getState().contains(pyatspi.STATE_CHECKED):
        words.append("checked")
    return " ".join(word for word in words if word)


def read_menu(x, y):
    """Right-clicks at (x, y) and reads the menu that shows itself.

    Qt leaves pop-up menus out of the application's children, so the menu is
    read from the event it sends when it shows, as a screen reader hears it.
    """
    shown = []

    def on_showing(event):
        if event.detail1 and event.source.getRole() == pyatspi.ROLE_POPUP_MENU:
            shown.append([read_item(item) for item in event.source])
            loop.quit()

    loop = GLib.MainLoop()
    pyatspi.Registry.registerEventListener(on_showing, "object:state-changed:showing")
    GLib.timeout_add(200, lambda: subprocess.run(["xdotool", "mousemove", x, y, "click", "3"]) and False)
    GLib.timeout_add(10000, loop.quit)
    loop.run()
    pyatspi.Registry.deregisterEventListener(on_showing, "object:state-changed:showing")
    if not shown:
        fail("a right click at (%s, %s) showed no menu" % (x, y))
    subprocess.run(["xdotool", "key", "Escape"])
    return shown[0]


def main(language, menu_x, menu_y, captions):
    expected = LANGUAGES[language]
    app = wait_for("the program is not on the accessibility bus", program)
    frames = wait_for("no window named " + CAPTION,
                      lambda: [n for n in walk(app) if n.getRole() == pyatspi.ROLE_FRAME and n.name == CAPTION])
    parts = list(walk(frames[0]))[1:]
    for part in parts:
        print("  %s %r %r" % (part.getRoleName(), part.name, part.description))

    unnamed = [part.getRoleName() for part in parts if not part.name]
    if unnamed:
        fail("parts of the window have no name: " + ", ".join(unnamed))
    buttons = {part.name: part for part in parts if part.getRole() == pyatspi.ROLE_PUSH_BUTTON}
    if sorted(buttons) != sorted(captions):
        fail("the buttons are %s, expected %s" % (sorted(buttons), sorted(captions)))
    untold = [name for name, button in buttons.items() if not button.description]
    if untold:
        fail("buttons without a tooltip: %s" % untold)
    drawing = [buttons[caption] for caption in ("高山", "流水", "阳光", "大桥")]
    foreign = [b.description for b in drawing if expected["tooltip"] not in b.description]
    if foreign:
        fail("tooltips not in the language: %s" % foreign)
    pictures = [part for part in parts if part.getRole() == pyatspi.ROLE_IMAGE]
    if len(pictures) != 1 or pictures[0].name != expected["picture"]:
        fail("expected one image named %s, found %s" % (expected["picture"], [p.name for p in pictures]))
    picture = pictures[0]
    if picture.description != expected["blank"]:
        fail("the blank picture says %r, expected %r" % (picture.description, expected["blank"]))
    print("ok: the window, its six buttons with their tooltips and the picture are named")

    menu = read_menu(menu_x, menu_y)
    if menu != expected["menu"]:
        fail("the menu reads %s, expected %s" % (menu, expected["menu"]))
    print("ok: the menu reads %s" % menu)

    def help_shown():
        return [n for n in app if n is not None and n.name == expected["help"]
                and n.getState().contains(pyatspi.STATE_SHOWING)]

    subprocess.run(["xdotool", "key", "F1"])
    wait_for("F1 showed no window named %s" % expected["help"], help_shown)
    subprocess.run(["xdotool", "key", "Escape"])
    wait_for("Esc did not close the help", lambda: not help_shown())
    print("ok: F1 shows %s, and Esc closes it" % expected["help"])

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
    main(sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:])
