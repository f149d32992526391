#!/usr/bin/env python3
"""Checks the interface-text sources data/lang/*.txt.

Each file is UTF-8 text: sections [ENG], [GER] and [RUS], each followed by Key=Value lines;
lines starting with "#" are comments, blank lines are ignored.

Checked: every file decodes and parses; every section appears once; every key is in all three
sections of its file; no key appears twice, within a section or across files (compared without
regard to letter case, as the program looks keys up); no value is empty; a value that ends with
a space (text the program joins to what follows) does so in every language.

Usage: check_lang.py [folder]   (default: the folder of this script)
Exit status 0 when everything is in order, 1 otherwise.
"""

import pathlib
import re
import sys

SECTIONS = ("ENG", "GER", "RUS")
KEY_RE = re.compile(r"^[A-Za-z0-9_]+$")
SECTION_RE = re.compile(r"^\[([^\]]*)\]$")


def parse_file(path, errors):
    """Returns {section: {key: (value, line number)}} for one file; appends to errors."""
    def error(line_no, text):
        errors.append(f"{path.name}:{line_no}: {text}" if line_no else f"{path.name}: {text}")

    raw = path.read_bytes()
    if raw.startswith(b"\xef\xbb\xbf"):
        error(0, "starts with a byte-order mark")
        raw = raw[3:]
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError as e:
        error(0, f"not valid UTF-8 ({e})")
        return {}
    if "\r" in text:
        error(0, "contains carriage returns (use plain line feeds)")
        text = text.replace("\r", "")

    sections = {}
    current = None
    seen_lower = {}
    for line_no, line in enumerate(text.split("\n"), start=1):
        if not line.strip() or line.startswith("#"):
            continue
        m = SECTION_RE.match(line)
        if m:
            name = m.group(1)
            if name not in SECTIONS:
                error(line_no, f"unknown section [{name}]")
                current = None
            elif name in sections:
                error(line_no, f"section [{name}] appears twice")
                current = None
            else:
                current = name
                sections[name] = {}
                seen_lower = {}
            continue
        if "=" not in line:
            error(line_no, "line is neither a section, a comment nor Key=Value")
            continue
        key, value = line.split("=", 1)
        if current is None:
            error(line_no, f"key {key!r} outside a known section")
            continue
        if not KEY_RE.match(key):
            error(line_no, f"bad key {key!r}")
            continue
        if key.lower() in seen_lower:
            error(line_no, f"[{current}] {key} defined twice (first as "
                  f"{seen_lower[key.lower()]})")
            continue
        if not value.strip():
            error(line_no, f"[{current}] {key} has an empty value")
        elif value != value.lstrip():
            error(line_no, f"[{current}] {key} starts with blanks")
        seen_lower[key.lower()] = key
        sections[current][key] = (value, line_no)

    for name in SECTIONS:
        if name not in sections:
            error(0, f"section [{name}] is missing")
    return sections


def check_file(path, errors):
    """Checks one file; returns its keys (as written in [ENG], else any section)."""
    sections = parse_file(path, errors)
    if not sections:
        return set()
    all_keys = {}
    for entries in sections.values():
        for key in entries:
            all_keys.setdefault(key.lower(), key)
    for lower, key in sorted(all_keys.items()):
        present = {}
        for name, entries in sections.items():
            for k, (value, line_no) in entries.items():
                if k.lower() == lower:
                    present[name] = (k, value, line_no)
        for name in SECTIONS:
            if name in sections and name not in present:
                errors.append(f"{path.name}: {key} is missing in [{name}]")
        spellings = {k for k, _, _ in present.values()}
        if len(spellings) > 1:
            errors.append(f"{path.name}: {key} is spelt differently: {sorted(spellings)}")
        trailing = {name: v != v.rstrip() for name, (_, v, _) in present.items()}
        if len(set(trailing.values())) > 1:
            with_space = sorted(n for n, t in trailing.items() if t)
            errors.append(f"{path.name}: {key} ends with a space only in {with_space}")
    return set(all_keys.values())


def main(argv):
    folder = pathlib.Path(argv[1]) if len(argv) > 1 else pathlib.Path(__file__).resolve().parent
    # CMakeLists.txt is build script, not interface text.
    files = sorted(p for p in folder.glob("*.txt") if p.is_file() and p.name != "CMakeLists.txt")
    if not files:
        print(f"no *.txt files in {folder}", file=sys.stderr)
        return 1
    errors = []
    owner = {}
    for path in files:
        keys = check_file(path, errors)
        for key in sorted(keys):
            first = owner.get(key.lower())
            if first is not None:
                errors.append(f"{path.name}: {key} is already defined in {first}")
            else:
                owner[key.lower()] = path.name
        print(f"{path.name}: {len(keys)} keys")
    print(f"total: {len(owner)} keys in {len(files)} files")
    for e in errors:
        print("error: " + e, file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
