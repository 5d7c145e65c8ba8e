"""Checks a screenshot (binary PPM) of vimra's clouds. Without monitors the
whole picture is one monitor; with them, each WxH+X+Y[*K] (K its scale,
default SCALE, else its height div 1080 and at least 1) is checked on its own and every pixel outside them must be
black. On each monitor: lit pixels whose bounding box is centred on it and
clear of its edges. "exact" (the picture shown 1:1) also wants the discs of
one frame as they are drawn: every lit pixel on the rim of the colour cube,
and each colour within one disc's fill, 14 x 14 pixels inside its black
outline, times the scale, and the widest that wide: the disc unhidden in
front (the 600 discs of a frame have 600 colours; a disc left over from an
earlier frame, one without its outline or of another size breaks that).
"scaled" pixels are averages. White is no disc's colour: it is the --fps
overlay's, wanted 10 pixels times the scale from the first monitor's left
and bottom edges with "exact fps", and nowhere otherwise; then its numbers
are read (glyphs of 5 x 7 dots of 2 x 2 pixels times the scale, one every 6
dots, a line every 10, after "FPS: " and "Load: ") and printed as "FPS 20.0
Load 3". A 16-bit screen keeps fewer bits of each colour: "exact16" takes a
component of 248 or more as full and of 7 or less as none, and as up to
eight discs share a colour there, wants each run
of lit pixels in a row within one fill (an outline bounds every run); and
no more lit pixels than 600 fills' squares hold, which discs left behind soon
exceed.
    picture_check.py PPM exact|exact16|scaled [SCALE] [fps] [WxH+X+Y[*K] ...]"""
import itertools
import re
import sys

data = open(sys.argv[1], "rb").read()
header = re.match(rb"P6\s(\d+)\s(\d+)\s255\s", data)
width, height, pixels = int(header[1]), int(header[2]), data[header.end():]
mode, options = sys.argv[2], sys.argv[3:]
scale = next((a for a in options if a.isdigit()), "0")  # 0: the automatic scale
monitors = [[int(n) for n in re.fullmatch(r"(\d+)x(\d+)\+(\d+)\+(\d+)(?:\*(\d+))?", a).groups(default=scale)]
            for a in options if "x" in a] or [[width, height, 0, 0, int(scale)]]
monitors = [(w, h, left, top, k or max(h // 1080, 1)) for w, h, left, top, k in monitors]
full, none = (248, 7) if mode == "exact16" else (255, 0)
# Every lit pixel, found at the regular expression engine's speed (most are black).
lit_at = {i // 3: pixels[i // 3 * 3:i // 3 * 3 + 3] for i in (m.start() for m in re.finditer(rb"[^\0]", pixels))}
# The overlay's glyphs as rows of dots from the left in bits 4 to 0; the labels' are not read.
FONT = dict(zip(map(bytes.fromhex, "0e11131519110e 040c040404040e 0e11010204081f 1f02040201110e 02060a121f0202 1f101e0101110e "
                "0608101e11110e 1f010204080808 0e11110e11110e 0e11110f01020c 00000000000c0c 18190204081303".split()),
                "0123456789.%"))


def read_overlay(white, h, k):
    """The overlay's FPS and load from its white pixels (monitor coordinates), or what was read instead."""
    dot, top = 2 * k, h - 44 * k
    glyph = lambda line, cell: bytes(sum(16 >> c for c in range(5) if (10 * k + (6 * cell + c) * dot,
                                                                     top + (10 * line + r) * dot) in white)
                                     for r in range(7))
    read = lambda line: "".join(FONT.get(glyph(line, cell), "?" if any(glyph(line, cell)) else " ") for cell in range(16))
    numbers = re.fullmatch(r"\?{4} (\d+\.\d) *\n\?{5} (\d+)% *", read(0) + "\n" + read(1))
    return f"FPS {numbers[1]} Load {numbers[2]}" if numbers else None, read(0) + "/" + read(1)


def check(w, h, left, top, k, first):
    """The problems of the monitor at (left, top), w x h, shown at scale k."""
    lit = [(at % width - left, at // width - top, colour) for at, colour in lit_at.items()
           if left <= at % width < left + w and top <= at // width < top + h]
    overlay = [p for p in lit if p[2] == b"\xff\xff\xff"]
    lit = [p for p in lit if p[2] != b"\xff\xff\xff"]
    xs, ys = [p[0] for p in lit] or [0], [p[1] for p in lit] or [0]
    box = f"cloud {min(xs)},{min(ys)}..{max(xs)},{max(ys)} in {w}x{h}+{left}+{top}"
    off_rim = sum(max(p[2]) < full or min(p[2]) > none for p in lit)
    colours = [list(at) for _, at in itertools.groupby(sorted(lit, key=lambda p: p[2]), key=lambda p: p[2])]
    fill = 14 * k
    sizes = [[max(p[n] for p in at) - min(p[n] for p in at) + 1 for n in (0, 1)] for at in colours] or [[0, 0]]
    if mode == "exact16":
        sizes = [[n, n] for n in itertools.accumulate(
            zip(lit, lit[1:]), lambda n, pair: n + 1 if pair[1][:2] == (pair[0][0] + 1, pair[0][1]) else 1, initial=1)]
    spread = sum(max(size) > fill for size in sizes)
    exact = mode.startswith("exact")
    fps = exact and first and "fps" in options  # the overlay wanted
    numbers, seen = read_overlay({p[:2] for p in overlay}, h, k) if fps else ("", "")
    return box + (f", {numbers}" if numbers else ""), [text for failed, text in [
        (len(lit) < 50, f"only {len(lit)} lit pixels in {w}x{h}+{left}+{top}"),
        (abs(min(xs) + max(xs) - w) > w / 5 or abs(min(ys) + max(ys) - h) > h / 5 or
         min(xs) == 0 or min(ys) == 0 or max(xs) == w - 1 or max(ys) == h - 1, f"{box}: off centre or cut off"),
        (mode == "exact16" and len(lit) > 600 * fill * fill, f"{box}: {len(lit)} lit pixels, more than 600 discs'"),
        (exact and off_rim > 0, f"{box}: {off_rim} of {len(lit)} lit pixels are off the colour cube's rim"),
        (exact and spread > 0, f"{box}: {spread} colours (at 16 bits runs) wider than one disc's fill of {fill}"),
        (exact and max(sizes)[0] != fill, f"{box}: the widest disc fill is {max(sizes)[0]} pixels, not {fill}"),
        (fps != bool(overlay) or overlay and
         (min(p[0] for p in overlay) != 10 * k or max(p[1] for p in overlay) != h - 10 * k - 1),
         f"{box}: {len(overlay)} white pixels, {overlay[:1]} the first"),
        (fps and not numbers, f"{box}: the overlay reads {seen!r}"),
    ] if failed]


found = [check(*monitor, first=n == 0) for n, monitor in enumerate(monitors)]
problems = sum((p for _, p in found), [])
inside = lambda x, y: any(l <= x < l + w and t <= y < t + h for w, h, l, t, _ in monitors)
stray = sum(not inside(at % width, at // width) for at in lit_at)
if stray:
    problems.append(f"{stray} lit pixels outside the monitors")
print("; ".join(problems) or ", ".join(box for box, _ in found))
sys.exit(1 if problems else 0)
