#!/usr/bin/python3
# SPDX-License-Identifier: GPL-2.0-or-later
"""The road test: the real gallivex on a private X desktop, driven only by clicks and keys on the
screen positions of its accessible controls, the way a person (or a screen reader) meets it.

welcome -> new album -> theme Classic -> a folder of photos -> rotate one -> EXIF dialog ->
properties (title, colour, font) -> generation -> view -> final page -> Publish to an FTP server
on 127.0.0.1 -> Done; then again:
album manager -> rename -> open -> Cancel. After every step the program is alive, the wizard's
controls are laid out (inside the window, not empty, not overlapping, their captions fit) and a
picture of the window is saved as NN-step.png."""

import argparse
import glob
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from desktop import Desktop, stop_process_group  # noqa: E402

ALBUM_NAME = "Harbour Walk"
NAME_DIALOG = "Please name your new album"
RENAMED = "Harbour Walk Renamed"
TITLE = "Boats at dawn"
COLOUR = "#336699"
MAX_PROBLEMS = 12  # told per step; a page in pieces would otherwise bury the rest
FTP_USER = "roaduser"
FTP_PASSWORD = "Road-Secret-2718"
PUBLISH_TITLE = "Publish album"
ALBUM_MANIFEST = "gallivex-album.json"


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--bin", required=True, help="the build's bin folder")
    parser.add_argument("--photos", required=True, help="a folder of photos to add")
    parser.add_argument("--shots", required=True, help="where the screenshots go")
    parser.add_argument("--scheme", choices=("light", "dark"), default="light")
    parser.add_argument("--keep", action="store_true", help="keep the test home (for looking)")
    arguments = parser.parse_args()
    for name in ("bin", "photos", "shots"):
        setattr(arguments, name, os.path.abspath(getattr(arguments, name)))
    return arguments


