# SPDX-License-Identifier: GPL-2.0-or-later
"""A private desktop for the road test: an X server, a window manager, a session D-Bus with the
accessibility bus, and a home of its own. Every helper leads its own session so that it and
whatever it starts (the AT-SPI registry is re-parented to init) are ended at the close."""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time


class DesktopError(RuntimeError):
    pass


# The desktop starts in a second on an idle machine; a busy one (a build beside the tests)
# can take many times that.
def _wait_for(predicate, timeout, what):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if predicate():
            return
        time.sleep(0.05)
    raise DesktopError(f"timed out waiting for {what}")


def stop_process_group(process):
    """Ends a program started in a session of its own, and whatever it started, by its id."""
    if process is None or process.poll() is not None:
        return
    try:
        os.killpg(process.pid, 15)
        process.wait(timeout=5)
    except (ProcessLookupError, subprocess.TimeoutExpired):
        try:
            os.killpg(process.pid, 9)
        except ProcessLookupError:
            pass


class Desktop:
    def __init__(self, scheme="light", width=1280, height=900):
        self.scheme = scheme
        self.size = (width, height)
        self.root = tempfile.mkdtemp(prefix="gv-road-")
        self.helpers = []  # Popen objects, each the leader of its own session
        self.env = {}

    # -- the home -------------------------------------------------------------------------------
    def _make_home(self):
        folders = {
            "HOME": "home",
            "XDG_CONFIG_HOME": "home/.config",
            "XDG_DATA_HOME": "home/.local/share",
            "XDG_CACHE_HOME": "home/.cache",
            "XDG_RUNTIME_DIR": "runtime",
            "TMPDIR": "tmp",
        }
        env = {k: v for k, v in os.environ.items()
               if k in ("PATH", "LANG", "LC_ALL", "LANGUAGE", "TZ", "LSAN_OPTIONS", "ASAN_OPTIONS")}
        for name, relative in folders.items():
            path = os.path.join(self.root, relative)
            os.makedirs(path, exist_ok=True)
            env[name] = path
        os.chmod(env["XDG_RUNTIME_DIR"], 0o700)
        env["XAUTHORITY"] = os.path.join(self.root, "Xauthority")
        open(env["XAUTHORITY"], "w").close()
        env.setdefault("LANG", "C.UTF-8")
        self.env = env

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    # -- helpers --------------------------------------------------------------------------------
    def _start(self, argv, env=None, **kwargs):
        log = open(self.path(os.path.basename(argv[0]) + ".log"), "ab")
        process = subprocess.Popen(argv, env=env or self.env, stdin=subprocess.DEVNULL,
                                   stdout=kwargs.pop("stdout", log), stderr=log,
                                   start_new_session=True, **kwargs)
        self.helpers.append(process)
        return process

    def _start_x(self):
        read_end, write_end = os.pipe()
        width, height = self.size
        self._start(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                     f"{width}x{height}x24", "-nolisten", "tcp", "-dpi", "96"],
                    pass_fds=(write_end,))
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + 20
        while not number.endswith(b"\n"):
            if time.monotonic() > deadline:
                raise DesktopError("Xvfb did not tell its display")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise DesktopError("Xvfb ended before it told its display")
            number += chunk
        os.close(read_end)
        self.env["DISPLAY"] = ":" + number.decode().strip()

    def _start_window_manager(self):
        # A window manager that ended at start on a loaded machine is started again, rather
        # than waited for until the deadline; its log says why when it never comes.
        managers = [self._start(["openbox", "--sm-disable"])]

        def ready():
            if managers[-1].poll() is not None and len(managers) < 5:
                managers.append(self._start(["openbox", "--sm-disable"]))
            out = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                 capture_output=True, text=True)
            return "window id" in out.stdout
        try:
            _wait_for(ready, 60, "the window manager")
        except DesktopError:
            with open(self.path("openbox.log"), errors="replace") as log:
                sys.stderr.write(log.read()[-2000:])
            raise

    def _start_bus(self):
        address = "unix:path=" + self.path("runtime", "bus")
        self._start(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                     "--address=" + address])
        _wait_for(lambda: os.path.exists(self.path("runtime", "bus")), 60, "the session bus")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self._start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])

        def accessibility_bus():
            out = subprocess.run(["dbus-send", "--session", "--print-reply",
                                  "--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                                 env=self.env, capture_output=True, text=True)
            return out.returncode == 0 and "unix:" in out.stdout
        _wait_for(accessibility_bus, 60, "the accessibility bus")

    def _colour_scheme(self):
        # Qt 6.4 on X11 reads the desktop's colour preference only through a platform theme;
        # the gtk3 theme takes it from GTK's settings of the home. The font stays Qt's own
        # default so that both schemes measure the same.
        dark = self.scheme == "dark"
        gtk = self.path("home", ".config", "gtk-3.0")
        os.makedirs(gtk, exist_ok=True)
        with open(os.path.join(gtk, "settings.ini"), "w") as settings:
            settings.write("[Settings]\ngtk-application-prefer-dark-theme=%d\n" % int(dark))
            settings.write("gtk-font-name=DejaVu Sans 9\n")
            if dark:
                settings.write("gtk-theme-name=Adwaita-dark\n")

    def start(self):
        self._make_home()
        self._colour_scheme()
        self._start_x()
        self._start_window_manager()
        self._start_bus()
        return self

    def stop(self):
        for process in reversed(self.helpers):
            self._end_session(process)
        self.helpers.clear()
        shutil.rmtree(self.root, ignore_errors=True)

    @staticmethod
    def _end_session(process):
        """Ends the helper and every process of its session."""
        members = subprocess.run(["ps", "-e", "-o", "pid=,sid="], capture_output=True, text=True)
        pids = []
        for line in members.stdout.splitlines():
            pid, sid = (int(x) for x in line.split())
            if sid == process.pid:
                pids.append(pid)
        for pid in pids:
            try:
                os.kill(pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
        for pid in pids:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass

    def export_environment(self):
        """Points this process at the private desktop: pyatspi finds the accessibility bus
        through the desktop's session bus."""
        for name in ("AT_SPI_BUS_ADDRESS", "QT_QPA_PLATFORM", "QT_STYLE_OVERRIDE"):
            os.environ.pop(name, None)
        os.environ.update(self.env)

    def __enter__(self):
        try:
            return self.start()
        except BaseException:
            self.stop()
            raise

    def __exit__(self, *exc):
        self.stop()
        return False
