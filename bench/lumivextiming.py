#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""How long the photo editor's common steps take in the real program on a large photo.

lumivex runs on a private X desktop (the road tests' Xvfb, window manager and accessibility
bus) with GV_LUMIVEX_TIMING set, so that it logs each step from the user's action to the
changed picture on the screen. The script drives it as a user does, over AT-SPI and real keys:
the photo and a copy as a list -> Next, Previous (open) -> Enhance colors, three slider steps
(preview update), OK -> Rotate 90 from the toolbar -> Ctrl+S -> Resize to 50 %. Every run starts
the program again on fresh copies; the best of the runs is reported for each step.

    bench/lumivextiming.py --bin build/bin --photo /tmp/photo-6000x4000.jpg [--runs 3]"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "road"))

from desktop import Desktop, stop_process_group  # noqa: E402

STEPS = ("open", "enhance preview", "enhance OK", "fixed turn", "transform", "save")
LINE = re.compile(r"^lumivex timing: (.+) (\d+) ms$")


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--bin", required=True, help="the build's bin folder")
    parser.add_argument("--photo", required=True, help="the photo to measure with")
    parser.add_argument("--runs", type=int, default=3)
    return parser.parse_args()


class TimedEditor:
    def __init__(self, desktop, arguments, run):
        import screen
        self.screen_module = screen
        self.desktop = desktop
        self.args = arguments
        self.run_number = run
        self.log_path = desktop.path(f"lumivex-{run}.log")
        self.program = None
        self.screen = None

    def start(self):
        folder = self.desktop.path("home", f"run{self.run_number}")
        os.makedirs(folder)
        copies = [os.path.join(folder, name) for name in ("first.jpg", "second.jpg")]
        for copy in copies:
            shutil.copy(self.args.photo, copy)
        listing = os.path.join(folder, "list.txt")
        with open(listing, "w") as out:
            out.write("".join(path + "\n" for path in copies))
        env = dict(self.desktop.env, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_QPA_PLATFORM="xcb", GV_LUMIVEX_TIMING="1")
        log = open(self.log_path, "wb")
        self.program = subprocess.Popen([os.path.join(self.args.bin, "lumivex"), "\\b" + listing],
                                        env=env, stdin=subprocess.DEVNULL, stdout=log,
                                        stderr=log, start_new_session=True)
        self.screen = self.screen_module.Screen(self.desktop.env, self.program.pid)
        self.screen.application(timeout=60)

    def stop(self):
        stop_process_group(self.program)

    def timings(self):
        found = []
        with open(self.log_path, encoding="utf-8", errors="replace") as log:
            for line in log:
                match = LINE.match(line.strip())
                if match:
                    found.append((match.group(1), int(match.group(2))))
        return found

    def logged(self, step, count, timeout=120):
        """Waits until step was logged count times in all."""
        self.screen.wait(lambda: sum(1 for s, _ in self.timings() if s == step) >= count,
                         f"{step} to be logged", timeout)

    def titled(self, text, timeout=120):
        self.screen.wait(lambda: any(text in (w.name or "") for w in self.screen.windows()),
                         f"a window titled {text!r}", timeout)

    def walk(self):
        s = self.screen
        self.titled("first.jpg - Lumivex")
        window = s.window("Lumivex")
        s.click("Next image", window=window)
        self.logged("open", 1)
        self.titled("second.jpg - Lumivex")
        s.click("Previous image", window=window)
        self.logged("open", 2)
        self.titled("first.jpg - Lumivex")

        s.key("ctrl+e")
        dialog = s.window("Image colors enhancement", timeout=60)
        slider = s.find_role("slider", dialog)
        s.click_at(*slider.centre)  # the focus; a click on the handle moves nothing
        time.sleep(0.3)
        before = sum(1 for step, _ in self.timings() if step == "enhance preview")
        for count in (1, 2, 3):
            s.key("Page_Up")
            self.logged("enhance preview", before + count)
            time.sleep(0.3)
        s.click("OK", window=dialog)
        self.logged("enhance OK", 1)

        window = s.window("Lumivex")
        s.click("Rotate image", window=window)
        time.sleep(0.5)
        s.key("Down", "Return")
        self.logged("fixed turn", 1)
        s.key("ctrl+s")  # the whole photo, turned
        self.logged("save", 1)

        s.key("ctrl+i")
        dialog = s.window("Resize image", timeout=60)
        width = s.find("Width", window=dialog)
        s.click_at(*width.centre)
        s.key("ctrl+a")
        s.type("50")
        s.key("Return")
        self.logged("transform", 1)
        return self.timings()


def main():
    arguments = parse_arguments()
    best = {}
    with Desktop("light") as desktop:
        desktop.export_environment()
        for run in range(1, arguments.runs + 1):
            editor = TimedEditor(desktop, arguments, run)
            try:
                editor.start()
                timings = editor.walk()
            finally:
                editor.stop()
            print(f"run {run}: " + ", ".join(f"{step} {ms} ms" for step, ms in timings),
                  flush=True)
            for step, ms in timings:
                best[step] = min(ms, best.get(step, ms))
    width, height = subprocess.run(["identify", "-format", "%w %h", arguments.photo],
                                   capture_output=True, text=True, check=True).stdout.split()
    print(f"best of {arguments.runs} runs on a {width} x {height} photo:")
    for step in STEPS:
        print(f"  {step:16} {best.get(step, '-')} ms")
    return 0


if __name__ == "__main__":
    sys.exit(main())