class Road:
    def __init__(self, desktop, arguments):
        import layout
        import screen
        self.layout = layout
        self.screen_module = screen
        self.desktop = desktop
        self.args = arguments
        self.shots = arguments.shots
        self.step_number = 0
        self.program = None
        self.screen = None
        self.failures = []
        self.photos = desktop.path("photos")
        self.destination = desktop.path("albums", "harbour")
        self.browser_log = desktop.path("browser.log")
        self.fonts = layout.TextMeasure()
        self.started = time.monotonic()
        self.colour_typed = False
        self.ftp_root = desktop.path("ftp")
        self.ftp_server = None

    # -- the program ----------------------------------------------------------------------------
    def program_env(self):
        env = dict(self.desktop.env)
        env.update({
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_ACCESSIBILITY": "1",
            "QT_QPA_PLATFORM": "xcb",
            "GALLIVEX_DEBUG_CONTROLS": "1",
            "BROWSER": self.desktop.path("bin", "browser"),
        })
        if self.args.scheme == "dark":
            # Qt 6.4 takes the desktop's colours from its GTK platform theme.
            env["QT_QPA_PLATFORMTHEME"] = "gtk3"
            env["GTK_THEME"] = "Adwaita:dark"
        return env

    def start_program(self):
        self.log_path = self.desktop.path("gallivex-%d.log" % (self.step_number))
        log = open(self.log_path, "wb")
        self.program = subprocess.Popen([os.path.join(self.args.bin, "gallivex")],
                                        env=self.program_env(), stdin=subprocess.DEVNULL,
                                        stdout=log, stderr=log, cwd=self.desktop.path("home"),
                                        start_new_session=True)
        self.screen = self.screen_module.Screen(self.desktop.env, self.program.pid)
        self.screen.application(timeout=30)

    def stop_program(self):
        stop_process_group(self.program)
        self.program = None

    def wait_for_exit(self, timeout=20):
        try:
            code = self.program.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end")
        if code != 0:
            raise AssertionError(f"the program ended with {code}")
        self.program = None

    # -- steps ----------------------------------------------------------------------------------
    def step(self, name, window_title=None, check=True):
        """After each step: alive, laid out, pictured."""
        self.step_number += 1
        label = "%02d-%s" % (self.step_number, name)
        if self.program.poll() is not None:
            raise AssertionError(f"{label}: the program ended ({self.program.returncode})")
        window = self.screen.window(window_title) if window_title else self.wizard()
        controls = self.screen.settled_controls(window)
        self.screen.screenshot(window, os.path.join(self.shots, label + ".png"),
                               frame=window_title is not None)
        if check:
            problems = self.layout.check(window, controls, self.fonts, self.classes())
            for problem in problems[:MAX_PROBLEMS]:
                self.failures.append(f"{label}: {problem}")
            if len(problems) > MAX_PROBLEMS:
                self.failures.append(f"{label}: and {len(problems) - MAX_PROBLEMS} more")
        print(f"road: {label}: {len(controls)} controls at {time.monotonic() - self.started:.1f} s",
              flush=True)
        return window

    def classes(self):
        """The class of each control of the last page listing the program printed
        (GALLIVEX_DEBUG_CONTROLS), by its rectangle."""
        found = {}
        try:
            with open(self.log_path, encoding="utf-8", errors="replace") as log:
                lines = log.read().splitlines()
        except OSError:
            return found
        for line in lines:
            if line.startswith("page "):
                found = {}
            elif line.startswith("control "):
                parts = line.split(" ")
                try:
                    box = tuple(int(v) for v in parts[-4:])
                except ValueError:
                    continue
                found[box] = parts[1]
        return found

    def wizard(self):
        """The wizard: the largest of the program's windows (message boxes share its title)."""
        self.screen.window("Gallivex")
        windows = [w for w in self.screen.windows() if "Gallivex" in (w.name or "")]
        return max(windows, key=lambda w: self.screen_module.window_box(w)[2] *
                   self.screen_module.window_box(w)[3])

    def press(self, name, role="push button", window=None):
        self.screen.click(name, role, window)

    def press_wizard(self, name):
        """The sheet's own buttons (Back, Next, Done, Cancel)."""
        self.screen.click(name, "push button", self.wizard())

    # -- the road -------------------------------------------------------------------------------
    def prepare(self):
        os.makedirs(self.shots, exist_ok=True)
        for old in glob.glob(os.path.join(self.shots, "*.png")):
            os.remove(old)
        os.makedirs(self.photos)
        # The largest camera photos: a preview worth looking at, EXIF to show.
        jpegs = [f for f in os.listdir(self.args.photos) if f.lower().endswith((".jpg", ".jpeg"))]
        chosen = sorted(jpegs, key=lambda f: -os.path.getsize(os.path.join(self.args.photos, f)))[:4]
        if len(chosen) < 2:
            raise AssertionError(f"too few photos in {self.args.photos}")
        for name in chosen:
            shutil.copy(os.path.join(self.args.photos, name), self.photos)
        os.makedirs(os.path.dirname(self.destination))
        self.make_browser()

    def make_browser(self):
        """A stand-in browser that only records what it was asked to open, reached through
        BROWSER and the home's default application for web pages."""
        folder = self.desktop.path("bin")
        os.makedirs(folder)
        browser = os.path.join(folder, "browser")
        with open(browser, "w") as script:
            script.write("#!/bin/sh\nprintf '%%s\\n' \"$*\" >> '%s'\n" % self.browser_log)
        os.chmod(browser, 0o755)
        applications = os.path.join(self.desktop.env["XDG_DATA_HOME"], "applications")
        os.makedirs(applications, exist_ok=True)
        with open(os.path.join(applications, "road-browser.desktop"), "w") as entry:
            entry.write("[Desktop Entry]\nType=Application\nName=Road browser\n"
                        f"Exec={browser} %u\nMimeType=text/html;x-scheme-handler/http;"
                        "x-scheme-handler/https;\n")
        with open(os.path.join(self.desktop.env["XDG_CONFIG_HOME"], "mimeapps.list"), "w") as m:
            m.write("[Default Applications]\ntext/html=road-browser.desktop\n"
                    "x-scheme-handler/http=road-browser.desktop\n"
                    "x-scheme-handler/https=road-browser.desktop\n")

    def close_tip(self):
        tip = self.screen.window("Tip of the Day", timeout=20)
        self.step("tip", "Tip of the Day", check=False)
        self.press("Done", window=tip)
        self.screen.wait(lambda: not any("Tip of the Day" in (w.name or "")
                                         for w in self.screen.windows()), "the tip to close")

    def first_visit(self):
        self.start_program()
        self.close_tip()
        self.step("welcome")
        self.press("Create a new album", None)
        self.press_wizard("Next")
        self.name_album()
        self.step("theme")
        self.pick_theme("Classic")
        self.step("theme-classic")
        self.press_wizard("Next")
        self.step("photos-empty")
        self.add_folder()
        self.step("photos")
        self.rotate_one()
        self.step("rotated")
        self.exif_dialog()
        self.press_wizard("Next")
        self.step("properties")
        self.set_properties()
        self.step("properties-set")
        self.press_wizard("Next")
        self.step("generation")
        self.generate()
        self.step("generated")
        self.view()
        self.step("viewed")
        self.press_wizard("Next")
        self.step("final")
        self.publish()
        self.step("final-published")
        self.press("Exit Gallivex", None)
        self.press_wizard("Done")
        self.wait_for_exit()

    def name_album(self):
        """A new album may be named at once, when the program asks."""
        try:
            dialog = self.screen.window(NAME_DIALOG, timeout=1.5)
        except AssertionError:
            return
        self.step("album-name", NAME_DIALOG, check=False)
        self.screen.key("ctrl+a")
        self.screen.type(ALBUM_NAME)
        self.press("OK", window=dialog)

    def pick_theme(self, name):
        tree = self.screen.find_role("tree", self.wizard())
        item = self.screen.find_item(tree, name)
        self.screen.click_at(*item.centre)

    def add_folder(self):
        self.press("Add Folder")
        dialog = self.screen.window("folder with photos", timeout=10)
        # The chooser is a real dialog: type the folder into it.
        entry = self.screen.find_role("text", dialog, editable=True)
        self.screen.click_at(*entry.centre)
        self.screen.key("ctrl+a")
        self.screen.type(self.photos)
        self.step("folder-chooser", dialog.name, check=False)
        self.screen.key("Return")
        self.screen.wait(lambda: dialog.name not in [w.name for w in self.screen.windows()],
                         "the folder chooser to close")
        self.screen.wait(lambda: self.photo_rows() >= 2, "the photos to be listed", timeout=30)

    def photo_rows(self):
        lists = self.screen.find_all_roles("list", self.wizard())
        return max((l.accessible.childCount for l in lists), default=0)

    def rotate_one(self):
        lists = self.screen.find_all_roles("list", self.wizard())
        rows = self.screen.items(lists[0])
        self.screen.click_at(*rows[0].centre)
        self.press("Right")

    def exif_dialog(self):
        self.press("EXIF")
        dialog = self.screen.window("Exif information", timeout=10)
        self.step("exif", dialog.name, check=False)
        self.screen.key("Escape")
        self.screen.wait(lambda: dialog.name not in [w.name for w in self.screen.windows()],
                         "the EXIF dialog to close")

    def set_properties(self):
        window = self.wizard()
        title = self.screen.field_after_label("Album title", window)
        self.screen.click_at(*title.centre)
        self.screen.key("ctrl+a")
        self.screen.type(TITLE)
        self.screen.key("Tab")
        self.press("Choose color", window=window)
        self.colour_typed = self.in_dialog("Select Color", "HTML", COLOUR)
        self.press("Choose font", window=self.wizard())
        self.in_dialog("Select Font", "Size", "40")

    def in_dialog(self, title, label, text):
        """Types text into a standard dialog's field and accepts the dialog. Under the GTK
        theme (the dark scheme) the desktop draws its own dialog: it is accepted as it comes."""
        step = title.lower().replace(" ", "-")
        if self.args.scheme == "dark":
            button = self.screen.desktop_dialog_button(("Select", "OK"))
            if button is None:
                raise AssertionError(f"no way to accept {title!r}")
            self.step(step, check=False)
            self.screen.click_at(*button.centre)
            self.screen.wait(lambda: self.screen.desktop_dialog_button(("Select", "OK"), 0.2)
                             is None, f"{title!r} to close")
            return False
        dialog = self.screen.window(title, timeout=5)
        field = self.screen.field_after_label(label, dialog)
        self.screen.click_at(*field.centre)
        self.screen.key("ctrl+a")
        self.screen.type(text)
        self.step(step, title, check=False)
        self.screen.key("Return")
        self.screen.wait(lambda: title not in [w.name for w in self.screen.windows()],
                         f"{title!r} to close")
        return True

    def generate(self):
        window = self.wizard()
        entry = self.screen.field_after_label("Destination folder", window)
        self.screen.click_at(*entry.centre)
        self.screen.key("ctrl+a")
        self.screen.type(self.destination)
        self.press("Generate")
        self.screen.wait(lambda: os.path.exists(os.path.join(self.destination, "index.html")),
                         "the album to be written", timeout=60)
        # A new album is saved after it was made: the program asks for its name first.
        self.screen.wait(lambda: self.asks_album_name() or
                         self.screen.find("View", "push button", timeout=0.5).enabled,
                         "the album's name to be asked or View to be offered", timeout=30)
        self.name_album()
        self.screen.wait(lambda: self.screen.find("View", "push button", timeout=0.5).enabled,
                         "View to be offered", timeout=30)

    def asks_album_name(self):
        return any(NAME_DIALOG in (w.name or "") for w in self.screen.windows())

    def view(self):
        self.press("View")
        self.screen.wait(lambda: os.path.exists(self.browser_log), "the browser to be asked")
        with open(self.browser_log) as log:
            opened = log.read()
        if "index.html" not in opened:
            raise AssertionError(f"the browser was asked for {opened!r}")

    # -- publishing -----------------------------------------------------------------------------
    def start_ftp_server(self):
        """pyftpdlib on a free port of 127.0.0.1, with a login and a folder of its own."""
        os.makedirs(os.path.join(self.ftp_root, "www"))
        with socket.socket() as probe:
            probe.bind(("127.0.0.1", 0))
            port = probe.getsockname()[1]
        log = open(self.desktop.path("ftp.log"), "wb")
        self.ftp_server = subprocess.Popen(
            ["/usr/bin/python3", "-m", "pyftpdlib", "-i", "127.0.0.1", "-p", str(port),
             "-d", self.ftp_root, "-w", "-u", FTP_USER, "-P", FTP_PASSWORD],
            stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)

        def listening():
            with socket.socket() as s:
                return s.connect_ex(("127.0.0.1", port)) == 0
        self.screen.wait(listening, "the FTP server to listen")
        return port

    def stop_ftp_server(self):
        if self.ftp_server is not None and self.ftp_server.poll() is None:
            os.killpg(self.ftp_server.pid, 15)
            self.ftp_server.wait(timeout=5)
        self.ftp_server = None

    def publish(self):
        """Publish on the final page: the address typed without "ftp://", the login, Connect,
        the folder picked in the tree, Transfer Album, the files checked on the server, Done."""
        port = self.start_ftp_server()
        self.press("Publish", window=self.wizard())
        dialog = self.screen.window(PUBLISH_TITLE, timeout=10)
        self.step("publish", PUBLISH_TITLE)
        address = self.screen.find("FTP address", "combo box", dialog)
        self.screen.click_at(address.box[0] + 20, address.centre[1])
        self.screen.key("ctrl+a")
        self.screen.type("127.0.0.1:%d/www" % port)
        login = self.screen.find("Login", "text", dialog)
        self.screen.click_at(*login.centre)
        self.screen.type(FTP_USER)
        password = self.screen.find("Password", "password text", dialog)
        self.screen.click_at(*password.centre)
        self.screen.type(FTP_PASSWORD)
        self.step("publish-login", PUBLISH_TITLE)
        self.press("Connect", window=dialog)
        tree = self.screen.find_role("tree", dialog)
        self.screen.wait(lambda: self.screen.find_item(tree, "www", timeout=0.3),
                         "the server's folders to show")
        self.step("publish-connected", PUBLISH_TITLE)
        self.screen.click_at(*self.screen.find_item(tree, "www").centre)
        self.screen.wait(lambda: self.screen.find("Transfer Album", "push button", dialog,
                                                  timeout=0.3).enabled,
                         "Transfer Album to be offered")
        self.press("Transfer Album", window=dialog)
        sent = os.path.join(self.ftp_root, "www")
        self.screen.wait(lambda: os.path.isfile(os.path.join(sent, "filelist.xml")),
                         "the album to arrive on the server", timeout=60)
        for folder, _, files in os.walk(self.destination):
            for name in files:
                relative = os.path.relpath(os.path.join(folder, name), self.destination)
                if relative == ALBUM_MANIFEST:
                    # It names the photos' folders on this computer: it stays at home.
                    if os.path.exists(os.path.join(sent, relative)):
                        raise AssertionError(f"{relative} was published")
                    continue
                if not os.path.isfile(os.path.join(sent, relative)):
                    raise AssertionError(f"{relative} did not arrive on the server")
        self.screen.wait(lambda: self.screen.find("Done", "push button", dialog,
                                                  timeout=0.3).enabled,
                         "the transfer to end")
        self.step("published", PUBLISH_TITLE)
        self.press("Done", window=dialog)
        self.screen.wait(lambda: PUBLISH_TITLE not in [w.name for w in self.screen.windows()],
                         "the publish dialog to close")
        self.stop_ftp_server()

    def second_visit(self):
        self.start_program()
        self.close_tip()
        self.step("welcome-again")
        self.press("Open an existing album", None)
        self.press_wizard("Next")
        self.step("album-manager")
        albums = self.screen.find_all_roles("list", self.wizard())
        items = self.screen.items(albums[0])
        album = [i for i in items if i.name]
        if len(album) != 1:
            raise AssertionError(f"the album is not listed alone: {[i.name for i in items]}")
        self.screen.click_at(*album[0].centre)
        self.press("Rename")
        time.sleep(0.3)
        self.screen.key("ctrl+a")
        self.screen.type(RENAMED)
        self.screen.key("Return")
        self.screen.wait(lambda: RENAMED in [i.name for i in self.screen.items(
            self.screen.find_all_roles("list", self.wizard())[0])], "the new name to show")
        self.step("renamed")
        self.press("Open")
        self.step("opened")
        self.press_wizard("Cancel")
        self.answer_exit()
        self.wait_for_exit()

    def message_box(self, timeout=10):
        """A message box over the wizard: the program's smallest window with its title."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            windows = [w for w in self.screen.windows() if "Gallivex" in (w.name or "")]
            if len(windows) > 1:
                return min(windows, key=lambda w: self.screen_module.window_box(w)[2])
            time.sleep(0.1)
        raise AssertionError("no message box came up")

    def answer_exit(self):
        box = self.message_box()
        self.step("exit-question", box.name, check=False)
        names = [c.name for c in self.screen.controls(box) if c.role == "push button"]
        for answer in ("Yes", "Don't Save", "Discard"):
            if answer in names:
                self.press(answer, window=box)
                return
        raise AssertionError(f"the exit question has no way out: {names}")

    def check_disk(self):
        if not os.path.isfile(os.path.join(self.destination, "index.html")):
            raise AssertionError("the album is not on disk")
        projects = [os.path.join(folder, name)
                    for folder, _, files in os.walk(self.desktop.env["HOME"])
                    for name in files if name.endswith(".gvp")]
        if not projects:
            raise AssertionError("no project file was saved")
        # The project reads back: the album made again from it by the command-line program.
        again = self.desktop.path("albums", "again")
        run = subprocess.run([os.path.join(self.args.bin, "gallivex-cli"), "generate",
                              projects[0], "--dest", again], env=self.program_env(),
                             capture_output=True, text=True, timeout=120)
        if run.returncode != 0:
            raise AssertionError(f"the project does not read back: {run.stderr}")
        texts = ""
        for folder, _, files in os.walk(again):
            for name in files:
                if name.endswith((".html", ".css")):
                    with open(os.path.join(folder, name), encoding="utf-8") as page:
                        texts += page.read()
        # A rename names the album and retitles it: its heading is the new name.
        wanted_texts = [RENAMED] + ([COLOUR[1:]] if self.colour_typed else [])
        for wanted in wanted_texts:
            if wanted.lower() not in texts.lower():
                raise AssertionError(f"the album made again lost {wanted!r}")

    def run(self):
        self.prepare()
        self.first_visit()
        self.second_visit()
        self.check_disk()


def stop_on_signal(number, _frame):
    # ctest ends a test that ran out of time by a signal: the desktop must still be taken down.
    raise SystemExit(f"road: stopped by signal {number}")


def main():
    arguments = parse_arguments()
    signal.signal(signal.SIGTERM, stop_on_signal)
    signal.signal(signal.SIGINT, stop_on_signal)
    with Desktop(arguments.scheme) as desktop:
        desktop.export_environment()
        road = Road(desktop, arguments)

        def stop():
            road.stop_program()
            road.stop_ftp_server()
            if arguments.keep:
                kept = tempfile.mkdtemp(prefix="gv-road-kept-")
                try:
                    shutil.copytree(desktop.root, kept, dirs_exist_ok=True, symlinks=True)
                except shutil.Error:
                    pass  # sockets stay behind
                print(f"road: home kept in {kept}")
        return walk(road, stop)


def walk(road, stop):
    """Runs the road and then stop, whatever happened; tells the steps walked and every
    failure. The exit code."""
    started = time.monotonic()
    try:
        road.run()
    except Exception:
        traceback.print_exc()
        road.failures.append("the road stopped: see above")
    finally:
        stop()
    print(f"road: {road.step_number} steps in {time.monotonic() - started:.1f} s")
    for failure in road.failures:
        print("road: FAIL " + failure)
    return 1 if road.failures else 0


if __name__ == "__main__":
    sys.exit(main())
