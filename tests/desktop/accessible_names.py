#!/usr/bin/python3
"""The window as a screen reader reads it: AT-SPI's tree of the running editor.

Run inside a D-Bus session of its own (dbus-run-session) on an X display: starts AT-SPI's
accessibility bus, the editor (given as the argument) with Qt's AT-SPI bridge on, and lists
every control of the window that is showing, with its role, name, description and the label
tied to it. Fails when a control has no name or no description, or a field no label, when a
decorative caption (an arrow, a lone digit) is read out as text, or when the browser's drive
list (shown by pressing Zelqua用読込) has no label.

Usage: dbus-run-session -- /usr/bin/python3 tests/desktop/accessible_names.py build/src/app/zelqua-editor
"""

import os
import shutil
import subprocess
import tempfile
import sys
import time

TITLE = "Zelqua≪五択変換ｴﾃﾞｨﾀｰVer2.1"


def start_accessibility_bus():
    # Asking the session bus for AT-SPI's bus starts it (at-spi2-core's D-Bus service).
    for _ in range(100):
        found = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                                "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                               capture_output=True, text=True)
        if found.returncode == 0 and "unix:" in found.stdout:
            return
        time.sleep(0.1)
    sys.exit("accessible_names: AT-SPI's bus did not start")


def find_window(pyatspi, timeout=60):
    deadline = time.time() + timeout
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for window in app:
                if window is not None and window.name == TITLE:
                    return window
        time.sleep(0.5)
    sys.exit("accessible_names: no window titled %s in the AT-SPI tree" % TITLE)


def main():
    editor = sys.argv[1]
    start_accessibility_bus()
    # A state folder of its own: no work left by another start is offered to this one.
    state = tempfile.mkdtemp()
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                       XDG_STATE_HOME=state)
    process = subprocess.Popen([editor], env=environment)
    try:
        import pyatspi
        window = find_window(pyatspi)
        time.sleep(1)  # the window's children are announced after the window
        return report(pyatspi, window)
    finally:
        process.terminate()
        process.wait(10)
        shutil.rmtree(state, ignore_errors=True)


def labels_of(pyatspi, node):
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relation.getNTargets()):
                names.append(relation.getTarget(i).name)
    return names


# Captions drawn for the eye only: a reader must not read them out.
DECORATIVE = {"↓↑", "→", "←", "④", "へ"}


def showing_children(pyatspi, window):
    """The window's controls and its captions that are showing: the children of its client
    area (Qt puts the window's widgets under one filler)."""
    controls, labels = [], []

    def walk(node, depth):
        for child in node:
            if child is None:
                continue
            states = child.getState()
            if not states.contains(pyatspi.STATE_SHOWING):
                continue
            role = child.getRoleName()
            if role in ("filler", "panel") and depth < 2:
                walk(child, depth + 1)
                continue
            (labels if role == "label" else controls).append(child)

    walk(window, 0)
    return controls, labels


def report(pyatspi, window):
    # Labels speak their own text and are not counted as controls.
    controls, labels = showing_children(pyatspi, window)
    spoken = [label.name for label in labels]
    print("captions read out: %s" % " ".join(repr(name) for name in spoken))
    decorative = [name for name in spoken if name.strip() in DECORATIVE]
    unnamed, undescribed, unlabelled = [], [], []
    for control in controls:
        role = control.getRoleName()
        labels = labels_of(pyatspi, control)
        print("%-12s %-28s label=%-14s description=%s" % (
            role, repr(control.name), ",".join(labels) or "-", control.description or "-"))
        if not control.name:
            unnamed.append(role)
        if not control.description:
            undescribed.append(control.name or role)
        if role in ("text", "entry") and not labels and control.name not in ("ヘルプ", "メモ帳", "保存するファイル名"):
            unlabelled.append(control.name)
    print("accessible names: %d controls showing, %d named, %d unnamed; %d without a description"
          % (len(controls), len(controls) - len(unnamed), len(unnamed), len(undescribed)))
    failed = False
    if decorative:
        print("accessible_names: decorative captions read out: %s" % ", ".join(decorative))
        failed = True
    if not cell_editor_named(pyatspi, window):
        failed = True
    if not browser_drive_list_labelled(pyatspi, window, controls):
        failed = True
    if len(controls) < 19:
        print("accessible_names: only %d controls showing, 19 expected" % len(controls))
        failed = True
    for what, names in (("no name", unnamed), ("no description", undescribed), ("no label", unlabelled)):
        if names:
            print("accessible_names: %s: %s" % (what, ", ".join(names)))
            failed = True
    return 1 if failed else 0


def browser_drive_list_labelled(pyatspi, window, controls):
    """Presses the browse button through its AT-SPI action and lists the drive list that
    appears: it must carry a label (a reader names a drop-down list by its text and label)."""
    browse = [c for c in controls if c.getRoleName() == "push button" and c.name == "Zelqua用読込"]
    if not browse:
        print("accessible_names: no button Zelqua用読込")
        return False
    browse[0].queryAction().doAction(0)
    for _ in range(50):
        shown, _labels = showing_children(pyatspi, window)
        drives = [c for c in shown if c.getRoleName() == "combo box"]
        if drives:
            break
        time.sleep(0.1)
    else:
        print("accessible_names: the browser's drive list did not show")
        return False
    labels = labels_of(pyatspi, drives[0])
    print("%-12s %-28s label=%s" % ("combo box", repr(drives[0].name), ",".join(labels) or "-"))
    if labels != ["ドライブ"]:
        print("accessible_names: the drive list is labelled %r, not ドライブ" % labels)
        return False
    return True


def descendants(node, depth):
    for child in node:
        if child is None:
            continue
        yield child
        if depth > 1:
            yield from descendants(child, depth - 1)


def type_keys(*keys):
    subprocess.run(["xdotool", "search", "--name", "^%s$" % TITLE, "windowfocus", "--sync",
                    "key", "--delay", "100"] + list(keys), check=False)


def cell_editor_named(pyatspi, window):
    """Opens the question table's cell editor with F2, typed on the X server after Tab has
    gone from ① 読込 through the genre table into the question table, and looks for it in
    the tree beside the table: it must be there and name its column and row."""
    type_keys("Tab", "Tab", "Tab", "F2")
    for _ in range(50):
        editors = [n for n in descendants(window, 5)
                   if n.getRoleName() in ("text", "entry") and n.getState().contains(pyatspi.STATE_FOCUSED)]
        if editors:
            break
        time.sleep(0.1)
    else:
        print("accessible_names: the cell editor (F2) is not in the tree")
        return False
    editor = editors[0]
    name = editor.name
    print("%-12s %-28s description=%s" % (editor.getRoleName(), repr(name), editor.description or "-"))
    type_keys("Escape")
    # The column's heading or number, then the row: "問題・・・ 1行目".
    words = name.split(" ")
    if len(words) != 2 or not words[0] or not words[1].endswith("行目"):
        print("accessible_names: the cell editor does not name its column and row: %r" % name)
        return False
    return True


if __name__ == "__main__":
    sys.exit(main())
