#!/usr/bin/python3
"""Plays one scenario file on the real program (parrun-script) and checks what came out.

A scenario is a script for the scripted host (clock, at ..., end; see docs/scripted-host.md)
plus lines for this runner:

  runner NAME          which program plays it: "game" (default) or "shell-stub", the shell
                       with a stand-in step that logs "debug step CONTROL TYPING" every frame
  folder data|empty    the game folder starts as a copy of data/ (default) or empty
  remove PATH          delete a file from the game folder before the run
  write PATH HEX       create a file with these bytes (hex, spaces allowed)
  line PATH TEXT       append TEXT, in Shift-JIS, and a line feed to a file
  truncate PATH N      cut a file to its first N bytes
  patch PATH OFFSET HEX
                       overwrite the file's bytes from OFFSET (decimal) with these
  mkdir PATH           create a folder (a folder where the game wants a file can't be written)
  symlink PATH TARGET  make PATH a symbolic link to TARGET (/dev/full: every write fails)
  also-at-wrap         run it a second time with the clock started 250 ms before it wraps;
                       the compared log must be the same
  also-at-clock N      run it again with the clock started at N (any 32-bit value; several
                       lines, several runs); the compared log and the files must be the same
  expect LOGLINE       the log, as "T KIND DETAILS". Lines of the kinds that appear in expect
                       lines, and always exit, timeout, messagebox and answer, are compared in
                       full and in order
  expect-output TEXT   a line the program wrote to its standard output
  expect-error TEXT    a line of standard error holds TEXT (other lines may come too)
  expect-file PATH HEX the file's bytes after the run
  expect-no-file PATH  the file does not exist after the run
  expect-same-file PATH OTHER
                       two files of the game folder hold the same bytes after the run (two
                       shots of the same picture, say)
  expect-pixel PATH X Y RRGGBB
                       a shot (PNG) of the game folder has this colour at (X, Y)
  expect-status N      the runner's exit status (default: 0, or 3 when the log times out)

Every run is made twice, and the two logs must be the same, byte for byte.
On a mismatch it prints both logs and keeps the game folder for inspection.
"""
import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import zlib

RUNNER_WORDS = {"runner", "folder", "remove", "write", "line", "truncate", "patch", "mkdir",
                "symlink", "also-at-wrap", "also-at-clock", "expect",
                "expect-output", "expect-error", "expect-file", "expect-no-file",
                "expect-same-file", "expect-pixel", "expect-status"}
ALWAYS_COMPARED = {"exit", "timeout", "messagebox", "answer"}


def parse(path):
    scenario_def = {"runner": "game", "folder": "data", "setup": [], "wrap": False, "expect": [],
            "output": [], "errors": [], "files": [], "same": [], "pixels": [], "status": None,
            "script": [], "clocks": []}
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            word, _, rest = line.strip().partition(" ")
            if word not in RUNNER_WORDS:
                scenario_def["script"].append(line)
                continue
            rest = rest.strip()
            if word == "runner":
                scenario_def["runner"] = rest
            elif word == "folder":
                scenario_def["folder"] = rest
            elif word in ("remove", "write", "line", "truncate", "patch", "mkdir", "symlink"):
                scenario_def["setup"].append((word, rest))
            elif word == "also-at-wrap":
                scenario_def["wrap"] = True
            elif word == "also-at-clock":
                scenario_def["clocks"].append(int(rest, 0))
            elif word == "expect":
                scenario_def["expect"].append(rest)
            elif word == "expect-output":
                scenario_def["output"].append(rest)
            elif word == "expect-error":
                scenario_def["errors"].append(rest)
            elif word == "expect-file":
                name, _, hexbytes = rest.partition(" ")
                scenario_def["files"].append((name, bytes.fromhex(hexbytes)))
            elif word == "expect-pixel":
                name, x, y, colour = rest.split()
                scenario_def["pixels"].append((name, int(x), int(y), colour.lower()))
            elif word == "expect-same-file":
                scenario_def["same"].append(tuple(rest.split()))
            elif word == "expect-no-file":
                scenario_def["files"].append((rest, None))
            elif word == "expect-status":
                scenario_def["status"] = int(rest)
    return scenario_def


