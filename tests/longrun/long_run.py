#!/usr/bin/python3
"""Plays many whole games in one run of parrun-script with seeded random keys, and checks that
the process's memory stays flat, that no file of the game folder grows, and that what the games
leave follows the rules.

    long_run.py --game build/shell/parrun-script --data data --games 1000 [--seed N]

Each game takes a fixed 32 s of virtual time: Enter at 100 ms starts it, Enter at 496 ms the
play (from 1504 ms); then keys every 40 to 160 ms until 5 s, each an A or an I (the two keys of
the one phrase "a"/"i", so some phrases are done) or, one time in three, another letter (a
mistake). The game ends by its mistakes or, at the latest, by the timer of the phrase after the
last key (a pause of 1.1 s and 53 ticks of 416 ms: by 28.2 s); its game-over picture and results
follow within 1.5 s, and Enter at 30.5 s goes back to the title. The process's resident memory
is logged (`memory`) just before each game.

Checks: every game started (music 1) and ended (End, sound 8) exactly once; the resident memory
at the last game is within 2 % (and 1 MiB) of that at game 10; key.dat and a.dat hold exactly
36 and 40 bytes and no other file appeared; a.dat's scores are never negative and sorted best
first, its speeds finite, never negative and sorted; the run ended by its `end` line.
Prints one summary line; exit status 0 when every check holds.
"""
import argparse
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile

CYCLE = 32000
LETTERS = [chr(c) for c in range(ord("A"), ord("Z") + 1)]


def script_for(games, seed):
    chooser = random.Random(seed)
    lines = []
    for game in range(games):
        start = game * CYCLE
        lines.append("at %d memory" % (start + 50))
        for t in (100, 496):
            lines += ["at %d press RETURN" % (start + t), "at %d release RETURN" % (start + t + 20)]
        t = 1520
        while t < 5000:
            key = chooser.choice("AI") if chooser.random() < 2 / 3 else chooser.choice(LETTERS)
            lines += ["at %d press %s" % (start + t, key), "at %d release %s" % (start + t + 8, key)]
            t += chooser.randrange(40, 161)
        lines += ["at %d press RETURN" % (start + 30500),
                  "at %d release RETURN" % (start + 30520)]
    lines.append("at %d memory" % (games * CYCLE + 50))
    lines.append("end %d" % (games * CYCLE + 100))
    return lines


def sizes(folder):
    found = {}
    for root, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            found[os.path.relpath(path, folder)] = os.path.getsize(path)
    return found


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--game", required=True)
    parser.add_argument("--data", required=True)
    parser.add_argument("--games", type=int, default=1000)
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    work = tempfile.mkdtemp(prefix="parrun-long-")
    folder = os.path.join(work, "game")
    shutil.copytree(args.data, folder)
    os.remove(os.path.join(folder, "drel.txt"))
    with open(os.path.join(folder, "drel.txt"), "wb") as f:
        f.write("[drel]あ a\n[normal]い i\n".encode("cp932"))
    before = sizes(folder)
    script, log_path = os.path.join(work, "script"), os.path.join(work, "log")
    with open(script, "w") as f:
        f.write("\n".join(script_for(args.games, args.seed)) + "\n")
    result = subprocess.run([args.game, "--log", log_path, script], cwd=folder,
                            capture_output=True)
    with open(log_path, encoding="utf-8") as f:
        log = [line.split(" ", 2) for line in f.read().splitlines()]

    problems = []
    if result.returncode != 3:
        problems.append("exit status %d, expected 3 (stopped by end); stderr: %s" %
                        (result.returncode, result.stderr.decode(errors="replace")))
    started = sum(1 for e in log if e[1:] == ["music", "1"])
    ended = sum(1 for e in log if e[1:] == ["sound", "8"])
    if started != args.games or ended != args.games:
        problems.append("%d games started and %d ended, expected %d" % (started, ended, args.games))
    if any(e[1] == "messagebox" for e in log):
        problems.append("a message box was shown")
    memory = [int(e[2]) for e in log if e[1] == "memory" and e[2] != "unknown"]
    first = memory[min(10, len(memory) - 1)] if memory else 0
    last = memory[-1] if memory else 0
    if len(memory) != args.games + 1:
        problems.append("%d memory readings, expected %d" % (len(memory), args.games + 1))
    elif args.games >= 100 and last - first > max(1024, first // 50):
        problems.append("resident memory grew from %d KiB at game 10 to %d KiB" % (first, last))

    after = sizes(folder)
    expected = dict(before, **{"key.dat": 36, "a.dat": 40})
    if after != expected:
        problems.append("files differ: %r, expected %r" % (sorted(after.items()),
                                                          sorted(expected.items())))
    with open(os.path.join(folder, "a.dat"), "rb") as f:
        ranked = f.read()
    scores = list(struct.unpack("<5i", ranked[:20])) if len(ranked) == 40 else []
    speeds = list(struct.unpack("<5f", ranked[20:])) if len(ranked) == 40 else []
    if any(s < 0 for s in scores) or scores != sorted(scores, reverse=True):
        problems.append("scores %r: negative or out of order" % scores)
    if any(not (0 <= s < float("inf")) for s in speeds) or speeds != sorted(speeds, reverse=True):
        problems.append("speeds %r: not finite, negative or out of order" % speeds)

    print("%d games, seed %d: resident memory %d KiB at game 10, %d KiB after the last; "
          "scores %s; speeds %s" % (args.games, args.seed, first, last, scores,
                                    ["%.4f" % s for s in speeds]))
    for p in problems:
        print("FAILED: " + p)
    if problems:
        print("game folder kept at " + work)
        return 1
    shutil.rmtree(work)
    return 0


if __name__ == "__main__":
    sys.exit(main())
