# SPDX-License-Identifier: GPL-2.0-or-later
"""The program as a screen reader and a user meet it: its controls read through AT-SPI (name,
role, states, screen rectangle), clicks and keys through xdotool on those rectangles, and
pictures of its window."""

import subprocess
import time

import pyatspi

# Roles of the things a user sees and works with; containers are walked through.
CONTROL_ROLES = {
    "push button", "toggle button", "check box", "radio button", "label", "text", "entry",
    "password text", "list", "list box", "tree", "tree table", "table", "combo box",
    "spin button", "slider", "progress bar", "image", "icon", "scroll bar", "menu button",
    "link", "page tab list", "paragraph",
}
# Roles whose children are part of the control (items of a list, cells of a tree).
LEAF_ROLES = {"list", "list box", "tree", "tree table", "table", "combo box", "spin button",
              "text", "entry", "paragraph", "page tab list", "scroll bar"}


class Control:
    """One visible control, read once."""

    def __init__(self, accessible, role, name, box, enabled, path):
        self.accessible = accessible
        self.role = role
        self.name = name
        self.box = box  # x, y, w, h on the screen
        self.enabled = enabled
        self.path = path  # the roles down to it, for messages
        self.clipped = False  # partly hidden by a container (scrolled)
        self.cls = ""  # the class the program listed it with, where known

    @property
    def centre(self):
        x, y, w, h = self.box
        return x + w // 2, y + h // 2

    def __repr__(self):
        return f'{self.role} "{self.name}" {self.box}'


def clean_name(text):
    return (text or "").replace("&", "").strip()


def _extents(accessible):
    box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (box.x, box.y, box.width, box.height)


def _showing(accessible):
    states = accessible.getState()
    return states.contains(pyatspi.STATE_SHOWING) and states.contains(pyatspi.STATE_VISIBLE)


