#!/usr/bin/python3
# A screen reader meets Nookery, which Orca once found with no objects under its application:
# the real program on a private X display and session bus with the AT-SPI registry, read through
# libatspi as Orca reads it. The welcome page, the panel's search field, buttons, texts and list
# rows are found by name and role, and "Get Started", a folder header and "Settings" are pressed
# through their AT-SPI actions; then keys alone file a tab, fold and rename a folder, reopen a
# closed tab and close the panel. Run through
# tests/harness/run-test --session-bus xvfb.
import faulthandler
import json
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402

NOOKERY = sys.argv[1]
SECONDS_SINCE_2001 = time.time() - 978307200


def write(path, content):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as file:
        file.write(content)


def wait_for(what, condition, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = condition()
        if found:
            return found
        time.sleep(0.1)
        # Events from the program arrive through the main loop.
        while GLib.MainContext.default().iteration(False):
            pass
    raise AssertionError("never found: " + what)


def describe(node):
    return "%s %r" % (node.get_role_name(), node.get_name())


def walk(node, depth=0):
    yield node, depth
    for index in range(node.get_child_count()):
        child = node.get_child_at_index(index)
        if child is not None:
            yield from walk(child, depth + 1)


def find(root, role, name):
    for node, _ in walk(root):
        if node.get_role() == role and node.get_name() == name:
            return node
    return None


def dump(root):
    return "\n".join("  " * depth + describe(node) for node, depth in walk(root))


def states(node):
    return node.get_state_set()


def press(node, action="press"):
    names = [node.get_action_name(i).lower() for i in range(node.get_n_actions())]
    assert action in names, "%s offers %s, not %s" % (describe(node), names, action)
    node.do_action(names.index(action))


def is_active_item(root, name):
    item = find(root, Atspi.Role.MENU_ITEM, name)
    return item is not None and all(
        states(item).contains(state) for state in (Atspi.StateType.SHOWING,
                                                   Atspi.StateType.FOCUSED))


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


def first_folder(data):
    with open(data + "/Nookery/folders.json", encoding="utf-8") as file:
        return json.load(file)["folders"][0]


def is_focused(rows, name):
    row = find(rows, Atspi.Role.LIST_ITEM, name)
    return row is not None and states(row).contains(Atspi.StateType.FOCUSED)


def is_expanded(rows, name):
    return states(find(rows, Atspi.Role.LIST_ITEM, name)).contains(Atspi.StateType.EXPANDED)


def read(path):
    try:
        with open(path, encoding="utf-8") as file:
            return file.read()
    except FileNotFoundError:
        return ""


def nookery_application():
    desktop = Atspi.get_desktop(0)
    for index in range(desktop.get_child_count()):
        application = desktop.get_child_at_index(index)
        if application is not None and application.get_name() == "Nookery":
            # Read afresh every time: the panel changes under the reader.
            application.set_cache_mask(Atspi.Cache.NONE)
            return application
    return None


def expect(root, role, name):
    return wait_for(
        "%s %r in\n%s" % (role.value_nick, name, dump(root)), lambda: find(root, role, name)
    )


def main():
    config = os.environ["XDG_CONFIG_HOME"]
    data = os.environ["XDG_DATA_HOME"]
    write(
        config + "/Figma/settings.json",
        json.dumps({"windows": [{"activeTabPath": "/design/K1/Home", "tabs": [
            {"title": "Home – Figma", "path": "/design/K1/Home"},
            {"title": "Roadmap", "path": "/design/K2/Roadmap"},
            {"title": "UI design", "path": "/design/K3/UI"}]}]}),
    )
    write(
        data + "/Nookery/folders.json",
        json.dumps({"ungroupedOrder": [], "folders": [{
            "id": "6F0C1B8E-2D0A-4B7E-9F51-3A1D2C4B5E60", "name": "Inbox",
            "tabIDs": ["K2"], "isExpanded": True}]}),
    )
    write(
        data + "/Nookery/recently_closed.json",
        json.dumps([{"stableID": "K9", "title": "Old plan", "closedDate": SECONDS_SINCE_2001 - 60,
                     "url": "https://www.figma.com/design/K9/Old"}]),
    )

    # The session's accessibility bus and its registry, as a desktop session starts them.
    launcher = subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    session = Gio.bus_get_sync(Gio.BusType.SESSION)
    wait_for("the accessibility bus", lambda: session.call_sync(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "NameHasOwner",
        GLib.Variant("(s)", ("org.a11y.Bus",)), None, Gio.DBusCallFlags.NONE, -1,
        None).unpack()[0])
    # Opening a tab hands its figma:// address to xdg-open: this one notes it down.
    opened = config + "/opened-urls"
    write(config + "/bin/xdg-open", '#!/bin/sh\necho "$1" >>"%s"\n' % opened)
    os.chmod(config + "/bin/xdg-open", 0o755)
    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       PATH=config + "/bin:" + os.environ["PATH"])
    nookery = subprocess.Popen([NOOKERY, "--toggle"], env=environment)
    try:
        Atspi.init()
        # A call the program does not answer fails in seconds and is asked again; should the
        # reader still hang, its stack is printed before the test's own time runs out.
        Atspi.set_timeout(5000, 15000)
        faulthandler.dump_traceback_later(100, exit=True)
        application = wait_for("Nookery on the registry", nookery_application)

        # The first opening shows the welcome page.
        expect(application, Atspi.Role.LABEL, "Welcome to Nookery")
        expect(application, Atspi.Role.LABEL, "Alt+Space")
        press(expect(application, Atspi.Role.PUSH_BUTTON, "Get Started"))

        # The panel: a window, its field, buttons, texts.
        expect(application, Atspi.Role.FRAME, "Nookery")
        expect(application, Atspi.Role.TEXT, "Search tabs")
        for name in ("New Folder", "Edit", "Settings"):
            expect(application, Atspi.Role.PUSH_BUTTON, name)
        expect(application, Atspi.Role.LABEL, "3 tabs")
        expect(application, Atspi.Role.LABEL, "Alt+Space to open")

        # The list and its rows.
        rows = expect(application, Atspi.Role.LIST, "Tabs")
        inbox = expect(rows, Atspi.Role.LIST_ITEM, "Inbox")
        assert states(inbox).contains(Atspi.StateType.EXPANDABLE), describe(inbox)
        assert states(inbox).contains(Atspi.StateType.EXPANDED), describe(inbox)
        assert inbox.get_description() == "1 tab", inbox.get_description()
        for title in ("Roadmap", "Home", "UI design"):
            expect(rows, Atspi.Role.LIST_ITEM, title)
        home = find(rows, Atspi.Role.LIST_ITEM, "Home")
        assert home.get_description() == "Active in Figma", home.get_description()
        expect(rows, Atspi.Role.LIST_ITEM, "Reopen Old plan")
        expect(rows, Atspi.Role.PUSH_BUTTON, "Remove Old plan from Recently Closed")
        expect(rows, Atspi.Role.PUSH_BUTTON, "Clear Recently Closed")

        # Pressing the header through the reader folds the folder away.
        press(inbox)
        wait_for("Inbox collapsed", lambda: not is_expanded(rows, "Inbox"))
        assert find(rows, Atspi.Role.LIST_ITEM, "Roadmap") is None, dump(rows)

        # The settings page reads by its texts.
        press(find(application, Atspi.Role.PUSH_BUTTON, "Settings"))
        expect(application, Atspi.Role.PUSH_BUTTON, "Shortcut: Alt+Space")
        expect(application, Atspi.Role.CHECK_BOX, "Start at login")
        expect(application, Atspi.Role.PUSH_BUTTON, "Back")
        expect(application, Atspi.Role.PUSH_BUTTON, "Quit Nookery")
        print("read through AT-SPI:\n" + dump(application))

        # Back on the panel, by keys alone: the first tab's menu files it into Inbox; in the
        # list, the folder unfolds, folds and is renamed, and the closed tab reopens; Escape
        # with nothing typed closes the panel.
        press(find(application, Atspi.Role.PUSH_BUTTON, "Back"))
        expect(application, Atspi.Role.TEXT, "Search tabs")
        rows = expect(application, Atspi.Role.LIST, "Tabs")
        key("Down")
        wait_for("Inbox highlighted", lambda: is_focused(rows, "Inbox"))
        key("Down")
        wait_for("Home highlighted", lambda: is_focused(rows, "Home"))
        # Ctrl+Space selects the highlighted tab, and the reader hears it.
        selected = []
        listener = Atspi.EventListener.new(lambda event: selected.append(
            (event.source.get_name(), event.detail1)))
        listener.register("object:state-changed:selected")
        key("ctrl+space")
        wait_for("Home's selection heard", lambda: ("Home", 1) in selected)
        key("ctrl+space")
        wait_for("Home's unselection heard", lambda: ("Home", 0) in selected)
        key("Menu")
        wait_for("the menu's first item active", lambda: is_active_item(application,
                                                                         "Move to Folder"))
        key("Right")
        wait_for("Inbox active in the submenu", lambda: is_active_item(application, "Inbox"))
        key("Return")
        wait_for("Home filed into Inbox", lambda: "K1" in first_folder(data)["tabIDs"])
        key("Tab")  # past the Edit button to the list
        key("Tab")
        key("Home")
        wait_for("Inbox highlighted from the list", lambda: is_focused(rows, "Inbox"))
        key("Right")
        wait_for("Inbox expanded", lambda: is_expanded(rows, "Inbox"))
        key("Left")
        wait_for("Inbox collapsed", lambda: not is_expanded(rows, "Inbox"))
        key("F2")
        subprocess.run(["xdotool", "type", "Work"], check=True)
        key("Return")
        wait_for("Inbox renamed", lambda: first_folder(data)["name"] == "Work")
        key("End")
        wait_for("Old plan highlighted", lambda: is_focused(rows, "Reopen Old plan"))
        key("Return")
        wait_for("Old plan reopened", lambda: "/K9/" in read(opened))
        key("Escape")
        wait_for("the panel closed", lambda: not any(
            states(application.get_child_at_index(i)).contains(Atspi.StateType.SHOWING)
            for i in range(application.get_child_count())))
    finally:
        nookery.terminate()
        nookery.wait(10)
        launcher.terminate()
        launcher.wait(10)


if __name__ == "__main__":
    main()
