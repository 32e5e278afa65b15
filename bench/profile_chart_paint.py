#!/usr/bin/env python3
"""Where a chart paint goes, step by step of the paint pipeline.

Runs bench_chart_paint under callgrind twice per scenario (33 and 63 paints)
and prints, from the difference, the instructions one steady paint spends in
each step: panel background, titles and legend, axis layout, walls, axes
(their labels' text, grid lines and ticks inside), series. Instruction counts
repeat from run to run on a busy machine, where times do not; one-time costs
(fonts loaded, label widths first measured) fall out of the difference.

    bench/profile_chart_paint.py BUILD [SCENARIO ...] [--shortcuts off]

Needs valgrind. Without scenarios it profiles the seven that the peer
comparison runs.
"""
import os
import re
import subprocess
import sys
import tempfile

SCENARIOS = ["line2048_352x334", "line2048_1920x1080", "bar64_352x334", "bar64_1920x1080",
             "line100k_1920x1080", "line1m_1920x1080", "zoom100k_1920x1080"]

# Step name -> functions whose inclusive counts add up to it.
STEPS = [
    ("paint", ["plot::TCustomPlotPanel::Draw(platform::DeviceCanvas&, platform::Rect const&)"]),
    ("panel", ["plot::TCustomPlotPanelExtended::DrawPanel(platform::Rect const&)"]),
    ("titles", ["plot::TCustomChart::DrawTitlesAndLegend()"]),
    ("layout", ["plot::TCustomChart::CalcAxisRect()", "plot::TCustomChart::CalcSeriesRect()"]),
    ("walls", ["plot::TCustomChart::DrawWalls()"]),
    ("axes", ["plot::TCustomChartAxis::DrawAxis(bool)"]),
    ("  label text", ["plot::TCustomChartAxis::DrawAxisLabel("]),
    ("  grid", ["plot::TCustomChartAxis::DrawGridLine(int)"]),
    ("  ticks", ["plot::TCustomChartAxis::DrawTick(int, int, bool)"]),
    ("series", ["plot::TCustomAxisPanel::DrawSeries(plot::TChartSeries&)"]),
]


def inclusive_counts(build, scenario, paints, extra):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "cg.out")
        env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        env.setdefault("XDG_RUNTIME_DIR", tmp)
        subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out,
                        os.path.join(build, "bin", "bench_chart_paint"), "--only", scenario, "--floor", "off",
                        "--paints", str(paints)] + extra,
                       check=True, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        report = subprocess.run(["callgrind_annotate", "--inclusive=yes", "--threshold=100", out],
                                check=True, capture_output=True, text=True).stdout
    counts = {}
    for line in report.splitlines():
        m = re.match(r"\s*([\d,]+) \([^)]*\)\s+\S*?:(.*) \[", line)
        if m:
            # A function listed twice (clones) adds up.
            name = m.group(2)
            counts[name] = counts.get(name, 0) + int(m.group(1).replace(",", ""))
    return counts


def step_counts(counts):
    result = {}
    for step, functions in STEPS:
        total = 0
        for name, value in counts.items():
            if any(name.startswith(f) for f in functions):
                total += value
        result[step] = total
    return result


def main():
    args = sys.argv[1:]
    if not args:
        print(__doc__)
        return 2
    build = args[0]
    extra = []
    if "--shortcuts" in args:
        i = args.index("--shortcuts")
        extra = ["--shortcuts", args[i + 1]]
        del args[i:i + 2]
    scenarios = args[1:] or SCENARIOS
    print("Instructions per paint (thousands), steady state: (63 paints - 33 paints) / 30")
    print("%-22s" % "step" + "".join("%12s" % s.split("_")[0] + ("" if "_" not in s else "") for s in scenarios))
    print("%-22s" % "" + "".join("%12s" % s.split("_", 1)[1] for s in scenarios))
    columns = []
    for s in scenarios:
        a = step_counts(inclusive_counts(build, s, 30, extra))
        b = step_counts(inclusive_counts(build, s, 60, extra))
        columns.append({k: (b[k] - a[k]) / 30.0 for k in a})
    for step, _ in STEPS:
        print("%-22s" % step + "".join("%12.0f" % (c[step] / 1000.0) for c in columns))
    return 0


if __name__ == "__main__":
    sys.exit(main())