class Screen:
    def __init__(self, env, pid):
        self.env = env
        self.pid = pid
        self.app = None

    # -- finding --------------------------------------------------------------------------------
    def application(self, timeout=20):
        """The program's accessible application. A GTK platform theme may register a second,
        empty one under the same process: the one that says it is Qt is taken."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            desktop = pyatspi.Registry.getDesktop(0)
            found = []
            for index in range(desktop.childCount):
                app = desktop.getChildAtIndex(index)
                try:
                    if app is not None and app.get_process_id() == self.pid:
                        found.append(app)
                except Exception:
                    continue
            for app in found:
                try:
                    if (app.get_toolkit_name() or "").lower().startswith("qt"):
                        self.app = app
                        return app
                except Exception:
                    continue
            time.sleep(0.2)
        raise AssertionError("the program did not appear on the accessibility bus")

    def desktop_dialog_button(self, names, timeout=5):
        """A button of a dialog the desktop's toolkit draws for the program (GTK's colour and
        font choosers under its platform theme): it registers as another application of the
        same process."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            desktop = pyatspi.Registry.getDesktop(0)
            for index in range(desktop.childCount):
                app = desktop.getChildAtIndex(index)
                try:
                    if app is None or app.get_process_id() != self.pid or app == self.app:
                        continue
                    app.clear_cache()
                    for w in range(app.childCount):
                        window = app.getChildAtIndex(w)
                        for control in self.controls(window):
                            if control.role == "push button" and control.name in names:
                                return control
                except Exception:
                    continue
            time.sleep(0.2)
        return None

    def windows(self):
        """The program's showing top-level windows, the active one first."""
        app = self.app or self.application()
        app.clear_cache()
        found = []
        for index in range(app.childCount):
            window = app.getChildAtIndex(index)
            if window is None:
                continue
            try:
                if _showing(window):
                    found.append(window)
            except Exception:
                continue
        active = [w for w in found if w.getState().contains(pyatspi.STATE_ACTIVE)]
        return active + [w for w in found if w not in active]

    def window(self, title=None, timeout=10):
        deadline = time.monotonic() + timeout
        while True:
            for window in self.windows():
                if title is None or title in (window.name or ""):
                    return window
            if time.monotonic() > deadline:
                names = [w.name for w in self.windows()]
                raise AssertionError(f"no window titled {title!r}; showing: {names}")
            time.sleep(0.1)

    def controls(self, window):
        """Every showing control of a window, read once. A control is seen only within its
        containers (a form scrolled in its viewport): one wholly outside them is left out, one
        partly outside is marked clipped."""
        found = []

        def walk(accessible, path, clip):
            try:
                count = accessible.childCount
            except Exception:
                return
            for index in range(count):
                child = accessible.getChildAtIndex(index)
                if child is None:
                    continue
                try:
                    if not _showing(child):
                        continue
                    role = child.getRoleName()
                    box = _extents(child)
                    seen = _intersect(box, clip)
                    if seen is None:
                        continue
                    here = path + [role]
                    if role in CONTROL_ROLES:
                        control = Control(child, role, clean_name(child.name), box,
                                          child.getState().contains(pyatspi.STATE_ENABLED),
                                          "/".join(here))
                        control.clipped = seen != box
                        found.append(control)
                        if role in LEAF_ROLES:
                            continue
                    walk(child, here, seen if box[2] > 0 and box[3] > 0 else clip)
                except Exception:
                    continue
        walk(window, [], _extents(window))
        return found

    def settled_controls(self, window, timeout=5):
        """The controls once two readings agree: positions move while a page is laid out."""
        deadline = time.monotonic() + timeout
        last = None
        while True:
            now = self.controls(window)
            key = [(c.role, c.name, c.box) for c in now]
            if key == last or time.monotonic() > deadline:
                return now
            last = key
            time.sleep(0.25)

    def find(self, name, role=None, window=None, timeout=10):
        deadline = time.monotonic() + timeout
        while True:
            windows = [window] if window is not None else self.windows()
            for w in windows:
                for control in self.controls(w):
                    if control.name == name and (role is None or control.role == role):
                        return control
            if time.monotonic() > deadline:
                seen = [c for w in windows for c in self.controls(w)]
                raise AssertionError(f"no control named {name!r} ({role}); showing: {seen}")
            time.sleep(0.15)

    def find_all_roles(self, role, window):
        return [c for c in self.controls(window) if c.role == role]

    def find_role(self, role, window, editable=False, timeout=10):
        deadline = time.monotonic() + timeout
        while True:
            for control in self.find_all_roles(role, window):
                if not editable or control.accessible.getState().contains(pyatspi.STATE_EDITABLE):
                    return control
            if time.monotonic() > deadline:
                raise AssertionError(f"no {role} in {window.name!r}")
            time.sleep(0.15)

    def items(self, control):
        """The showing items of a list or tree, in order."""
        found = []

        def walk(accessible, depth):
            for index in range(accessible.childCount):
                child = accessible.getChildAtIndex(index)
                if child is None:
                    continue
                role = child.getRoleName()
                if role in ("list item", "tree item", "table cell") and _showing(child):
                    found.append(Control(child, role, clean_name(child.name), _extents(child),
                                         True, role))
                if depth < 3 and role not in ("scroll bar",):
                    walk(child, depth + 1)
        control.accessible.clear_cache()
        walk(control.accessible, 0)
        return found

    def find_item(self, control, name, timeout=10):
        deadline = time.monotonic() + timeout
        while True:
            for item in self.items(control):
                if item.name == name:
                    return item
            if time.monotonic() > deadline:
                names = [i.name for i in self.items(control)]
                raise AssertionError(f"no item {name!r} in {control}: {names}")
            time.sleep(0.15)

    def field_after_label(self, label, window):
        """The entry a label names: labelled-by first, else the nearest entry right of or
        below the label."""
        controls = self.controls(window)
        labels = [c for c in controls if c.role == "label" and c.name.rstrip(":") == label.rstrip(":")]
        if not labels:
            raise AssertionError(f"no label {label!r}: {controls}")
        lx, ly, lw, lh = labels[0].box
        entries = [c for c in controls if c.role in ("text", "entry", "spin button")]

        def distance(c):
            x, y, w, h = c.box
            if x >= lx + lw - 2 and abs(y - ly) < lh + 4:
                return x - (lx + lw)
            if y >= ly + lh - 2 and abs(x - lx) < 40:
                return y - (ly + lh) + 1
            return 10 ** 6
        entries.sort(key=distance)
        if not entries or distance(entries[0]) >= 10 ** 6:
            raise AssertionError(f"no field beside {label!r}")
        return entries[0]

    # -- acting ---------------------------------------------------------------------------------
    def xdotool(self, *arguments):
        subprocess.run(["xdotool", *arguments], env=self.env, check=True)

    def click_at(self, x, y, button=1, double=False):
        repeat = ["--repeat", "2", "--delay", "80"] if double else []
        self.xdotool("mousemove", "--sync", str(x), str(y), "click", *repeat, str(button))

    def click(self, name, role=None, window=None, double=False):
        control = self.find(name, role, window)
        if not control.enabled:
            raise AssertionError(f"{control} is disabled")
        x, y = control.centre
        self.click_at(x, y, double=double)
        return control

    def key(self, *keys):
        self.xdotool("key", "--delay", "40", *keys)

    def type(self, text):
        self.xdotool("type", "--delay", "15", text)

    def wait(self, condition, what, timeout=20):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            try:
                if condition():
                    return
            except Exception:
                pass
            time.sleep(0.15)
        raise AssertionError(f"timed out waiting for {what}")

    # -- looking --------------------------------------------------------------------------------
    def screenshot(self, window, file, frame=False):
        """The window's picture; with frame, the active window with the window manager's
        title bar (where a dialog's title shows)."""
        if frame:
            active = subprocess.run(["xdotool", "getactivewindow"], env=self.env,
                                    capture_output=True, text=True).stdout.strip()
            if active:
                subprocess.run(["import", "-frame", "-window", active, file], env=self.env,
                               check=True)
                return
        x, y, w, h = _extents(window)
        subprocess.run(["import", "-window", "root", "-crop", f"{w}x{h}+{x}+{y}", "+repage",
                        file], env=self.env, check=True)


def _intersect(a, b):
    x = max(a[0], b[0])
    y = max(a[1], b[1])
    right = min(a[0] + a[2], b[0] + b[2])
    bottom = min(a[1] + a[3], b[1] + b[3])
    if right <= x or bottom <= y:
        # an empty control inside its container still counts (the layout check tells)
        if a[2] <= 0 or a[3] <= 0:
            return a if b[0] <= a[0] <= b[0] + b[2] and b[1] <= a[1] <= b[1] + b[3] else None
        return None
    return (x, y, right - x, bottom - y)


def window_box(window):
    return _extents(window)

