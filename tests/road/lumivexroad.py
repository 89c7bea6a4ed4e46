#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""The photo editor's road test: the real lumivex on a private X desktop, driven only by clicks
and keys on the screen positions of its accessible controls.

two photos as the album builder's list -> next, previous -> enhance colours with a slider, OK ->
rotate 90 -> free crop dragged with the mouse, Enter -> undo, redo -> Save As a new file ->
one more turn -> exit, answering the save question No. After every step the program is alive
and a picture of the window is saved as lumivex-NN-step.png; the saved file is checked."""

import argparse
import os
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from desktop import Desktop, stop_process_group  # noqa: E402


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--bin", required=True, help="the build's bin folder")
    parser.add_argument("--photos", required=True, help="the tests' photos folder")
    parser.add_argument("--shots", required=True, help="where the screenshots go")
    return parser.parse_args()


def image_size(path):
    out = subprocess.run(["identify", "-format", "%w %h", path], capture_output=True,
                         text=True, check=True).stdout.split()
    return int(out[0]), int(out[1])


class EditorRoad:
    def __init__(self, desktop, arguments):
        import screen
        self.screen_module = screen
        self.desktop = desktop
        self.args = arguments
        self.step_number = 0
        self.program = None
        self.screen = None

    def start(self, photos):
        work = self.desktop.path("home", "photos")
        os.makedirs(work, exist_ok=True)
        copies = []
        for name in photos:
            target = os.path.join(work, name)
            shutil.copy(os.path.join(self.args.photos, name), target)
            copies.append(target)
        listing = self.desktop.path("home", "list.txt")
        with open(listing, "w") as out:
            out.write("".join(path + "\n" for path in copies))
        log = open(self.desktop.path("lumivex.log"), "wb")
        env = dict(self.desktop.env, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_QPA_PLATFORM="xcb")
        self.program = subprocess.Popen([os.path.join(self.args.bin, "lumivex"), "\\b" + listing],
                                        env=env, stdin=subprocess.DEVNULL, stdout=log,
                                        stderr=log, start_new_session=True)
        self.screen = self.screen_module.Screen(self.desktop.env, self.program.pid)
        self.screen.application(timeout=30)
        self.work = work
        return copies

    def stop(self):
        stop_process_group(self.program)

    def step(self, name, title="Lumivex", frame=False):
        self.step_number += 1
        if self.program.poll() is not None:
            raise AssertionError(f"the editor ended before step {name}")
        window = self.screen.window(title, timeout=15)
        time.sleep(0.4)
        shot = os.path.join(self.args.shots, "lumivex-%02d-%s.png" % (self.step_number, name))
        self.screen.screenshot(window, shot, frame=frame)
        print(f"step {self.step_number:02d} {name}: {window.name}")
        return window

    def title_has(self, text):
        try:
            self.screen.wait(lambda: any(text in (w.name or "") for w in self.screen.windows()),
                             f"a window titled with {text!r}")
        except AssertionError:
            names = [w.name for w in self.screen.windows()]
            raise AssertionError(f"no window titled with {text!r}; showing: {names}")

    def run(self):
        self.start(["exs-Nikon_D70.jpg", "et-Apple.jpg"])
        s = self.screen
        self.title_has("exs-Nikon_D70.jpg - Lumivex")
        window = self.step("list")
        s.click("Next image", window=window)
        self.title_has("et-Apple.jpg - Lumivex")
        window = self.step("next")
        s.click("Previous image", window=window)
        self.title_has("exs-Nikon_D70.jpg - Lumivex")
        window = self.step("previous")

        s.key("ctrl+e")
        dialog = s.window("Image colors enhancement", timeout=15)
        slider = s.find_role("slider", dialog)
        s.click_at(*slider.centre)
        s.key("Page_Up", "Page_Up")
        self.step("enhance-dialog", title="Image colors enhancement", frame=True)
        s.click("OK", window=dialog)
        self.title_has("exs-Nikon_D70.jpg * - Lumivex")
        window = self.step("enhanced")

        s.click("Rotate image", window=window)
        time.sleep(0.5)
        s.key("Down", "Return")
        time.sleep(2.0)
        window = self.step("rotated")

        s.key("ctrl+r")
        x, y, w, h = self.screen_module.window_box(window)
        # The photo is drawn centred in the view, below the menu and toolbar.
        cx, cy = x + w // 2, y + h // 2 + 20
        s.xdotool("mousemove", "--sync", str(cx - 20), str(cy - 30), "mousedown", "1")
        s.xdotool("mousemove", "--sync", str(cx + 5), str(cy + 5))
        s.xdotool("mousemove", "--sync", str(cx + 20), str(cy + 30), "mouseup", "1")
        window = self.step("crop-tracker")
        s.key("Return")
        time.sleep(1.5)
        window = self.step("cropped")

        s.key("ctrl+z")
        time.sleep(0.5)
        window = self.step("undone")
        s.key("ctrl+z")
        time.sleep(0.5)
        window = self.step("redone")

        target = os.path.join(self.work, "saved.png")
        s.key("alt+f")
        time.sleep(0.4)
        s.key("a")
        s.window("Save As", timeout=15)
        time.sleep(0.5)
        s.key("ctrl+a")
        s.type(target)
        self.step("save-as", title="Save As", frame=True)
        s.key("Return")
        self.title_has("saved.png - Lumivex")
        window = self.step("saved")
        if not os.path.isfile(target):
            raise AssertionError("Save As wrote no file")
        width, height = image_size(target)
        if not (0 < width < 66 and 0 < height < 100):
            raise AssertionError(f"the saved photo is {width} x {height}, not the crop")

        s.key("ctrl+z")
        self.title_has("saved.png * - Lumivex")
        s.key("alt+f")
        time.sleep(0.4)
        s.key("x")
        s.find("No", role="push button", timeout=10)
        self.step("save-question", frame=True)
        s.click("No", role="push button")
        self.program.wait(timeout=15)
        if image_size(target) != (width, height):
            raise AssertionError("answering No changed the saved photo")
        print("the editor's road is done")


def main():
    arguments = parse_arguments()
    os.makedirs(arguments.shots, exist_ok=True)
    with Desktop("light") as desktop:
        desktop.export_environment()
        road = EditorRoad(desktop, arguments)
        try:
            road.run()
        finally:
            road.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
