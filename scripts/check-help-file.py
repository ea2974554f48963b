#!/usr/bin/python3
"""Checks the built Sabla.chm against the topic numbers the options window asks for.

Usage: check-help-file.py <Sabla.chm> <options_help.cpp>

The options window shows text popups from "Sabla.chm::/popup.txt" by topic number; a number
without a text shows an empty popup (or an HTML Help error) and nothing fails at build time.
So the numbers are read from the control-to-topic table itself, and every one must have a
non-empty text in the popup file inside the compiled help. The default topic, which the ヘルプ
button opens, is read from the compiled #SYSTEM file and must be a page of the help file, and
the file's language must be the one its Shift_JIS text is read in.
"""
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import tempfile


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def topics_used_by_code(source):
    text = source.read_text(encoding="utf-8")
    entries = re.findall(r"TopicEntry\{\s*(\d+)\s*,\s*\{\s*(\d+)\s*,", text)
    # Every table row must be understood, or a reformatted row would silently drop its topic.
    rows = len(re.findall(r"TopicEntry\{", text))
    if not entries or len(entries) != rows:
        fail(f"read {len(entries)} of {rows} TopicEntry rows in {source}")
    return sorted({int(topic) for _, topic in entries})


def popup_texts(popup_bytes):
    # HTML Help reads the popup file in the help file's ANSI code page (932 for Japanese);
    # text that is not valid there would show as garbage.
    try:
        text = popup_bytes.decode("cp932")
    except UnicodeDecodeError as error:
        fail(f"popup.txt is not Shift_JIS text: {error}")
    texts = {}
    current = None
    for line in text.splitlines():
        match = re.fullmatch(r"\.topic\s+(\S+)\s*", line)
        if match:
            if not match.group(1).isdigit():
                fail(f"popup.txt: topic id '{match.group(1)}' is not a number")
            current = int(match.group(1))
            if current in texts:
                fail(f"popup.txt: topic {current} appears twice")
            texts[current] = ""
        elif current is not None:
            texts[current] += line.strip()
    return texts


def system_records(system_bytes):
    # #SYSTEM: a 4-byte version, then records of (code, length, data).
    records = {}
    offset = 4
    while offset + 4 <= len(system_bytes):
        code, length = struct.unpack_from("<HH", system_bytes, offset)
        records.setdefault(code, system_bytes[offset + 4:offset + 4 + length])
        offset += 4 + length
    return records


def main():
    if len(sys.argv) != 3:
        print(__doc__)
        return 2
    chm, source = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    if not chm.is_file():
        fail(f"{chm} has not been built")
    extractor = shutil.which("extract_chmLib")
    if not extractor:
        fail("extract_chmLib is missing (Debian package libchm-bin)")

    with tempfile.TemporaryDirectory() as temp:
        out = pathlib.Path(temp)
        subprocess.run([extractor, str(chm), str(out)], check=True, stdout=subprocess.DEVNULL)
        popup = out / "popup.txt"
        if not popup.is_file():
            fail("the help file holds no /popup.txt")
        texts = popup_texts(popup.read_bytes())

        used = topics_used_by_code(source)
        missing = [t for t in used if t not in texts]
        empty = [t for t in used if t in texts and not texts[t]]
        if missing:
            fail(f"topics without a popup text: {missing}")
        if empty:
            fail(f"topics with an empty popup text: {empty}")

        system = out / "#SYSTEM"
        records = system_records(system.read_bytes()) if system.is_file() else {}
        # Record 4 starts with the language: it picks the code page in which HTML Help reads
        # the popups and the contents, so it has to be Japanese for the Shift_JIS text.
        if 4 not in records or struct.unpack_from("<I", records[4])[0] != 0x0411:
            fail("the help file's language is not Japanese (LCID 0x0411)")
        # Record 2 is the default topic, a zero-terminated name.
        topic = records.get(2, b"").split(b"\0", 1)[0].decode("cp932")
        if not topic:
            fail("the help file names no default topic")
        page = out / topic.lstrip("/")
        if not page.is_file() or page.stat().st_size == 0:
            fail(f"the default topic {topic} is not in the help file")

    print(f"ok: {len(used)} popup topics, default topic {topic}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
