#!/usr/bin/env python3
"""The same searches on the same text: vorn-cli on a SWORD module compiled
with `vorn-build sword` against diatheke on that module, each as a whole
process, on this machine, in one run.

    bench/sword_race.py [--vorn-cli PATH] [--data DIR] [--db KJV] [--module NAME] [--runs 7]

Three searches: a Strong's number (diatheke's indexed lemma search, after
mkfastmod builds its index), two words in one verse (diatheke's unindexed
multiword search) and a phrase (unindexed). For each the script checks that
both programs found the same verses, then prints the median time of each
and the ratio. diatheke's index is built in a temporary copy of the module,
so the installed library is left as it was; its build time is printed as
the time vorn saves (vorn needs no index beyond its database).

diatheke's multiword search matches substrings without regard to case, and
counts two words in adjacent verses as a hit too (it lists both verses).
vorn's query asks for the words anywhere inside words, ignoring case, in one
verse; the check then accepts diatheke's extra verses only where they come
in pairs of neighbours, and says how many there were.
"""

import argparse
import os
import re
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# diatheke's English book names, in order, and the codes of vorn's book table.
SWORD_BOOKS = [
    "Genesis", "Exodus", "Leviticus", "Numbers", "Deuteronomy", "Joshua", "Judges", "Ruth",
    "I Samuel", "II Samuel", "I Kings", "II Kings", "I Chronicles", "II Chronicles", "Ezra",
    "Nehemiah", "Esther", "Job", "Psalms", "Proverbs", "Ecclesiastes", "Song of Solomon",
    "Isaiah", "Jeremiah", "Lamentations", "Ezekiel", "Daniel", "Hosea", "Joel", "Amos",
    "Obadiah", "Jonah", "Micah", "Nahum", "Habakkuk", "Zephaniah", "Haggai", "Zechariah",
    "Malachi", "Matthew", "Mark", "Luke", "John", "Acts", "Romans", "I Corinthians",
    "II Corinthians", "Galatians", "Ephesians", "Philippians", "Colossians", "I Thessalonians",
    "II Thessalonians", "I Timothy", "II Timothy", "Titus", "Philemon", "Hebrews", "James",
    "I Peter", "II Peter", "I John", "II John", "III John", "Jude", "Revelation of John"]
CODES = ("GEN EXO LEV NUM DEU JOS JDG RUT 1SA 2SA 1KI 2KI 1CH 2CH EZR NEH EST JOB PSA PRO ECC "
         "SNG ISA JER LAM EZK DAN HOS JOL AMO OBA JON MIC NAM HAB ZEP HAG ZEC MAL MAT MRK LUK "
         "JHN ACT ROM 1CO 2CO GAL EPH PHP COL 1TH 2TH 1TI 2TI TIT PHM HEB JAS 1PE 2PE 1JN 2JN "
         "3JN JUD REV").split()
BOOK_INDEX = {name: i for i, name in enumerate(SWORD_BOOKS)}
CODE_INDEX = {code: i for i, code in enumerate(CODES)}

# (what, vorn query, diatheke search type, diatheke key, how the verse sets must agree)
SEARCHES = [
    ("Strong's number G3056", "strong G3056", "lucene", "lemma:G3056", "same"),
    ("two words in one verse: love, God",
     "text *love* within the same verse as text *God*", "multiword", "love God", "window"),
    ("phrase: the word of the LORD",
     "text LORD following (text the following (text of following (text word following text the)))",
     "phrase", "the word of the LORD", "same"),
]

REF = re.compile(r"((?:I{1,3} )?[A-Z][a-z]+(?: [a-z]+)*(?: [A-Z][a-z]+)*) (\d+):(\d+)")


