#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads every user table of every Jet file in a folder through velkaro-mdb-dump and
through mdbtools' mdb-export, and compares them cell for cell.

usage: compare-with-mdbtools.py DUMP_TOOL FOLDER

Text must be equal, or equal once mdb-export's text is mapped to Windows-1254 (the
program's text holds no other characters); numbers numerically; dates to the second;
cells the dump writes as '*' (kinds the program never reads) are skipped, and so are
dates mdb-export cannot convert (before 1899-12-30 or after about 4637 it writes the
impossible '1900-01-00 00:00:00'). Enciphered files (named *with-password.accdb) must
be refused with a message that says so. Ends with 'N passed, N failed'.
"""
import math
import pathlib
import subprocess
import sys
from datetime import datetime

DATE = '%Y-%m-%d %H:%M:%S'
MDBTOOLS_UNCONVERTED_DATE = '1900-01-00 00:00:00'


def run(command):
    done = subprocess.run(command, capture_output=True, timeout=120)
    return done.returncode, done.stdout.decode('utf-8'), done.stderr.decode('utf-8', 'replace')


def rows_of(text):
    lines = text.split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    return [line.split('\t') for line in lines]


def same_cell(ours, theirs):
    if ours == theirs or ours == '*' or theirs == MDBTOOLS_UNCONVERTED_DATE:
        return True
    if theirs.encode('cp1254', errors='replace').decode('cp1254') == ours:
        return True
    try:
        return math.isclose(float(ours), float(theirs), rel_tol=1e-6, abs_tol=1e-9)
    except ValueError:
        pass
    try:
        seconds = (datetime.strptime(ours, DATE) - datetime.strptime(theirs, DATE)).total_seconds()
        return abs(seconds) <= 1
    except ValueError:
        return False


def table_difference(tool, path, table):
    _, theirs, _ = run(['mdb-export', '-d', '\\t', '-Q', '-e', '-b', 'strip', '-D', DATE, '-T',
                        DATE, str(path), table])
    status, ours, error = run([tool, str(path), table])
    if status != 0:
        return f'refused ({status}): {error.strip()}'
    a, b = rows_of(ours), rows_of(theirs)
    if len(a) != len(b):
        return f'{len(a) - 1} rows, mdb-export {len(b) - 1}'
    for line, (row_a, row_b) in enumerate(zip(a, b)):
        if len(row_a) != len(row_b):
            return f'line {line}: {len(row_a)} columns, mdb-export {len(row_b)}'
        for column, (cell_a, cell_b) in enumerate(zip(row_a, row_b)):
            if not same_cell(cell_a, cell_b):
                return f'line {line} column {column}: {cell_a[:40]!r}, mdb-export {cell_b[:40]!r}'
    return None


def main():
    tool, folder = sys.argv[1], pathlib.Path(sys.argv[2])
    passed = failed = 0
    for path in sorted(folder.glob('*.*db')):
        if path.name.endswith('with-password.accdb'):
            status, _, error = run([tool, str(path)])
            ok = status == 2 and 'encrypted' in error
            print(f'{path.name}: {"refused as encrypted" if ok else f"not refused: {status} {error}"}')
            passed, failed = passed + ok, failed + (not ok)
            continue
        _, listed, _ = run(['mdb-tables', '-1', str(path)])
        status, listing, error = run([tool, str(path)])
        ours = [line.split('\t') for line in listing.split('\n') if line]
        if status != 0 or [row[0] for row in ours] != [t for t in listed.split('\n') if t]:
            print(f'{path.name}: tables {[row[0] for row in ours]} ({status} {error.strip()}), '
                  f'mdb-tables {listed.split()}')
            failed += 1
            continue
        for table in (row[0] for row in ours):
            difference = table_difference(tool, path, table)
            print(f'{path.name} / {table}: {difference or "same"}')
            passed, failed = passed + (difference is None), failed + (difference is not None)
    print(f'{passed} passed, {failed} failed')
    return 0 if failed == 0 and passed > 0 else 1


sys.exit(main())
