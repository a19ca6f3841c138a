#!/usr/bin/env python3
"""Prints what the quorvane module costs: importing it; quorvane.compare of a 400-page pair beside
quorvane-compare on the same pair; and on a small pair what a call adds to the command line's own
work (its run less its start).
    PYTHONPATH=build/python bench/python_bench.py build/Quorvane/quorvane-compare"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

import docx

import quorvane

WORDS = ("the office moves to a new building next spring and every team will pack its own boxes "
         "before Friday so that nothing is lost on the way between floors while movers carry "
         "desks").split()


def write(path, pages, changed):
    document = docx.Document()
    seed = 7
    for page in range(pages):
        for paragraph in range(5):
            words = [f"Page {page + 1}, paragraph {paragraph + 1}:"]
            for word in range(100):
                seed = (seed * 1103515245 + 12345) % (1 << 31)
                chosen = WORDS[(seed >> 16) % len(WORDS)]
                edit = changed and page % 2 == 0 and paragraph == 2 and word == 50
                words.append("changed" if edit else chosen)
            document.add_paragraph(" ".join(words))
    document.save(path)


def seconds(run, times):
    taken = []
    for _ in range(times):
        start = time.perf_counter()
        run()
        taken.append(time.perf_counter() - start)
    return statistics.median(taken)


def main():
    tool = sys.argv[1]
    python = sys.executable
    bare = seconds(lambda: subprocess.run([python, "-c", "pass"], check=True), 15)
    imported = seconds(lambda: subprocess.run([python, "-c", "import quorvane"], check=True), 15)
    print(f"import quorvane: {1000 * (imported - bare):.1f} ms (beyond the interpreter's start)")
    with tempfile.TemporaryDirectory() as folder:
        a, b, r = (os.path.join(folder, name) for name in ("a.docx", "b.docx", "r.docx"))
        write(a, 400, False)
        write(b, 400, True)
        module = seconds(lambda: quorvane.compare(a, b, r), 5)
        command = seconds(lambda: subprocess.run([tool, a, b, "-o", r], check=True,
                                                 capture_output=True), 5)
        print(f"400 pages: quorvane.compare {module:.3f} s, quorvane-compare {command:.3f} s "
              f"({module / command:.2f} x)")
        write(a, 1, False)
        write(b, 1, True)
        small = seconds(lambda: quorvane.compare(a, b, r), 51)
        # The command line's own work on it: its run less its start (its --version).
        started = seconds(lambda: subprocess.run([tool, "--version"], check=True,
                                                 capture_output=True), 51)
        run = seconds(lambda: subprocess.run([tool, a, b, "-o", r], check=True,
                                             capture_output=True), 51)
        print(f"a one-page pair: quorvane.compare {1000 * small:.2f} ms a call; quorvane-compare "
              f"{1000 * (run - started):.2f} ms beyond its start; the module adds "
              f"{1000 * (small - (run - started)):.2f} ms")


if __name__ == "__main__":
    main()
