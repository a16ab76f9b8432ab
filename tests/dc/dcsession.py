"""Double Commander 1.0.10 driven under a virtual display of its own: a fresh
configuration listing the plug-in (tools/install-doublecmd.sh), the file
manager started on a folder that holds the one file to view, keys and clicks
by xdotool, the clipboard read by xclip, pictures by ImageMagick's import.
Without a window manager a window focus alone leaves no keyboard focus, so
the file list is clicked into first; windows are found by their titles.
"""
import ctypes
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

SCREEN = "1280x1024x24"
VIEWER_SIZE = (900, 700)


def _end_with_this_test():
    """Run in each child before it starts: the kernel ends it when the test's
    process goes, even one killed by ctest's timeout before stop() ran."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def wait_for(what, timeout, step=0.05):
    """Polls `what` until it gives something true; that, or None after `timeout` seconds."""
    end = time.monotonic() + timeout
    while True:
        found = what()
        if found:
            return found
        if time.monotonic() > end:
            return None
        time.sleep(step)


class Session:
    def __init__(self, source_dir, plugin, viewed_file):
        self.source_dir = source_dir
        self.root = tempfile.mkdtemp(prefix="corvelle-dc-")
        self.files = os.path.join(self.root, "files")
        self.config = os.path.join(self.root, "config")
        os.makedirs(self.files)
        self.viewed = os.path.join(self.files, os.path.basename(viewed_file))
        shutil.copyfile(viewed_file, self.viewed)
        subprocess.run([os.path.join(source_dir, "tools", "install-doublecmd.sh"), "--config-dir", self.config,
                        "--plugin", plugin], check=True, stdout=subprocess.DEVNULL)
        self.xvfb = None
        self.dc = None
        self.env = dict(os.environ)
        # Nothing of the user's own settings or desktop is read.
        self.env["HOME"] = os.path.join(self.root, "home")
        self.env.pop("XDG_CONFIG_HOME", None)
        os.makedirs(self.env["HOME"])

    # The display and the file manager -------------------------------------------------

    def start(self):
        for program in ("Xvfb", "doublecmd", "xdotool", "xclip", "import"):
            if shutil.which(program) is None:
                raise RuntimeError(f"{program} is not installed: tools/setup.sh installs it")
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp"],
                                     pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     preexec_fn=_end_with_this_test)
        os.close(write_end)
        with os.fdopen(read_end) as display:
            number = display.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        self.dc = subprocess.Popen(["doublecmd", "--no-splash", "--config-dir=" + self.config, self.files],
                                   env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   preexec_fn=_end_with_this_test)
        self.main = wait_for(lambda: self.window(r"^Double Commander( .*)?$"), 30)
        if not self.main:
            raise RuntimeError("Double Commander's window did not appear")
        # The file list, clicked into once it is drawn: the keyboard's focus is there now.
        time.sleep(1.0)
        self.xdotool("mousemove", "--window", self.main, "200", "200", "click", "1")
        time.sleep(0.3)

    def stop(self):
        for process in (self.dc, self.xvfb):
            if process is not None and process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        shutil.rmtree(self.root, ignore_errors=True)

    def __enter__(self):
        self.start()
        return self

    def __exit__(self, *exc):
        self.stop()

    def alive(self):
        return self.dc.poll() is None

    def resident_kb(self):
        """The file manager's resident memory, in kilobytes."""
        with open(f"/proc/{self.dc.pid}/status") as status:
            return int(re.search(r"VmRSS:\s+(\d+)", status.read()).group(1))

    # Windows, keys, the clipboard, pictures -----------------------------------------

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True, timeout=30).stdout

    def window(self, title_pattern):
        """The first visible window whose title matches, or None."""
        for window in self.xdotool("search", "--onlyvisible", "--name", title_pattern).split():
            return window
        return None

    def key(self, *keys, pause=0.25):
        for key in keys:
            self.xdotool("key", key)
            time.sleep(pause)

    def type(self, text):
        self.xdotool("type", "--delay", "40", text)

    def open_viewer(self, timeout=20):
        """F3 on the one file; the viewer's window, moved into the screen (there is no window manager)."""
        self.key("End", "F3")
        viewer = wait_for(lambda: self.window(re.escape(os.path.basename(self.viewed))), timeout)
        if not viewer:
            return None
        self.xdotool("windowmove", viewer, "0", "0")
        self.xdotool("windowsize", viewer, str(VIEWER_SIZE[0]), str(VIEWER_SIZE[1]))
        time.sleep(0.5)
        return viewer

    def viewer_open(self):
        return self.window(re.escape(os.path.basename(self.viewed))) is not None

    def clipboard(self):
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env, capture_output=True,
                                timeout=10)
        return result.stdout.decode("utf-8", "replace") if result.returncode == 0 else None

    def copied(self, keys=("ctrl+a", "ctrl+c"), before=None, timeout=5):
        """Presses `keys` and waits for the clipboard to hold something new."""
        self.key(*keys)
        return wait_for(lambda: (lambda text: text if text is not None and text != before else None)(self.clipboard()),
                        timeout)

    def picture(self, path):
        """The viewer's part of the screen, as a PNG file."""
        width, height = VIEWER_SIZE
        subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+0+0", "+repage", path],
                       env=self.env, check=True, timeout=30)
