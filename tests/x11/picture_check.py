"""Checks a screenshot (binary PPM) of vimra's cloud: lit pixels whose
bounding box is centred in the picture and clear of its edges. "exact" (the
picture shown 1:1) also wants the discs of one frame as they are drawn:
every lit pixel on the rim of the colour cube, and each colour within one
disc's fill, 14 x 14 pixels inside its black outline, times SCALE (default
1), and the widest that wide: the disc unhidden in front (the 600 discs of a
frame have 600 colours; a disc left over from an earlier frame, one without
its outline or of another size breaks that). "scaled" pixels are averages.
White is no disc's colour: it is the --fps overlay's, wanted 10 pixels from
the left and bottom edges with "exact fps", and nowhere otherwise; then its
numbers are read (glyphs of 5 x 7 dots of 2 x 2 pixels, one every 6 dots, a
line every 10, after "FPS: " and "Load: ") and printed as "FPS 20.0 Load 3".
    picture_check.py PPM exact|scaled [SCALE] [fps]"""
import itertools
import re
import sys

data = open(sys.argv[1], "rb").read()
header = re.match(rb"P6\s(\d+)\s(\d+)\s255\s", data)
width, height, pixels = int(header[1]), int(header[2]), data[header.end():]
# Which pixels are lit, found by C loops first: a Python loop over 8 million pixels takes seconds.
nonzero = pixels.translate(bytes([0] + [1] * 255))
flags = (int.from_bytes(nonzero[0::3], "big") | int.from_bytes(nonzero[1::3], "big") |
         int.from_bytes(nonzero[2::3], "big")).to_bytes(width * height, "big")
lit = [(i % width, i // width, pixels[3 * i:3 * i + 3]) for run in re.finditer(rb"\x01+", flags) for i in range(*run.span())]
overlay = {p[:2] for p in lit if p[2] == b"\xff\xff\xff"}
lit = [p for p in lit if p[2] != b"\xff\xff\xff"]
xs, ys = [p[0] for p in lit] or [0], [p[1] for p in lit] or [0]
box = f"cloud {min(xs)},{min(ys)}..{max(xs)},{max(ys)} in {width}x{height}"
off_rim = sum(max(p[2]) != 255 or min(p[2]) != 0 for p in lit)
colours = [list(at) for _, at in itertools.groupby(sorted(lit, key=lambda p: p[2]), key=lambda p: p[2])]
scale = int(next((a for a in sys.argv[3:] if a.isdigit()), 1))
sizes = [[max(p[k] for p in at) - min(p[k] for p in at) + 1 for k in (0, 1)] for at in colours] or [[0, 0]]
spread = sum(max(size) > 14 * scale for size in sizes)
# The overlay's numbers: glyphs as rows of dots from the left in bits 4 to 0; the labels' are not read.
FONT = dict(zip(map(bytes.fromhex, "0e11131519110e 040c040404040e 0e11010204081f 1f02040201110e 02060a121f0202 1f101e0101110e "
                 "0608101e11110e 1f010204080808 0e11110e11110e 0e11110f01020c 00000000000c0c 18190204081303".split()), "0123456789.%"))
dot, top = 2 * scale, height - 10 * scale - 34 * scale
glyph = lambda line, cell: bytes(sum(16 >> c for c in range(5) if (10 * scale + (6 * cell + c) * dot,
                                                               top + (10 * line + r) * dot) in overlay) for r in range(7))
read = lambda line: "".join(FONT.get(glyph(line, cell), "?" if any(glyph(line, cell)) else " ") for cell in range(16))
numbers = re.fullmatch(r"\?{4} (\d+\.\d) *\n\?{5} (\d+)% *", read(0) + "\n" + read(1)) or [read(0) + "/" + read(1)]
fps = sys.argv[2] == "exact" and "fps" in sys.argv[3:]  # the overlay wanted
problems = [text for failed, text in [
    (len(lit) < 50, f"only {len(lit)} lit pixels"),
    (abs(min(xs) + max(xs) - width) > width / 5 or abs(min(ys) + max(ys) - height) > height / 5 or
     min(xs) == 0 or min(ys) == 0 or max(xs) == width - 1 or max(ys) == height - 1, f"{box}: off centre or cut off"),
    (sys.argv[2] == "exact" and off_rim > 0, f"{off_rim} of {len(lit)} lit pixels are off the colour cube's rim"),
    (sys.argv[2] == "exact" and spread > 0, f"{spread} colours spread wider than one disc's fill of {14 * scale}"),
    (sys.argv[2] == "exact" and max(sizes)[0] != 14 * scale,
     f"the widest disc fill is {max(sizes)[0]} pixels, not {14 * scale}"),
    (fps != bool(overlay) or overlay and
     (min(p[0] for p in overlay) != 10 or max(p[1] for p in overlay) != height - 11),
     f"{len(overlay)} white pixels, {min(overlay, default=None)} the first"),
    (fps and isinstance(numbers, list), f"the overlay reads {numbers[0]!r}"),
] if failed]
print("; ".join(problems) or box + (f", FPS {numbers[1]} Load {numbers[2]}" if fps else ""))
sys.exit(1 if problems else 0)
