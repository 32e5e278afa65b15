#!/usr/bin/env python3
"""The log's CSV file read back by Python's csv module, as a spreadsheet user's
script would: header, 2048 rows, values equal to the listing's, times that
parse as ISO 8601 and lie exactly one sample interval apart even across the
night the clocks go forward, and a file that Python writes back byte for
byte (so nothing is quoted that need not be). The --excel form is read with
the ';' dialect under a decimal-comma locale when one is installed.

    csv_round_trip.py BIN_DIR
"""
import csv
import datetime
import io
import os
import subprocess
import sys
import tempfile

CLI = os.path.join(sys.argv[1], "quorvel-cli")
ENV = dict(os.environ, QT_QPA_PLATFORM="offscreen", TZ="Europe/Berlin", LC_ALL="C.UTF-8",
           XDG_RUNTIME_DIR=os.environ.get("XDG_RUNTIME_DIR", "/tmp"))
STEP = datetime.timedelta(minutes=15)
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def cli(*args, env=ENV):
    run = subprocess.run([CLI, *args], env=env, capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f"quorvel-cli {' '.join(args)} ended with {run.returncode}: {run.stderr}")
    return run.stdout


def bcd(value):
    return (value // 10) * 16 + value % 10


def write_data_file(path, codes):
    store = [0] * 3001
    # Started 30/03/24 22:00, every 15 minutes: the clocks go forward 4 hours in.
    for offset, value in {13: 15, 21: bcd(0), 22: bcd(22), 23: bcd(30), 24: bcd(3), 25: bcd(24),
                          26: 1500 & 0xFF, 27: 1500 >> 8}.items():
        store[1 + offset] = value
    for n, code in enumerate(codes):
        store[297 + n] = code
    with open(path, "w", newline="") as f:
        f.writelines(f"{v}\r\n" for v in store[1:])


def listing(data):
    lines = cli("open", data, "show", "temperature").splitlines()[2:]
    walls = [datetime.datetime.strptime(line.split(" \t")[0], "%d/%m/%y %H:%M") for line in lines]
    values = [float(line.split("\t")[1]) for line in lines]
    return walls, values


def check_rows(rows, decimal, walls, values, label):
    check(rows[0] == ["index", "time", "temperature_C"], f"{label}: header {rows[0]}")
    check(len(rows) == 2049, f"{label}: {len(rows) - 1} rows")
    times = [datetime.datetime.fromisoformat(r[1]) for r in rows[1:]]
    check([int(r[0]) for r in rows[1:]] == list(range(2048)), f"{label}: index column")
    check([float(r[2].replace(decimal, ".")) for r in rows[1:]] == values, f"{label}: values differ from the listing")
    check(all(b - a == STEP for a, b in zip(times, times[1:])), f"{label}: rows not one interval apart")
    check(times[0].isoformat() == "2024-03-30T22:00:00+01:00", f"{label}: first time {times[0].isoformat()}")
    # The local time differs from the recorder's wall clock by the change.
    for t, wall in zip(times, walls):
        shift = t.utcoffset() - times[0].utcoffset()
        if t.replace(tzinfo=None) - wall != shift:
            check(False, f"{label}: {t.isoformat()} against the listing's {wall}")
            break
    check(times[-1].utcoffset() == datetime.timedelta(hours=2), f"{label}: summer time not reached")


with tempfile.TemporaryDirectory() as tmp:
    codes = [(n * 7) % 256 for n in range(2048)]
    data = os.path.join(tmp, "log.dat")
    write_data_file(data, codes)
    walls, values = listing(data)
    check(values == [c * 0.5 - 40 for c in codes], "the listing does not hold the codes written")

    out = os.path.join(tmp, 'round, "trip".csv')
    cli("open", data, "export", "--csv", out)
    raw = open(out, "rb").read()
    rows = list(csv.reader(io.StringIO(raw.decode("utf-8"), newline="")))
    check_rows(rows, ".", walls, values, "csv")
    again = io.StringIO(newline="")
    csv.writer(again, lineterminator="\n").writerows(rows)
    check(again.getvalue().encode("utf-8") == raw, "Python writes the rows back differently")

    german = dict(ENV, LC_ALL="de_DE.UTF-8")
    if "de_DE.utf8" in subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout:
        excel = os.path.join(tmp, "excel.csv")
        cli("open", data, "export", "--csv", excel, "--excel", env=german)
        with open(excel, encoding="utf-8-sig", newline="") as f:
            text = f.read()
        check(text.count("\r\n") == 2049 and text.count("\n") == 2049, "excel: line ends are not CR LF")
        rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=";"))
        check_rows(rows, ",", walls, values, "excel")
    else:
        print("csv round trip: de_DE.UTF-8 not installed, the --excel form is not read back")

if failures:
    print("\n".join(failures))
    sys.exit(1)
print("csv round trip: 2048 rows read back and written again byte for byte")
