#!/usr/bin/python3
"""Writes the file-fault scenarios below this folder: every picture and every sound effect of
the game folder missing, then damaged in each of several ways, one scenario each.

Run it after changing a table here or a file of data/; the scenarios it writes are checked in:
    python3 tests/scenarios/faults/generate.py

A picture the reader refuses stops the start with the picture message; a sound file the reader
refuses stops it with the sound message. Either way the program ends by itself with 0, having
written nothing. Some damage is read past: a colour count beyond what the picture's depth allows
is cut to it, and a sound file whose chunks claim more than the file holds is read as far as it
goes; then the game plays (the Decide effect still starts at the first Enter).
"""
import os
import random
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "..", "..", "data")

IMAGE_MESSAGE = "expect 0 messagebox BMPをロードできませんでした|エラー"
SOUND_MESSAGE = "expect 0 messagebox WAVEファイルをロードできませんでした|エラー"
REFUSED = ["expect 0 exit 0", "expect-no-file a.dat", "expect-no-file key.dat"]
# The title comes up, Enter starts a game (Decide, sound 1), its first message comes (Start1,
# sound 6), and the run is stopped.
PLAYS = ["at 100 press RETURN", "at 120 release RETURN", "expect 112 sound 1",
         "expect 416 sound 6", "end 1000", "expect 1000 timeout"]


def chunk_offsets(path):
    """Offsets of the RIFF chunks of a WAVE file, by their id."""
    with open(path, "rb") as f:
        data = f.read()
    offsets, pos = {}, 12
    while pos + 8 <= len(data):
        cid = data[pos:pos + 4].decode("latin-1")
        size = struct.unpack("<I", data[pos + 4:pos + 8])[0]
        offsets.setdefault(cid, (pos, size))
        pos += 8 + size + (size & 1)
    return offsets


