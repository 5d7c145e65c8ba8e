"""Checks a screenshot (binary PPM) of vimra's cloud: lit pixels whose
bounding box is centred in the picture and clear of its edges. "exact" (the
picture shown 1:1) also wants the discs of one frame as they are drawn:
every lit pixel on the rim of the colour cube, and each colour within one
disc's fill, 14 x 14 pixels inside its black outline, times SCALE (default
1), and the widest that wide: the disc unhidden in front (the 600 discs of a
frame have 600 colours; a disc left over from an earlier frame, one without
its outline or of another size breaks that). "scaled" pixels are averages.
White is no disc's colour: it is the --fps overlay's, wanted 10 pixels from
the left and bottom edges with "exact fps", and nowhere otherwise.
    picture_check.py PPM exact|scaled [SCALE] [fps]"""
import itertools
import re
import sys

data = open(sys.argv[1], "rb").read()
header = re.match(rb"P6\s(\d+)\s(\d+)\s255\s", data)
width, height, pixels = int(header[1]), int(header[2]), data[header.end():]
lit = [(i // 3 % width, i // 3 // width, pixels[i:i + 3]) for i in range(0, 3 * width * height, 3)
       if any(pixels[i:i + 3])]
overlay = [p for p in lit if p[2] == b"\xff\xff\xff"]
lit = [p for p in lit if p[2] != b"\xff\xff\xff"]
xs, ys = [p[0] for p in lit] or [0], [p[1] for p in lit] or [0]
box = f"cloud {min(xs)},{min(ys)}..{max(xs)},{max(ys)} in {width}x{height}"
off_rim = sum(max(p[2]) != 255 or min(p[2]) != 0 for p in lit)
colours = [list(at) for _, at in itertools.groupby(sorted(lit, key=lambda p: p[2]), key=lambda p: p[2])]
fill = 14 * int(next((a for a in sys.argv[3:] if a.isdigit()), 1))
sizes = [[max(p[k] for p in at) - min(p[k] for p in at) + 1 for k in (0, 1)] for at in colours] or [[0, 0]]
spread = sum(max(size) > fill for size in sizes)
problems = [text for failed, text in [
    (len(lit) < 50, f"only {len(lit)} lit pixels"),
    (abs(min(xs) + max(xs) - width) > width / 5 or abs(min(ys) + max(ys) - height) > height / 5 or
     min(xs) == 0 or min(ys) == 0 or max(xs) == width - 1 or max(ys) == height - 1, f"{box}: off centre or cut off"),
    (sys.argv[2] == "exact" and off_rim > 0, f"{off_rim} of {len(lit)} lit pixels are off the colour cube's rim"),
    (sys.argv[2] == "exact" and spread > 0, f"{spread} colours spread wider than one disc's fill of {fill}"),
    (sys.argv[2] == "exact" and max(sizes)[0] != fill, f"the widest disc fill is {max(sizes)[0]} pixels, not {fill}"),
    ((sys.argv[2] == "exact" and "fps" in sys.argv[3:]) != bool(overlay) or overlay and
     (min(p[0] for p in overlay) != 10 or max(p[1] for p in overlay) != height - 11),
     f"{len(overlay)} white pixels, {overlay[:1]} the first"),
] if failed]
print("; ".join(problems) or box)
sys.exit(1 if problems else 0)
