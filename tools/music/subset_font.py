"""Writes a General MIDI sound font holding only the instruments some pieces play.

/usr/bin/python3 subset_font.py FONT OUT PIECE.mid...

Every bank and program that plays a note is kept (the drum channel's kits as bank 128), and of
its zones only those whose key range holds a key it plays; of the instruments and samples only
what those zones use, the sample data packed anew. The font's information
(its name, version and licence notes) is kept as it is.
"""

import struct
import sys

import smf

DRUM_CHANNEL = 9
DRUM_BANK = 128
GEN_INSTRUMENT = 41
GEN_SAMPLE = 53
GEN_KEY_RANGE = 43
SAMPLE_PAD = 46  # zero frames after each sample, as the format asks

RECORDS = {"phdr": 38, "pbag": 4, "pmod": 10, "pgen": 4, "inst": 22, "ibag": 4, "imod": 10,
           "igen": 4, "shdr": 46}


def Instruments(pieces):
    """The keys played by each (bank, program) in the pieces."""
    played = {}
    for blob in pieces:
        _, _, tracks = smf.Read(blob)
        bank = [0] * 16
        program = [0] * 16
        events = sorted((tick, order, event) for track in tracks
                        for order, (tick, event) in enumerate(track))
        for _, _, event in events:
            channel = event.channel
            if event.kind == "control" and event.data[0] == 0:
                bank[channel] = event.data[1]
            elif event.kind == "program":
                program[channel] = event.data[0]
            elif event.kind == "note_on" and event.data[1] > 0:
                key = (DRUM_BANK if channel == DRUM_CHANNEL else bank[channel], program[channel])
                played.setdefault(key, set()).add(event.data[0])
    return played


def KeyRange(gens):
    """The zone's key range, or None when it has none (it then plays every key)."""
    for gen in gens:
        oper, low, high = struct.unpack("<HBB", gen)
        if oper == GEN_KEY_RANGE:
            return low, high
    return None


def Chunks(blob):
    """(id, body) of each chunk in a RIFF body."""
    pos = 0
    while pos + 8 <= len(blob):
        ident, size = struct.unpack_from("<4sI", blob, pos)
        yield ident.decode("latin1"), blob[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)


def Chunk(ident, body):
    return struct.pack("<4sI", ident.encode("latin1"), len(body)) + body + b"\0" * (len(body) & 1)


def ReadFont(blob):
    if blob[:4] != b"RIFF" or blob[8:12] != b"sfbk":
        raise ValueError("not a sound font")
    lists = {}
    for ident, body in Chunks(blob[12:]):
        if ident == "LIST":
            lists[body[:4].decode("latin1")] = dict(Chunks(body[4:]))
    return lists


def Records(pdta, name):
    size = RECORDS[name]
    body = pdta[name]
    return [body[i:i + size] for i in range(0, len(body), size)]