def image_faults(name):
    size = os.path.getsize(os.path.join(DATA, "images", name))
    return [
        ("missing", "the file is gone", ["remove images/" + name], False),
        ("header_cut", "only 10 bytes of the file header", ["truncate images/%s 10" % name],
         False),
        ("pixels_cut", "half the file: the pixel rows end early",
         ["truncate images/%s %d" % (name, size // 2)], False),
        ("wrong_magic", "not \"BM\"", ["patch images/%s 0 5858" % name], False),
        ("huge_width", "a width of 2^31 - 1", ["patch images/%s 18 ffffff7f" % name], False),
        ("huge_height", "a height of 2^31 - 1", ["patch images/%s 22 ffffff7f" % name], False),
        ("negative_height", "a top-down height of -2^31", ["patch images/%s 22 00000080" % name],
         False),
        ("huge_pixel_offset", "pixels 2 GiB past the start",
         ["patch images/%s 10 ffffff7f" % name], False),
        ("huge_colour_count", "a colour table of 2^31 - 1 entries, read as the 256 an 8-bit "
         "picture can use", ["patch images/%s 46 ffffff7f" % name], True),
        ("huge_header", "an information header of 4 GiB",
         ["patch images/%s 14 ffffffff" % name], False),
    ]


def sound_faults(name):
    path = os.path.join(DATA, "se", name)
    size = os.path.getsize(path)
    chunks = chunk_offsets(path)
    fmt, _ = chunks["fmt "]
    data, data_size = chunks["data"]
    return [
        ("missing", "the file is gone", ["remove se/" + name], False),
        ("header_cut", "only the RIFF id and size", ["truncate se/%s 8" % name], False),
        ("format_cut", "the file ends inside the format chunk",
         ["truncate se/%s %d" % (name, fmt + 12)], False),
        ("samples_cut", "half the samples are missing",
         ["truncate se/%s %d" % (name, data + 8 + data_size // 2)], True),

        ("wrong_magic", "not RIFF", ["patch se/%s 0 58585858" % name], False),
        ("not_wave", "RIFF, but not WAVE", ["patch se/%s 8 58585858" % name], False),
        ("huge_riff_size", "a RIFF size of 4 GiB", ["patch se/%s 4 ffffffff" % name], True),
        ("huge_format_size", "a format chunk of 4 GiB",
         ["patch se/%s %d ffffffff" % (name, fmt + 4)], False),
        ("huge_data_size", "a data chunk of 4 GiB",
         ["patch se/%s %d ffffffff" % (name, data + 4)], True),
        ("no_data_chunk", "the data chunk renamed", ["patch se/%s %d 58585858" % (name, data)],
         False),
    ] + ([
        # One effect is enough to show that a sound shorter than the smallest buffer loads.
        ("samples_almost_gone", "two sample bytes are left, fewer than the smallest buffer",
         ["truncate se/%s %d" % (name, data + 8 + 2)], True),
    ] if name == "type1.wav" else [])


# The perfect game of game/perfect_game_ended_by_timer: its keys and what it plays, and a.dat
# after its results.
PERFECT_GAME = [
    "remove drel.txt", "line drel.txt [drel]あ a", "line drel.txt [normal]い i",
    "at 100 press RETURN", "at 120 release RETURN", "at 496 press RETURN", "at 520 release RETURN",
    "at 1520 press A", "at 1528 release A", "at 1536 press I", "at 1544 release I",
    "at 2640 press A", "at 2648 release A", "at 2656 press I", "at 2664 release I",
    "at 3760 press A", "at 3768 release A", "at 3776 press I", "at 3784 release I",
    "expect 112 sound 1", "expect 416 sound 6", "expect 496 sound 7",
    "expect 1520 sound 2", "expect 1536 sound 2", "expect 1536 sound 4",
    "expect 2640 sound 2", "expect 2656 sound 2", "expect 2656 sound 4",
    "expect 3760 sound 2", "expect 3776 sound 2", "expect 3776 sound 4",
    "expect 26512 sound 8", "end 28100", "expect 28100 timeout",
    "expect-file a.dat "
    "2400000000000000000000000000000000000000ca978d3e00000000000000000000000000000000",
]


def surfaces_lost(seed, count):
    """The perfect game with the display taken away at `count` moments drawn from `seed`: on
    the title, the start messages, in play, in a pause, on the game-over picture and the
    results. Each loss is noticed at the next present, which restores the surfaces and draws
    again; the game goes on as if nothing had happened."""
    chooser = random.Random(seed)
    times = sorted(chooser.randrange(1, 28100) for _ in range(count))
    lines = ["# Written by generate.py. The perfect game of game/perfect_game_ended_by_timer",
             "# with every DirectDraw surface lost at %d moments drawn from seed %d: each loss is"
             % (count, seed),
             "# restored at the next present, and the game logs and saves what it would have."]
    return lines + ["at %d lose-surfaces" % t for t in times] + PERFECT_GAME


# Moments, in ms after the start, at which the perfect game reads the clock to decide something,
# with a neighbour or two: the first millisecond, the Enter that starts the game (112), the
# first start message (416), the second Enter (496), the start of play (1504), the first phrase
# done (1536) and its pause ended (2640), the last tick, which ends the game (26512), and the
# results (28016).
CLOCK_WRAPS = {
    "before_play": [1, 112, 113, 416, 496],
    "in_play": [1504, 1536, 1537, 2640],
    "at_the_end": [26512, 26513, 28016],
}


def clock_wraps(moments):
    """The perfect game with the clock wrapping from 0xFFFFFFFF to 0 at each of the moments:
    the clock starts at 2^32 - T to wrap T ms after the start."""
    lines = ["# Written by generate.py. The perfect game of game/perfect_game_ended_by_timer,",
             "# played again with the clock wrapping %s ms after the start: every run logs" %
             ", ".join(str(t) for t in moments),
             "# the same and writes the same a.dat."]
    return lines + ["also-at-clock %d" % (2**32 - t) for t in moments] + PERFECT_GAME


def write(folder, stem, lines):
    os.makedirs(os.path.join(HERE, folder), exist_ok=True)
    with open(os.path.join(HERE, folder, stem + ".scenario"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")


def main():
    for old in ("images", "sounds"):
        folder = os.path.join(HERE, old)
        if os.path.isdir(folder):
            for entry in os.listdir(folder):
                if entry.endswith(".scenario"):
                    os.remove(os.path.join(folder, entry))
    for name, moments in CLOCK_WRAPS.items():
        write(".", "clock_wraps_" + name, clock_wraps(moments))
    for seed in (1, 2, 3):
        write(".", "surfaces_lost_at_random_moments_%d" % seed, surfaces_lost(seed, 12))
    for name in sorted(os.listdir(os.path.join(DATA, "images"))):
        for kind, what, setup, plays in image_faults(name):
            lines = ["# Written by generate.py. images/%s: %s." % (name, what)]
            if plays:
                lines.append("# The picture loads, and the game plays.")
                body = setup + PLAYS
            else:
                lines.append("# The picture is refused: one message, and the program ends.")
                body = setup + ["end 1000", IMAGE_MESSAGE] + REFUSED
            write("images", "%s_%s" % (name[:-4].replace("-", "_"), kind), lines + body)
    for name in sorted(os.listdir(os.path.join(DATA, "se"))):
        for kind, what, setup, plays in sound_faults(name):
            if plays:
                lines = ["# Written by generate.py. se/%s: %s." % (name, what),
                         "# The samples are read as far as the file goes, and the game plays."]
                body = setup + PLAYS
            else:
                lines = ["# Written by generate.py. se/%s: %s." % (name, what),
                         "# The sound is refused: one message, and the program ends."]
                body = setup + ["end 1000", SOUND_MESSAGE] + REFUSED
            write("sounds", "%s_%s" % (name[:-4], kind), lines + body)


if __name__ == "__main__":
    main()
