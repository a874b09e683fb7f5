"""Reads the running program's window through AT-SPI, as a screen reader does.

Usage: atspi.py en|zh MENU_X MENU_Y CAPTION... (the language the program
speaks, a point on the screen where a right click opens the menu, and the
six buttons' captions)

Finds the window by its caption, the six buttons by their captions and the
picture by its name, checks that no part of the window is left unnamed and
that the buttons have tooltips in the language, reads the menu that a right
click opens and opens the help with F1, presses "阳光" through its
accessible action and waits until the picture's description says it is
drawn. Exits 1 with a line on what went wrong.
"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

CAPTION = "图形程序设计 Merivane 2006.11."

# In each language: the picture's name, a word of the sunshine's tooltip,
# the help's title, and the menu as a screen reader reads it, with a heading
# in brackets and "-" for a plain separator.
LANGUAGES = {
    "en": ("Picture", "points", "Sweepdraw Help",
           ["[Speed]", "Slowest Ctrl+1", "Slow Ctrl+2", "Normal Ctrl+3", "Fast Ctrl+4", "Instant Ctrl+5 checked", "-",
            "Finish now Esc", "-", "Save picture… Ctrl+S", "Copy picture Ctrl+C", "Record animation…", "-",
            "Show code Ctrl+U", "Pause Pause", "Step F10", "Step back Shift+F10", "Run to the caret Ctrl+F10", "-",
            "Edit a copy Ctrl+E", "New routine", "Open routine… Ctrl+O", "Save routine as… Ctrl+Shift+S", "Run F5",
            "Stop Shift+Esc", "-", "Help F1", "About"]),
    "zh": ("画面", "个点", "图形程序设计帮助",
           ["[速度]", "最慢 Ctrl+1", "慢 Ctrl+2", "正常 Ctrl+3", "快 Ctrl+4", "立即 Ctrl+5 checked", "-",
            "立即画完 Esc", "-", "保存图片… Ctrl+S", "复制图片 Ctrl+C", "录制动画…", "-",
            "显示代码 Ctrl+U", "暂停 Pause", "单步 F10", "后退一步 Shift+F10", "运行到光标处 Ctrl+F10", "-",
            "编辑副本 Ctrl+E", "新建例程", "打开例程… Ctrl+O", "另存例程… Ctrl+Shift+S", "运行 F5", "停止 Shift+Esc", "-",
            "帮助 F1", "关于"]),
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
    """Right-clicks at (x, y) and reads the menu from the event it sends as
    it shows, as a screen reader hears it: Qt leaves pop-up menus out of the
    application's children."""
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
    picture_name, tooltip_word, help_title, menu_items = LANGUAGES[language]
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
    if not all(button.description for button in buttons.values()) \
            or tooltip_word not in buttons["阳光"].description:
        fail("the tooltips are not all there in the language: %s" % [b.description for b in buttons.values()])
    pictures = [part for part in parts if part.getRole() == pyatspi.ROLE_IMAGE]
    if len(pictures) != 1 or pictures[0].name != picture_name:
        fail("expected one image named %s, found %s" % (picture_name, [p.name for p in pictures]))
    picture = pictures[0]
    print("ok: the window, its six buttons with their tooltips and the picture are named")

    menu = read_menu(menu_x, menu_y)
    if menu != menu_items:
        fail("the menu reads %s, expected %s" % (menu, menu_items))
    print("ok: the menu reads %s" % menu)

    subprocess.run(["xdotool", "key", "F1"])
    wait_for("F1 showed no window named " + help_title, lambda: [n for n in app if n and n.name == help_title])
    subprocess.run(["xdotool", "key", "Escape"])
    print("ok: F1 shows " + help_title)

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
