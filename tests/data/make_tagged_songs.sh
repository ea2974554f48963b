#!/bin/bash
# Writes the small song files under tests/data whose lyrics were put there by real taggers:
# the id3v2 program (id3lib), the mutagen library and AtomicParsley. The audio is a few silent
# MPEG frames, and for MP4 a bare movie header: the taggers need no more.
# Needs: apt-get install id3v2 python3-mutagen atomicparsley
set -euo pipefail
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$work" <<'PY'
import struct, sys
work = sys.argv[1]
# Three MPEG-1 layer III frames, 128 kbit/s at 44.1 kHz, all silent.
open(f"{work}/silent.mp3", "wb").write((b"\xff\xfb\x90\x64" + bytes(413)) * 3)
def atom(kind, payload):
    return struct.pack(">I", 8 + len(payload)) + kind + payload
mvhd = atom(b"mvhd", bytes(12) + struct.pack(">II", 1000, 0) + struct.pack(">IH", 0x10000, 0x100)
            + bytes(10) + struct.pack(">9I", 0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000)
            + bytes(24) + struct.pack(">I", 2))
ftyp = atom(b"ftyp", b"M4A " + bytes(4) + b"M4A mp42isom")
open(f"{work}/silent.m4a", "wb").write(ftyp + atom(b"moov", mvhd) + atom(b"mdat", bytes(16)))
PY

# id3lib: ID3v2.3, Latin-1 text, language "eng", empty descriptor.
cp "$work/silent.mp3" id3v2_uslt_latin1.mp3
id3v2 -2 -t "Song" --USLT ":First line"$'\n'"Second line:eng" id3v2_uslt_latin1.mp3

# mutagen: UTF-16 with an empty descriptor (ID3v2.3 and 2.4), and Latin-1 behind a descriptor.
/usr/bin/python3 - "$work" <<'PY'
import shutil, sys
from mutagen.id3 import ID3, TIT2, USLT
work = sys.argv[1]
def tag(name, version, frame):
    shutil.copy(f"{work}/silent.mp3", name)
    tags = ID3()
    tags.add(TIT2(encoding=0, text="Song"))
    tags.add(frame)
    tags.save(name, v2_version=version, padding=lambda info: 256)
tag("mutagen_uslt_utf16_v23.mp3", 3,
    USLT(encoding=1, lang="jpn", desc="", text="歌詞の一行目\n二行目"))
tag("mutagen_uslt_utf16_v24.mp3", 4,
    USLT(encoding=1, lang="jpn", desc="", text="四の歌詞\r\nです"))
tag("mutagen_uslt_described.mp3", 3,
    USLT(encoding=0, lang="eng", desc="Lyrics", text="Hello\nWorld"))

# Synchronised lyrics (SYLT), millisecond stamps, in each of the four encodings and both
# versions; one with MPEG-frame stamps, and one as karaoke syllables with line starts marked.
from mutagen.id3 import SYLT
lines = [("灯りの歌", 1500), ("second line", 62340), ("三行目", 125000)]
for enc, version in [(0, 3), (1, 3), (2, 4), (3, 4)]:
    text = lines if enc else [("Latin-1 é", 1500), ("second line", 62340), ("third", 125000)]
    tag(f"mutagen_sylt_enc{enc}_v2{version}.mp3", version,
        SYLT(encoding=enc, lang="jpn", format=2, type=1, desc="歌詞" if enc else "lyrics",
             text=text))
tag("mutagen_sylt_mpeg_frames.mp3", 3,
    SYLT(encoding=3, lang="jpn", format=1, type=1, desc="", text=lines))
tag("mutagen_sylt_syllables.mp3", 4,
    SYLT(encoding=1, lang="eng", format=2, type=1, desc="",
         text=[("Hel", 1000), ("lo", 1500), ("\nWor", 3000), ("ld", 3200)]))
PY

# AtomicParsley: the ©lyr atom in UTF-8.
cp "$work/silent.m4a" atomicparsley_lyrics.m4a
AtomicParsley atomicparsley_lyrics.m4a --lyrics "歌詞"$'\n'"two" --overWrite >/dev/null
