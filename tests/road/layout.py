# SPDX-License-Identifier: GPL-2.0-or-later
"""What a person would call a broken page: controls outside the window, of no size, on top of
each other, or with captions that do not fit them."""

import subprocess

# Controls that lie on top of another by design: the photo preview sits in its frame.
LAYERED = {"CMyImage", "CMaskStatic"}
# Controls that draw their accessible name as their caption. Others show something else
# (a skinned button its artwork, a colour button its colour, a spin box's arrows).
CAPTIONED = {"QPushButton", "QCheckBox", "QRadioButton", "QLabel"}
# Roles whose caption is drawn on one line inside the control, and the room the control's own
# drawing (frame, indicator) takes from it.
CAPTION_ROOM = {"push button": 8, "toggle button": 8, "check box": 20, "radio button": 20}


def _escape(text):
    text = text.replace("\\", "\\\\").replace("%", "%%")
    return "\\" + text if text.startswith("@") else text


class TextMeasure:
    """Text sizes in the program's font (DejaVu Sans 9 pt at 96 dpi: Qt's default on X11),
    measured by ImageMagick in one run per question."""

    def __init__(self, family="DejaVu-Sans", points=9, dpi=96):
        self.base = ["convert", "-density", str(dpi), "-pointsize", str(points), "-font", family]
        self.cache = {}

    def sizes(self, requests):
        """requests: (text, wrap width or None); gives {request: (w, h)}."""
        missing = [r for r in dict.fromkeys(requests) if r not in self.cache]
        if missing:
            argv = list(self.base)
            for text, width in missing:
                if width:
                    argv += ["-size", f"{width}x", "caption:" + _escape(text), "+size"]
                else:
                    argv += ["label:" + _escape(text)]
            argv += ["-format", "%w %h\n", "info:"]
            out = subprocess.run(argv, capture_output=True, text=True, check=True).stdout
            for request, line in zip(missing, out.splitlines()):
                w, h = line.split()
                self.cache[request] = (int(w), int(h))
        return {r: self.cache[r] for r in requests}


def _inside(box, outer):
    x, y, w, h = box
    ox, oy, ow, oh = outer
    return x >= ox and y >= oy and x + w <= ox + ow and y + h <= oy + oh


def _overlap(a, b):
    ax, ay, aw, ah = a
    bx, by, bw, bh = b
    return min(ax + aw, bx + bw) > max(ax, bx) and min(ay + ah, by + bh) > max(ay, by)


def _splash(picture, other):
    """An empty list shows a picture in its place (the photo list before photos are added)."""
    return (picture.role in ("image", "label") and other.role == "list"
            and other.accessible.childCount == 0)


def check(window, controls, fonts, classes=None):
    """classes: the class of controls by rectangle, where the program listed them."""
    from screen import window_box as extents
    area = extents(window)
    classes = classes or {}
    for c in controls:
        c.cls = classes.get(tuple(c.box), "")
    problems = []
    for c in controls:
        x, y, w, h = c.box
        if w <= 0 or h <= 0:
            problems.append(f"{c} has no size")
        elif not c.clipped and not _inside(c.box, area):
            problems.append(f"{c} lies outside the window {area}")
    sized = [c for c in controls if c.box[2] > 0 and c.box[3] > 0]
    for i, a in enumerate(sized):
        for b in sized[i + 1:]:
            if a.cls in LAYERED or b.cls in LAYERED or _splash(a, b) or _splash(b, a):
                continue
            if _overlap(a.box, b.box):
                problems.append(f"{a} overlaps {b}")
    problems += _captions(sized, fonts)
    return problems


def _captions(controls, fonts):
    lines = [(c, (c.name, None)) for c in controls
             if c.name and not c.clipped and c.cls in CAPTIONED
             and (c.role in CAPTION_ROOM or c.role == "label")]
    widths = fonts.sizes([request for _, request in lines])
    problems = []
    wraps = []
    for c, request in lines:
        width, height = widths[request]
        room = c.box[2] - CAPTION_ROOM.get(c.role, 0)
        if width <= room + 1:
            if height > c.box[3] + 2:
                problems.append(f"{c}: its caption is {height} px high")
            continue
        if c.role == "label" and room > 20:
            wraps.append((c, (c.name, room)))  # a label may wrap its words
        else:
            problems.append(f"{c}: its caption needs {width} px, has {room}")
    wrapped = fonts.sizes([request for _, request in wraps])
    for c, request in wraps:
        _, height = wrapped[request]
        if height > c.box[3] + 2:
            problems.append(f"{c}: its wrapped caption needs {height} px high, has {c.box[3]}")
    return problems
