#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""The album builder and the photo editor as two real programs on one private desktop.

gallivex: new album -> a folder of photos -> two photos selected (click, Shift+Down) -> Enhance from
the list's context menu, which starts lumivex beside it on the two photos; the first photo
alone selected, its preview photographed -> lumivex: Rotate 90 from the toolbar's drop-down,
Ctrl+S -> gallivex, untouched since, shows the photo turned in its preview. The editor is left
from its File menu; with one photo selected, the page's Enhance button starts it again on that
photo alone. A picture of each step is saved as NN-step.png."""

import os
import signal
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from desktop import Desktop  # noqa: E402
from road import Road, parse_arguments, stop_on_signal, walk  # noqa: E402

# Wide enough for the wizard and the editor side by side: the page's preview stays in sight
# while the editor works, and what changes it is the editor's message alone.
SCREEN = (2400, 1000)
PREVIEW = "Photo preview"
ENHANCE_BUTTON = "Enh button"


def image_size(path):
    out = subprocess.run(["identify", "-format", "%w %h", path + "[0]"], capture_output=True,
                         text=True, check=True).stdout.split()
    return int(out[0]), int(out[1])


def differing_pixels(first, second):
    """Pixels that differ by more than a little between two pictures of the same size."""
    out = subprocess.run(["compare", "-metric", "AE", "-fuzz", "8%", first, second, "null:"],
                         capture_output=True, text=True)
    return int(float(out.stderr.split()[0]))


def find_accessible(root, role, name, depth=0):
    """The first object under root with this name and role (any role for None), whatever
    its role: the photo preview is not among the controls a layout check reads."""
    import screen
    try:
        count = root.childCount
    except Exception:
        return None
    for index in range(count):
        child = root.getChildAtIndex(index)
        if child is None:
            continue
        try:
            if role in (None, child.getRoleName()) and screen.clean_name(child.name) == name:
                return child
        except Exception:
            continue
        if depth < 8:
            found = find_accessible(child, role, name, depth + 1)
            if found is not None:
                return found
    return None


class RoundTrip(Road):
    def __init__(self, desktop, arguments):
        super().__init__(desktop, arguments)
        self.editor = None  # the editor's process id: the album builder started it
        self.editor_screen = None

    # -- the album builder ------------------------------------------------------------------
    def to_image_list(self):
        self.start_program()
        self.close_tip()
        self.move_windows(self.program.pid, "Gallivex", 0)
        self.press("Create a new album", None)
        self.press_wizard("Next")
        self.name_album()
        self.press_wizard("Next")
        self.add_folder()
        self.step("photos", check=False)

    def photo_list(self):
        return self.screen.find("Photo files", "list", self.wizard())

    def click_row(self, row, button=1):
        """Clicks a row near the list's left edge: a long path reaches beyond the list."""
        x = self.photo_list().box[0] + 30
        self.screen.click_at(x, row.centre[1], button=button)

    def select_two(self):
        rows = self.screen.items(self.photo_list())
        self.click_row(rows[0])
        self.wait_selected(1)
        self.screen.key("shift+Down")
        self.wait_selected(2)
        self.step("two-selected", check=False)
        return rows

    def status_line(self):
        return " ".join(c.name for c in self.screen.controls(self.wizard()) if c.role == "label")

    def wait_selected(self, count):
        try:
            self.screen.wait(lambda: f"/ {count} selected" in self.status_line(),
                             f"{count} selected")
        except AssertionError:
            raise AssertionError(f"not {count} selected: {self.status_line()!r}")

    def enhance_from_menu(self, row):
        """A right click on a selected row keeps the selection; the menu's "&Enhance" is
        chosen by its key, as the menu is not on the accessibility bus as a window of its
        own."""
        self.click_row(row, button=3)
        time.sleep(0.8)
        self.step("context-menu", check=False)
        self.screen.key("e")

    def preview_box(self):
        app = self.screen.app
        app.clear_cache()
        preview = find_accessible(self.wizard(), None, PREVIEW)
        if preview is None:
            raise AssertionError("the page has no photo preview")
        box = preview.queryComponent().getExtents(0)
        return box.x, box.y, box.width, box.height

    def grab(self, box, path):
        x, y, w, h = box
        subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                        path], env=self.desktop.env, check=True)

    def settled_grab(self, box, path):
        """The picture once the preview has finished drawing: two grabs alike."""
        earlier = path + ".earlier.png"
        self.grab(box, earlier)

        def alike():
            self.grab(box, path)
            same = differing_pixels(earlier, path) == 0
            os.replace(path, earlier)
            return same
        self.screen.wait(alike, "the preview to settle", 15)
        os.replace(earlier, path)

    # -- the editor -------------------------------------------------------------------------
    def find_editor(self, timeout=30):
        """The editor the page started: the lumivex whose list file is in this desktop's
        temporary folder."""
        own_tmp = self.desktop.env["TMPDIR"]
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            for entry in os.listdir("/proc"):
                if not entry.isdigit():
                    continue
                try:
                    with open(f"/proc/{entry}/cmdline", "rb") as cmdline:
                        argv = cmdline.read().decode(errors="replace").split("\0")
                except OSError:
                    continue
                if os.path.basename(argv[0]) != "lumivex":
                    continue
                lists = [a[2:] for a in argv[1:] if a.startswith("\\b")]
                if lists and lists[0].startswith(own_tmp):
                    return int(entry), argv[1:]
            time.sleep(0.2)
        raise AssertionError("the album builder did not start the editor")

    def editor_status(self, text, window):
        """The editor's status bar tells the photo's place in its list."""
        def place():
            pane = self.editor_screen.find("Place in list", window=window)
            try:
                return pane.accessible.queryText().getText(0, -1)
            except NotImplementedError:
                return pane.accessible.description
        try:
            self.editor_screen.wait(lambda: text in place(), repr(text), 15)
        except AssertionError:
            raise AssertionError(f"the editor does not show {text!r}: {place()!r}")

    def editor_window(self, title, timeout=30):
        deadline = time.monotonic() + timeout
        while True:
            for window in self.editor_screen.windows():
                if title in (window.name or ""):
                    return window
            if time.monotonic() > deadline:
                names = [w.name for w in self.editor_screen.windows()]
                raise AssertionError(f"no editor window titled {title!r}; showing: {names}")
            time.sleep(0.1)

    def move_windows(self, pid, title, left):
        """Moves a program's windows to the left edge given, as a user drags them aside."""
        ids = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid",
                              str(pid), "--name", title], env=self.desktop.env,
                             capture_output=True, text=True, check=True).stdout.split()
        for window in ids:
            self.screen.xdotool("windowmove", "--sync", window, str(left), "0")

    def editor_shot(self, name, window):
        self.step_number += 1
        label = "%02d-%s" % (self.step_number, name)
        self.editor_screen.screenshot(window, os.path.join(self.shots, label + ".png"))
        print(f"road: {label}: {window.name}", flush=True)

    def stop_editor(self):
        if self.editor is None:
            return
        try:
            os.kill(self.editor, signal.SIGTERM)
        except ProcessLookupError:
            pass
        self.editor = None

    def editor_alive(self):
        return self.editor is not None and os.path.exists(f"/proc/{self.editor}")

    # -- the road ---------------------------------------------------------------------------
    def run(self):
        self.prepare()
        self.to_image_list()
        rows = self.select_two()
        self.enhance_from_menu(rows[1])

        self.editor, arguments = self.find_editor()
        if not any(a.startswith("\\w") and a[2:].strip() for a in arguments):
            raise AssertionError(f"the editor was started without the page's number: {arguments}")
        first = rows[0].name  # the files list shows the photos' paths
        self.editor_screen = self.screen_module.Screen(self.desktop.env, self.editor)
        self.editor_screen.application(timeout=30)
        title = os.path.basename(first) + " - Lumivex"
        window = self.editor_window(title)
        self.editor_status("Image 1 of 2", window)
        wizard_box = self.screen_module.window_box(self.wizard())
        self.move_windows(self.editor, "Lumivex", wizard_box[0] + wizard_box[2] + 40)
        window = self.editor_window(title)
        editor_box = self.screen_module.window_box(window)
        if editor_box[0] < wizard_box[0] + wizard_box[2]:
            raise AssertionError(f"the editor {editor_box} covers the wizard {wizard_box}")
        self.editor_shot("editor-started", window)

        # The first photo alone in the album builder: its preview before the edit.
        name = os.path.basename(first)
        row = next(r for r in self.screen.items(self.photo_list())
                   if r.name and (name in r.name or r.name in name))
        self.click_row(row)
        self.wait_selected(1)
        box = self.preview_box()
        before = self.desktop.path("preview-before.png")
        self.settled_grab(box, before)
        self.step("preview-before", check=False)
        size_before = image_size(first)

        s = self.editor_screen
        s.click("Rotate image", window=window)
        time.sleep(0.5)
        s.key("Down", "Return")
        window = self.editor_window(os.path.basename(first) + " * - Lumivex")
        self.editor_shot("editor-turned", window)
        s.key("ctrl+s")
        window = self.editor_window(title)  # the " *" went: saved
        self.editor_shot("editor-saved", window)
        size_after = image_size(first)
        if size_after != (size_before[1], size_before[0]):
            raise AssertionError(f"the saved photo is {size_after}, not {size_before} turned")

        # The album builder was not touched: its preview follows the editor's message.
        after = self.desktop.path("preview-after.png")

        def preview_changed():
            self.grab(box, after)
            return differing_pixels(before, after) > box[2] * box[3] // 20
        self.screen.wait(preview_changed, "the page's preview to show the saved photo", 30)
        self.step("preview-after", check=False)

        self.leave_editor()

        # One photo selected: the page's own button starts the editor on it alone.
        self.press(ENHANCE_BUTTON, window=self.wizard())
        self.editor, _ = self.find_editor()
        self.editor_screen = self.screen_module.Screen(self.desktop.env, self.editor)
        self.editor_screen.application(timeout=30)
        window = self.editor_window(title)
        self.editor_status("Image 1 of 1", window)
        self.editor_shot("editor-from-button", window)
        self.leave_editor()

    def leave_editor(self):
        s = self.editor_screen
        s.key("alt+f")
        time.sleep(0.4)
        s.key("x")
        s.wait(lambda: not self.editor_alive(), "the editor to end", 15)
        self.editor = None


def main():
    arguments = parse_arguments()
    signal.signal(signal.SIGTERM, stop_on_signal)
    signal.signal(signal.SIGINT, stop_on_signal)
    with Desktop(arguments.scheme, *SCREEN) as desktop:
        desktop.export_environment()
        road = RoundTrip(desktop, arguments)

        def stop():
            road.stop_editor()
            road.stop_program()
        return walk(road, stop)


if __name__ == "__main__":
    sys.exit(main())