def run(argv, env=None):
    """Runs a whole process: its wall-clock time, its CPU time (user and
    system, steadier than the wall clock on a busy machine) and its output."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    done = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
    seconds = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    if done.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(argv), done.stderr.decode(errors="replace")))
    return seconds, cpu, done.stdout.decode(errors="replace")


def vorn_verses(out):
    verses = set()
    for line in out.splitlines():
        ref = line.split("\t")[0]
        m = re.match(r"(\S+) (\d+):(\d+)", ref)
        if m:
            verses.add((CODE_INDEX[m.group(1).upper()], int(m.group(2)), int(m.group(3))))
    return verses


def diatheke_verses(out):
    # "Entries containing "x"-- Genesis 1:1Numbers 10:10 ; ... ;  -- 19 matches total (MOD)"
    body = out.split("--", 1)[1].rsplit("--", 1)[0] if "--" in out else ""
    verses = set()
    for name, chapter, verse in REF.findall(body):
        if name not in BOOK_INDEX:
            sys.exit("diatheke named an unknown book: " + name)
        verses.add((BOOK_INDEX[name], int(chapter), int(verse)))
    return verses


def neighbours(a, b):
    """Verses that may follow one another: in one chapter, across a chapter
    end, or across a book end (the next book's 1:1)."""
    if a > b:
        a, b = b, a
    if a[0] == b[0]:
        return (a[1] == b[1] and b[2] == a[2] + 1) or (b[1] == a[1] + 1 and b[2] == 1)
    return b[0] == a[0] + 1 and b[1:] == (1, 1)


def find_module(name):
    """The module's name and folders in the system library (by name or abbreviation)."""
    mods = "/usr/share/sword/mods.d"
    for conf in sorted(os.listdir(mods)) if os.path.isdir(mods) else []:
        text = open(os.path.join(mods, conf), encoding="utf-8", errors="replace").read()
        section = re.search(r"^\[(.+)\]", text, re.M)
        abbrev = re.search(r"^Abbreviation=(.+)$", text, re.M)
        data = re.search(r"^DataPath=(.+)$", text, re.M)
        if not section or not data:
            continue
        names = {section.group(1).lower()} | ({abbrev.group(1).strip().lower()} if abbrev else set())
        if name.lower() in names:
            return section.group(1), os.path.join(mods, conf), data.group(1).strip()
    sys.exit("no SWORD module %s in /usr/share/sword (install sword-text-kjv)" % name)


def main():
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("--vorn-cli", default=os.path.join(ROOT, "build/tools/vorn-cli/vorn-cli"))
    p.add_argument("--data", default=os.path.join(ROOT, "build/data"))
    p.add_argument("--db", default="KJV")
    p.add_argument("--module", default="KJV")
    p.add_argument("--runs", type=int, default=7)
    a = p.parse_args()
    for tool in ("diatheke", "mkfastmod"):
        if not shutil.which(tool):
            sys.exit(tool + " is missing (install diatheke and libsword-utils)")
    if not os.path.isdir(os.path.join(a.data, a.db + ".qyx")):
        sys.exit("%s/%s.qyx is missing: vorn-build sword %s --out %s" % (a.data, a.db, a.module, a.data))
    module, conf, data_path = find_module(a.module)

    with tempfile.TemporaryDirectory(prefix="sword_race_") as lib:
        # A copy of the module, so that the index lands beside the copy.
        os.makedirs(os.path.join(lib, "mods.d"))
        shutil.copy(conf, os.path.join(lib, "mods.d"))
        shutil.copytree(os.path.join("/usr/share/sword", data_path), os.path.join(lib, data_path))
        env = dict(os.environ, SWORD_PATH=lib, HOME=lib)
        index_seconds, index_cpu, _ = run(["mkfastmod", module], env)
        index_bytes = sum(os.path.getsize(os.path.join(d, f))
                          for d, _, files in os.walk(os.path.join(lib, data_path, "lucene"))
                          for f in files)
        print("diatheke (SWORD) module %s; its index: %.1f s to build (%.1f s CPU), %.1f MB"
              % (module, index_seconds, index_cpu, index_bytes / 1e6))
        print("medians of %d runs; seconds of wall clock and of CPU (user + system)" % a.runs)
        print("%-38s %6s %6s %8s %8s %6s %8s %8s %6s" % (
            "search", "vorn", "diath.", "vorn", "diath.", "ratio", "vorn", "diath.", "ratio"))
        print("%-38s %6s %6s %8s %8s %6s %8s %8s %6s" % (
            "", "verses", "verses", "wall", "wall", "", "cpu", "cpu", ""))
        ok = True
        for what, query, kind, key, agreement in SEARCHES:
            vorn_cmd = [a.vorn_cli, "query", "--data", a.data, "--db", a.db, "--match", "loose",
                        query]
            sword_cmd = ["diatheke", "-b", module, "-s", kind, "-k"] + key.split(" ")
            vorn_wall, vorn_cpu, sword_wall, sword_cpu = [], [], [], []
            for _ in range(a.runs):
                t, c, vorn_out = run(vorn_cmd)
                vorn_wall.append(t)
                vorn_cpu.append(c)
                t, c, sword_out = run(sword_cmd, env)
                sword_wall.append(t)
                sword_cpu.append(c)
            ours, theirs = vorn_verses(vorn_out), diatheke_verses(sword_out)
            vw, sw = statistics.median(vorn_wall), statistics.median(sword_wall)
            vc, sc = statistics.median(vorn_cpu), statistics.median(sword_cpu)
            print("%-38s %6d %6d %8.3f %8.3f %5.1fx %8.3f %8.3f %5.1fx" % (
                what, len(ours), len(theirs), vw, sw, sw / vw, vc, sc, sc / max(vc, 1e-3)))
            missing = ours - theirs
            extra = theirs - ours
            if agreement == "window":
                # diatheke's extra verses: each beside another verse it listed.
                lone = [v for v in extra if not any(neighbours(v, w) for w in theirs if w != v)]
                if missing or lone:
                    ok = False
                    print("  DIFFER: vorn only %s; diatheke alone, no neighbour (a footnote?) %s"
                          % (sorted(missing)[:5], sorted(lone)[:5]))
                else:
                    print("  same verses (diatheke adds %d verses of adjacent-verse pairs)" % len(extra))
            elif missing or extra:
                ok = False
                print("  DIFFER: vorn only %s; diatheke only %s" % (sorted(missing)[:5],
                                                                   sorted(extra)[:5]))
            else:
                print("  same verses")
        return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
