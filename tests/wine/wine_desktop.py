"""A Wine desktop of its own for the Wine test: Xvfb, a PulseAudio daemon with a null sink, a
Japanese locale, a fresh Wine prefix with a 1024 x 768 virtual desktop, and the means to look
at it (the window probe, screen shots) and to act on it (keys held as a person holds them,
clicks). Every process it starts is stopped by its process id when the desktop closes; the
prefix's wineserver is stopped with `wineserver -k` for that prefix.

Given the folder that tests/wine/wine32_setup.sh made, it runs 32-bit programs with that
folder's Wine under qemu, in a 32-bit prefix; otherwise the host's Wine runs 64-bit ones."""
import os
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
from x_session import KEY_HOLD, start_pulse, start_xvfb  # noqa: E402


class WineDesktop:
    def __init__(self, work: Path, probe: Path, wine32: Path = None):
        self.work = work
        self.probe = probe
        self.processes = []
        self.env = dict(os.environ)
        self.wine = [str(wine32 / "wine")] if wine32 else ["wine"]
        if wine32:
            # The 32-bit Wine reads the host's fonts; its font caches go here, not beside the
            # host's own (64-bit) ones.
            fonts = work / "fonts.conf"
            fonts.write_text('<?xml version="1.0"?>\n<fontconfig>\n'
                             f'  <cachedir>{work / "fontconfig"}</cachedir>\n'
                             '  <include>/etc/fonts/fonts.conf</include>\n</fontconfig>\n')
            self.env.update(WINEARCH="win32", FONTCONFIG_FILE=str(fonts))

    def start(self):
        self._start_x()
        self._start_sound()
        self._make_locale()
        self._make_prefix()

    def close(self):
        if "WINEPREFIX" in self.env:
            subprocess.run(["wineserver", "-k"], env=self.env, check=False,
                           stderr=subprocess.DEVNULL)
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()

    def _spawn(self, args, **kwargs):
        process = subprocess.Popen(args, **kwargs)
        self.processes.append(process)
        return process

    def _start_x(self):
        xvfb, self.env["DISPLAY"] = start_xvfb("1024x768x24")
        self.processes.append(xvfb)

    def _start_sound(self):
        # DirectSound needs a device: a PulseAudio daemon of our own with a null sink.
        self.sound, self.env["PULSE_SERVER"] = start_pulse(str(self.work / "pulse"), self.env)
        self.processes.append(self.sound)

    def stop_sound(self):
        """Takes the sound server away: from now on programs find no sound device."""
        self.sound.terminate()
        self.sound.wait(10)
        # A server named but missing: the sound library neither finds nor starts another.
        self.env["PULSE_SERVER"] = f"unix:{self.work / 'pulse' / 'gone'}"

    def _make_locale(self):
        # ja_JP.UTF-8 makes Wine use code page 932 for the program's texts.
        locales = self.work / "locale"
        locales.mkdir()
        subprocess.run(["localedef", "-i", "ja_JP", "-f", "UTF-8", str(locales / "ja_JP.UTF-8")],
                       check=False, stdout=subprocess.DEVNULL)
        if not (locales / "ja_JP.UTF-8").is_dir():
            raise AssertionError("localedef made no ja_JP.UTF-8")
        self.env.update(LOCPATH=str(locales), LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8")

    def _make_prefix(self):
        self.env.update(WINEPREFIX=str(self.work / "prefix"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        subprocess.run(self.wine + ["wineboot", "-i"], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # A virtual desktop, so that full screen can set 640 x 480 x 8; DirectDraw drawn by GDI,
        # without OpenGL.
        settings = self.work / "settings.reg"
        settings.write_text("REGEDIT4\n\n"
                            "[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]\n"
                            "\"Desktop\"=\"Default\"\n\n"
                            "[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]\n"
                            "\"Default\"=\"1024x768\"\n\n"
                            "[HKEY_CURRENT_USER\\Software\\Wine\\Direct3D]\n"
                            "\"renderer\"=\"gdi\"\n")
        subprocess.run(self.wine + ["regedit", "/S", str(settings)], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["wineserver", "-w"], env=self.env, check=True)

    # Running programs.

    def run(self, program, cwd, log, debug_text=False):
        """Starts a Windows program in `cwd`; its output goes to `log`, with what it hands to
        the debugger (OutputDebugStringA) when `debug_text` asks for it."""
        env = dict(self.env, WINEDEBUG="-all,warn+debugstr") if debug_text else self.env
        with open(log, "wb") as out:
            return self._spawn(self.wine + [str(program)], cwd=cwd, env=env, stdout=out,
                               stderr=subprocess.STDOUT)

    def windows(self):
        """The visible top-level windows as the probe lists them, each a dict with its
        children."""
        # Into a file, not a pipe: Wine's own processes may keep a pipe open after the probe.
        listing = self.work / "windows.txt"
        with open(listing, "wb") as out:
            subprocess.run(self.wine + [str(self.probe)], env=self.env, stdout=out, check=True,
                           stderr=subprocess.DEVNULL)
        windows = []
        for line in listing.read_bytes().decode("utf-8").replace("\r", "").splitlines():
            if line.startswith("window "):
                title, rest = line[len('window "'):].split('" ', 1)
                fields = dict(item.split("=", 1) for item in rest.split())
                windows.append({"title": title, "class": fields["class"],
                                "rect": [int(v) for v in fields["rect"].split(",")],
                                "client": [int(v) for v in fields["client"].split(",")],
                                "close": [int(v) for v in fields["close"].split(",")],
                                "children": []})
            elif line.startswith("  child ") and windows:
                head, text, centre = line.split('"')[0], line.split('"')[1], line.split()[-1]
                child_id = int(head.split("id=")[1].split()[0])
                windows[-1]["children"].append(
                    {"id": child_id, "text": text,
                     "centre": [int(v) for v in centre[len("centre="):].split(",")]})
        return windows

    def window(self, title):
        return next((w for w in self.windows() if w["title"] == title), None)

    # Looking and acting.

    def shoot(self, path, window="root", crop=None):
        args = ["import", "-window", window]
        if crop:
            args += ["-crop", "{}x{}+{}+{}".format(*crop), "+repage"]
        subprocess.run(args + [str(path)], env=self.env, check=True)

    def desktop_size(self):
        window = self.desktop_window()
        out = subprocess.run(["xdotool", "getwindowgeometry", window], env=self.env,
                             capture_output=True, text=True).stdout
        return out.split("Geometry: ")[1].strip() if "Geometry: " in out else ""

    def desktop_window(self):
        out = subprocess.run(["xdotool", "search", "--name", "Wine desktop$"], env=self.env,
                             capture_output=True, text=True).stdout.split()
        return out[0] if out else ""

    def press(self, key):
        subprocess.run(["xdotool", "keydown", key], env=self.env, check=True)
        time.sleep(KEY_HOLD)
        subprocess.run(["xdotool", "keyup", key], env=self.env, check=True)

    def click(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=self.env,
                       check=True)
