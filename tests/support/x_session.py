"""What the tests that drive real windows share: waiting for a condition with a generous limit
that says what it saw last, an X server of our own (Xvfb, with openbox where a window manager
is wanted), a PulseAudio daemon with a null sink, the game's window found by its caption, and
keys held as a person holds them.

Every wait polls for what it waits for: a loaded machine makes it take longer, never fail,
until the limit (well beyond what an idle machine needs) says something is really wrong."""
import glob
import os
import shutil
import signal
import subprocess
import tempfile
import time

KEY_HOLD = 0.08  # seconds a key stays down: longer than a person's shortest press (40 ms)


class Failure(AssertionError):
    pass


def wait_for(seconds, what, condition, seen=None):
    """Retries `condition` until it gives a true value, which it returns. At the limit fails
    naming `what`, and what `seen()` tells of the last look, if given."""
    deadline = time.monotonic() + seconds
    while True:
        result = condition()
        if result:
            return result
        if time.monotonic() > deadline:
            last = "; last seen: %s" % seen() if seen is not None else ""
            raise Failure("gave up waiting for %s after %g s%s" % (what, seconds, last))
        time.sleep(0.05)


def run(*args, **kwargs):
    return subprocess.run(args, check=True, capture_output=True, text=True, **kwargs).stdout


def start_xvfb(screen, **popen):
    """Xvfb on a free display number (it picks one and tells it once it takes connections);
    gives the process and the display's name."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen,
                             "-nolisten", "tcp"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, **popen)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        number = f.readline().strip()
    if not number:
        xvfb.kill()
        raise Failure("Xvfb did not start")
    return xvfb, ":" + number


def start_pulse(home, env):
    """A PulseAudio daemon of our own, at home in `home`, with a null sink "parrun"; gives the
    process and the server's address for PULSE_SERVER."""
    os.makedirs(os.path.join(home, "run"))
    socket = os.path.join(home, "native")
    daemon = subprocess.Popen(
        ["pulseaudio", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm=yes", "-n",
         "--load=module-null-sink sink_name=parrun",
         "--load=module-native-protocol-unix socket=%s auth-anonymous=1" % socket],
        env=dict(env, HOME=home, XDG_RUNTIME_DIR=os.path.join(home, "run")),
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    wait_for(60, "the PulseAudio socket", lambda: os.path.exists(socket) or daemon.poll())
    if daemon.poll() is not None:
        raise Failure("PulseAudio ended with status %d" % daemon.returncode)
    return daemon, "unix:" + socket


def stop(process):
    if process is not None and process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


class Display:
    """Xvfb with openbox to manage (and fill the screen with) the windows; sets DISPLAY."""

    def __init__(self, work, screen):
        self.wm = None
        self.xvfb, self.name = start_xvfb(screen)
        os.environ["DISPLAY"] = self.name
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                   stderr=open(os.path.join(work, "openbox.log"), "w"))
        last = {}

        def managed():
            if self.wm.poll() is not None:
                raise Failure("openbox ended with status %d" % self.wm.returncode)
            last["root"] = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                          capture_output=True, text=True).stdout.strip()
            return "window id" in last["root"]
        try:
            wait_for(120, "openbox to manage the screen", managed, lambda: last.get("root"))
        except Failure:
            self.stop()
            raise

    def stop(self):
        stop(self.wm)
        stop(self.xvfb)


def visible_windows():
    """The captions of the visible windows that have one."""
    ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."],
                         capture_output=True, text=True).stdout.split()
    names = []
    for window in ids:
        name = subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                              text=True).stdout.strip()
        if name:
            names.append(name)
    return names


def find_window(game, caption="^Parrun", seconds=60):
    """The id of the game's visible window, its caption matching `caption`; fails as soon as
    the game ends, or at the limit with the windows that were there."""
    def found():
        if game.poll() is not None:
            raise Failure("the game ended with status %d before its window showed" %
                          game.returncode)
        ids = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", caption],
                             capture_output=True, text=True).stdout.split()
        return ids[0] if ids else None
    window = wait_for(seconds, "a window named " + caption, found,
                      lambda: "windows %s" % visible_windows())
    run("xdotool", "windowactivate", "--sync", window)
    return window


def hold(key, env=None):
    # A person holds a key for a while, not for an instant, and lets it up as long before the
    # next: the same key twice is two presses only when a poll of the game sees it up between.
    subprocess.run(["xdotool", "keydown", key], env=env, check=True)
    time.sleep(KEY_HOLD)
    subprocess.run(["xdotool", "keyup", key], env=env, check=True)
    time.sleep(KEY_HOLD)


def run_test(body):
    """Runs `body(work, stop_at_end)` in a folder of its own; `stop_at_end(thing)` gives back a
    process (or anything with a `stop`) to be stopped when the test ends, whatever happens, the
    last first. Gives the test's status: 0 when the body returns; 1 when it fails, with what
    failed and the logs in the folder, which is kept for a look."""
    work = tempfile.mkdtemp()
    ends = []

    def stop_at_end(thing):
        ends.append(thing)
        return thing
    try:
        body(work, stop_at_end)
        print("1 passed, 0 failed")
        return 0
    except (Failure, subprocess.CalledProcessError) as problem:
        print("FAIL:", problem)
        if isinstance(problem, subprocess.CalledProcessError):
            print(problem.stderr)
        for log in sorted(glob.glob(os.path.join(work, "*.log"))):
            print("--- " + os.path.basename(log))
            print(open(log, errors="replace").read())
        print("--- kept for a look:", work)
        work = None
        return 1
    finally:
        for thing in reversed(ends):
            thing.stop() if hasattr(thing, "stop") else stop(thing)
        if work is not None:
            shutil.rmtree(work, ignore_errors=True)