def png_pixel(path, x, y):
    """The colour of one pixel of an 8-bit RGB or RGBA PNG, as "rrggbb"."""
    with open(path, "rb") as f:
        data = f.read()
    pos, idat, width, height, channels = 8, b"", 0, 0, 3
    while pos < len(data):
        length = int.from_bytes(data[pos:pos + 4], "big")
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height = int.from_bytes(body[0:4], "big"), int.from_bytes(body[4:8], "big")
            channels = {2: 3, 6: 4}[body[9]]
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw, stride, previous = zlib.decompress(idat), width * channels, bytearray(width * channels)
    for row in range(y + 1):
        kind, line = raw[row * (stride + 1)], bytearray(raw[row * (stride + 1) + 1:(row + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up, corner = previous[i], previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                pred = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + pred) & 255
        previous = line
    return previous[x * channels:x * channels + 3].hex()


def prepare_folder(scenario_def, data_dir, folder):
    if scenario_def["folder"] == "data" and os.path.isdir(data_dir):
        shutil.copytree(data_dir, folder, dirs_exist_ok=True)
    for word, rest in scenario_def["setup"]:
        name, _, value = rest.partition(" ")
        target = os.path.join(folder, name)
        if word == "remove":
            if os.path.exists(target):
                os.remove(target)
        elif word == "write":
            with open(target, "wb") as f:
                f.write(bytes.fromhex(value))
        elif word == "line":
            with open(target, "ab") as f:
                f.write(value.encode("cp932") + b"\n")
        elif word == "truncate":
            os.truncate(target, int(value))
        elif word == "patch":
            offset, _, hexbytes = value.partition(" ")
            with open(target, "r+b") as f:
                f.seek(int(offset))
                f.write(bytes.fromhex(hexbytes))
        elif word == "mkdir":
            os.makedirs(target, exist_ok=True)
        elif word == "symlink":
            os.symlink(value, target)


def kind_of(log_line):
    parts = log_line.split(" ", 2)
    return parts[1] if len(parts) > 1 else ""


def run_once(scenario_def, runner, data_dir, clock):
    folder = tempfile.mkdtemp(prefix="parrun-scenario-")
    prepare_folder(scenario_def, data_dir, folder)
    script = list(scenario_def["script"])
    if clock is not None:
        script = [l for l in script if not l.strip().startswith("clock ")]
        script.insert(0, "clock %d" % clock)
    script_path = os.path.join(folder, ".scenario-script")
    log_path = os.path.join(folder, ".scenario-log")
    with open(script_path, "w", encoding="utf-8") as f:
        f.write("\n".join(script) + "\n")
    result = subprocess.run([runner, "--log", log_path, script_path], cwd=folder,
                            capture_output=True, timeout=120)
    with open(log_path, encoding="utf-8") as f:
        log = [l.rstrip("\n") for l in f]
    return folder, result, log


def check(scenario_def, folder, result, log):
    problems = []
    kinds = {kind_of(l) for l in scenario_def["expect"]} | ALWAYS_COMPARED
    actual = [l for l in log if kind_of(l) in kinds]
    if actual != scenario_def["expect"]:
        problems.append("log differs\n--- expected\n%s\n--- actual (compared kinds)\n%s" %
                        ("\n".join(scenario_def["expect"]), "\n".join(actual)))
    status = scenario_def["status"]
    if status is None:
        status = 3 if any(kind_of(l) == "timeout" for l in scenario_def["expect"]) else 0
    if result.returncode != status:
        problems.append("exit status %d, expected %d; stderr:\n%s" %
                        (result.returncode, status, result.stderr.decode(errors="replace")))
    output = result.stdout.decode("utf-8", errors="replace").splitlines()
    if output != scenario_def["output"]:
        problems.append("standard output %r, expected %r" % (output, scenario_def["output"]))
    errors = result.stderr.decode("utf-8", errors="replace").splitlines()
    for text in scenario_def["errors"]:
        if not any(text in line for line in errors):
            problems.append("standard error %r holds no line with %r" % (errors, text))
    for name, expected in scenario_def["files"]:
        path = os.path.join(folder, name)
        if expected is None:
            if os.path.exists(path):
                problems.append("%s exists, expected none" % name)
        elif not os.path.exists(path):
            problems.append("%s missing" % name)
        else:
            with open(path, "rb") as f:
                got = f.read()
            if got != expected:
                problems.append("%s holds %s, expected %s" % (name, got.hex(), expected.hex()))
    for name, x, y, colour in scenario_def["pixels"]:
        path = os.path.join(folder, name)
        if not os.path.exists(path):
            problems.append("%s missing" % name)
        elif png_pixel(path, x, y) != colour:
            problems.append("%s has %s at (%d, %d), expected %s" %
                            (name, png_pixel(path, x, y), x, y, colour))
    for pair in scenario_def["same"]:
        contents = []
        for name in pair:
            path = os.path.join(folder, name)
            if not os.path.exists(path):
                problems.append("%s missing" % name)
                break
            with open(path, "rb") as f:
                contents.append(f.read())
        else:
            if len(contents) != 2 or contents[0] != contents[1]:
                problems.append("%s and %s differ" % pair)
    return problems


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game", required=True, help="parrun-script")
    parser.add_argument("--shell-stub", required=True, help="parrun-script-stub")
    parser.add_argument("--data", required=True, help="the data/ folder")
    parser.add_argument("scenario")
    args = parser.parse_args()
    scenario_def = parse(args.scenario)
    runner = {"game": args.game, "shell-stub": args.shell_stub}.get(scenario_def["runner"])
    if runner is None:
        print("unknown runner %r" % scenario_def["runner"])
        return 2
    clocks = [None] + ([2**32 - 250] if scenario_def["wrap"] else []) + scenario_def["clocks"]
    failed = False
    for clock in clocks:
        folder, result, log = run_once(scenario_def, runner, args.data, clock)
        problems = check(scenario_def, folder, result, log)
        # The same script must give the same log, byte for byte (checked once for each clock
        # but those of also-at-clock, which are only compared with the expectations).
        if clock is None or clock == 2**32 - 250:
            again_folder, _, again_log = run_once(scenario_def, runner, args.data, clock)
            shutil.rmtree(again_folder)
            if again_log != log:
                problems.append("a second run logged differently:\n" + "\n".join(again_log))
        label = "clock %d" % clock if clock is not None else "default clock"
        if problems:
            failed = True
            print("FAILED (%s); game folder kept at %s" % (label, folder))
            for p in problems:
                print(p)
            print("--- full log\n" + "\n".join(log))
        else:
            shutil.rmtree(folder)
            print("passed (%s)" % label)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
