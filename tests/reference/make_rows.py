#!/usr/bin/env python3
"""Writes pictures.rows: one kestrel-cli argument list per line, covering
every symbology x ratio x text on/off x bearer, with narrow widths, comments,
colours and BMP depths rotated through the rows, plus rows of refused texts,
odd margins and the Codabar check methods. Run once; the rows are data."""
import itertools, shlex

data = [
    ("jan13", ["--data", "4901234567894"]),
    ("jan8", ["--data", "4901234", "--auto-add", "1"]),
    ("itf", ["--data", "1490123456789", "--auto-add", "1"]),
    ("stf", ["--data", "123456", "--check", "0"]),
    ("codabar", ["--data", "123456", "--auto-add", "1"]),
    ("code39", ["--data", "KESTREL-39", "--auto-add", "1"]),
    ("code39ext", ["--data", "Kestrel 39", "--check", "0"]),
    ("code93", ["--data", "CODE 93"]),
    ("code93ext", ["--data", "Code 93!"]),
    ("code11", ["--data", "123-45", "--check", "0"]),
    ("code11-2", ["--data", "123-456", "--check", "0"]),
    ("code128", ["--data", "Kestrel 128"]),
]
comments = [
    [],
    ["--set", "Comment/String1=Lot 7", "--set", "Comment/High1=14"],
    ["--set", "Comment/String1=ロット 7", "--set", "Comment/High1=16",
     "--set", "Comment/String2=ｶﾅ 見本", "--set", "Comment/High2=12",
     "--set", "Comment/Color2=#C00000"],
]
colours = [
    [],
    ["--set", "Code/BarColor=#000080", "--set", "Code/BackColor=#FFFFE0",
     "--set", "Code/CodeColor=#006000"],
]
depths = [[], ["--bpp", "1"], ["--bpp", "4"], ["--bpp", "8"], ["--bpp", "16"],
          ["--bpp", "24"], ["--bpp", "32"], ["--bpp", "4", "--rle"],
          ["--bpp", "8", "--rle"], ["--depth", "2"]]

rows = []
n = 0
for (key, args), aspect, text, bearer in itertools.product(data, range(3), (1, 0), (0, 1)):
    row = ["--type", key] + args + ["--aspect", str(aspect), "--text", str(text),
                                    "--bearer", str(bearer)]
    row += ["--narrow", str(1 + n % 3), "--width", str(260 + 7 * (n % 5)),
            "--height", str(110 + 3 * (n % 7)), "--text-height", str((12, 16, 20, 30)[n % 4])]
    row += comments[n % 3] + colours[(n // 3) % 2] + depths[n % len(depths)]
    rows.append((row, "bmp"))
    n += 1

# The JAN and ITF text and frame options, and frames of their own width.
rows += [
    (["--type", "jan13", "--data", "490123456789", "--auto-add", "1", "--set", "JAN/CodeOut=0"], "bmp"),
    (["--type", "jan8", "--data", "49012347", "--set", "JAN/CodeOut=0", "--bearer", "1"], "bmp"),
    (["--type", "jan13", "--data", "4901234567894", "--bearer", "1", "--set", "JAN/CaseWidth=3"], "bmp"),
    (["--type", "itf", "--data", "1490123456789", "--auto-add", "1", "--bearer", "1", "--set", "ITF/CaseWidth=9"], "bmp"),
    (["--type", "itf", "--data", "12345", "--auto-add", "1", "--bearer", "1"], "bmp"),
    (["--type", "itf", "--data", "123456789012345", "--auto-add", "1", "--bearer", "1"], "bmp"),
    (["--type", "itf", "--data", "1234567", "--check", "0", "--bearer", "1", "--code-text"], "bmp"),
    (["--type", "jan13", "--data", "4901234567894", "--text-height", "200", "--height", "300"], "bmp"),
    (["--type", "jan8", "--data", "49012347", "--narrow", "4", "--text-height", "60"], "bmp"),
]
# Margins that leave no room for bars, and margins exactly half the height.
for ymargin, height in ((50, 100), (60, 100), (100, 200), (0, 30)):
    rows.append((["--type", "code128", "--data", "ABC", "--ymargin", str(ymargin),
                  "--height", str(height)], "bmp"))
    rows.append((["--type", "jan13", "--data", "4901234567894", "--ymargin", str(ymargin),
                  "--height", str(height), "--text", "0"], "bmp"))
# Codabar: every check method, start and stop, gaps.
for method in range(4):
    rows.append((["--type", "codabar", "--data", "1234567890123", "--auto-add", "1",
                  "--set", "Codabar/CheckDegit=%d" % method, "--codabar-start", "B",
                  "--codabar-stop", "d", "--codabar-gap", str(1 + method)], "bmp"))
rows.append((["--type", "code39", "--data", "*ABC*", "--check", "0", "--code39-gap", "3"], "bmp"))
# PNG and SVG from the same drawing.
for key, args in data:
    rows.append((["--type", key] + args + ["--set", "Comment/String1=見本"], "png"))
for key, args in data[::4]:
    rows.append((["--type", key] + args, "svg"))
# Texts that are refused, or drawn with nothing: exit status and output.
refused = [
    ["--type", "jan13", "--data", "490123456789"],
    ["--type", "jan13", "--data", "49012345678941"],
    ["--type", "jan13", "--data", "4901234567895"],
    ["--type", "jan8", "--data", "490123478"],
    ["--type", "jan8", "--data", "4901234A"],
    ["--type", "itf", "--data", "123456", "--auto-add", "1"],
    ["--type", "stf", "--data", "12A4", "--check", "0"],
    ["--type", "codabar", "--data", "A12+3B", "--check", "0"],
    ["--type", "codabar", "--data", "A12X3B", "--check", "0"],
    ["--type", "code39", "--data", "*abc*", "--check", "0"],
    ["--type", "code39", "--data", "*ABCD*", "--check", "1"],
    ["--type", "code39ext", "--data", "é"],
    ["--type", "code93", "--data", "abc"],
    ["--type", "code11", "--data", "12A"],
    ["--type", "code128", "--data", "ｶﾅ"],
    ["--type", "code128", "--data", "A" * 128],
    ["--type", "code128", "--data", "A" * 129],
    ["--type", "code128", "--data", "あ" * 64],
    ["--type", "code39", "--data", "*ABC*", "--check", "0", "--aspect", "1", "--narrow", "50", "--width", "9999"],
    ["--type", "jan13", "--data", ""],
]
for args in refused:
    rows.append((args + ["--module-text", "--code-text"], "bmp"))
# Module and code texts for each symbology at every ratio.
for (key, args), aspect in itertools.product(data, range(3)):
    rows.append((["--type", key] + args + ["--aspect", str(aspect), "--module-text", "--code-text"], None))

with open("pictures.rows", "w", encoding="utf-8") as out:
    out.write("# format<TAB>arguments (shell words); written by make_rows.py\n")
    for row, fmt in rows:
        out.write("%s\t%s\n" % (fmt or "-", shlex.join(row)))
print(len(rows), "rows")