def Subset(font, wanted):
    lists = ReadFont(font)
    pdta = lists["pdta"]
    smpl = lists["sdta"]["smpl"]
    phdr, pbag, pmod, pgen = (Records(pdta, n) for n in ("phdr", "pbag", "pmod", "pgen"))
    inst, ibag, imod, igen = (Records(pdta, n) for n in ("inst", "ibag", "imod", "igen"))
    shdr = Records(pdta, "shdr")
    u16 = lambda record, at: struct.unpack_from("<H", record, at)[0]

    def Zones(headers, bags, mods, gens, index, bagAt):
        """The kept zones of header `index`: each a (generators, modulators) pair."""
        zones = []
        for bag in range(u16(headers[index], bagAt), u16(headers[index + 1], bagAt)):
            genFrom, modFrom = struct.unpack("<HH", bags[bag])
            genTo, modTo = struct.unpack("<HH", bags[bag + 1])
            zones.append((list(gens[genFrom:genTo]), list(mods[modFrom:modTo])))
        return zones

    presets = [i for i in range(len(phdr) - 1)
               if (u16(phdr[i], 22), u16(phdr[i], 20)) in wanted]
    instMap, sampleMap = {}, {}
    order = lambda mapping, key: mapping.setdefault(key, len(mapping))
    out = {n: [] for n in RECORDS}
    # The keys each kept instrument is played with: all the presets are written first, so an
    # instrument's zones are chosen knowing them.
    linkKeys = {}

    def Emit(kind, zones, link, mapping, keys):
        """Writes the zones that play one of `keys`; gives the keys each linked item plays."""
        bagName, genName, modName = kind
        for gens, mods in zones:
            keyRange = KeyRange(gens)
            playing = keys if keyRange is None else {
                k for k in keys if keyRange[0] <= k <= keyRange[1]}
            if not playing:
                continue
            linked = [g for g in gens if struct.unpack("<H", g[:2])[0] == link]
            for gen in linked:
                linkKeys.setdefault((link, struct.unpack("<HH", gen)[1]), set()).update(playing)
            out[bagName].append(struct.pack("<HH", len(out[genName]), len(out[modName])))
            for gen in gens:
                oper, amount = struct.unpack("<HH", gen)
                if oper == link:
                    amount = order(mapping, amount)
                out[genName].append(struct.pack("<HH", oper, amount))
            out[modName].extend(mods)

    for index in presets:
        out["phdr"].append(phdr[index][:24] + struct.pack("<H", len(out["pbag"])) + phdr[index][26:])
        Emit(("pbag", "pgen", "pmod"), Zones(phdr, pbag, pmod, pgen, index, 24), GEN_INSTRUMENT,
             instMap, wanted[(u16(phdr[index], 22), u16(phdr[index], 20))])
    out["phdr"].append(phdr[-1][:24] + struct.pack("<H", len(out["pbag"])) + phdr[-1][26:])
    out["pbag"].append(struct.pack("<HH", len(out["pgen"]), len(out["pmod"])))
    out["pgen"].append(b"\0" * 4)
    out["pmod"].append(b"\0" * 10)

    for index, _ in sorted(instMap.items(), key=lambda item: item[1]):
        out["inst"].append(inst[index][:20] + struct.pack("<H", len(out["ibag"])))
        Emit(("ibag", "igen", "imod"), Zones(inst, ibag, imod, igen, index, 20), GEN_SAMPLE,
             sampleMap, linkKeys[(GEN_INSTRUMENT, index)])
    out["inst"].append(inst[-1][:20] + struct.pack("<H", len(out["ibag"])))
    out["ibag"].append(struct.pack("<HH", len(out["igen"]), len(out["imod"])))
    out["igen"].append(b"\0" * 4)
    out["imod"].append(b"\0" * 10)

    # A stereo sample's partner comes along; the list grows while it is walked.
    kept = sorted(sampleMap.items(), key=lambda item: item[1])
    position = 0
    while position < len(kept):
        index = kept[position][0]
        link = u16(shdr[index], 42)
        sampleType = u16(shdr[index], 44)
        if sampleType & 0x0E and link < len(shdr) - 1 and link not in sampleMap:
            kept.append((link, order(sampleMap, link)))
        position += 1

    data = bytearray()
    for index, _ in kept:
        name = shdr[index][:20]
        start, end, loopStart, loopEnd = struct.unpack_from("<IIII", shdr[index], 20)
        rest = bytearray(shdr[index][36:])
        link = struct.unpack_from("<H", rest, 6)[0]
        if link in sampleMap:
            struct.pack_into("<H", rest, 6, sampleMap[link])
        offset = len(data) // 2 - start
        data += smpl[2 * start:2 * end] + b"\0" * (2 * SAMPLE_PAD)
        out["shdr"].append(name + struct.pack("<IIII", start + offset, end + offset,
                                              loopStart + offset, loopEnd + offset) + rest)
    out["shdr"].append(shdr[-1])

    info = Chunk("LIST", b"INFO" + b"".join(Chunk(i, b) for i, b in lists["INFO"].items()))
    sdta = Chunk("LIST", b"sdta" + Chunk("smpl", bytes(data)))
    pdtaOut = Chunk("LIST", b"pdta" + b"".join(Chunk(n, b"".join(out[n])) for n in RECORDS))
    return Chunk("RIFF", b"sfbk" + info + sdta + pdtaOut)[:]


def main(argv):
    if len(argv) < 4:
        sys.stderr.write(__doc__)
        return 2
    with open(argv[1], "rb") as file:
        font = file.read()
    pieces = []
    for name in argv[3:]:
        with open(name, "rb") as file:
            pieces.append(file.read())
    wanted = Instruments(pieces)
    with open(argv[2], "wb") as file:
        file.write(Subset(font, wanted))
    print("%s: %d instruments (bank:program): %s" % (
        argv[2], len(wanted), " ".join("%d:%d" % pair for pair in sorted(wanted))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
