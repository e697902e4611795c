#!/usr/bin/python3
"""The window as a screen reader reads it: AT-SPI's tree of the running editor.

Run inside a D-Bus session of its own (dbus-run-session) on an X display: starts AT-SPI's
accessibility bus, the editor (given as the argument) with Qt's AT-SPI bridge on, and lists
every control of the window that is showing, with its role, name, description and the label
tied to it. Fails when a control has no name or no description, or a field no label.

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


def report(pyatspi, window):
    # The window's controls are the children of its client area (Qt puts the window's
    # widgets under one filler): labels speak their own text and are not counted.
    controls = []

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
            if role == "label":
                continue
            controls.append(child)

    walk(window, 0)
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
    if len(controls) < 19:
        print("accessible_names: only %d controls showing, 19 expected" % len(controls))
        failed = True
    for what, names in (("no name", unnamed), ("no description", undescribed), ("no label", unlabelled)):
        if names:
            print("accessible_names: %s: %s" % (what, ", ".join(names)))
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
