# An independent model of the whole animation (shapes, morph, schedule,
# transform, depth order, colours), written from the published rules in plain
# Python, compared line by line with vimra-render's draw log:
#   model.py VIMRA_RENDER --time T --frames N --size WxH --tick-ms MS
# Python floats are doubles; f32 rounds to single precision wherever a value
# is stored in a float.
import array
import itertools
import math
import subprocess
import sys

PI = 3.1415926535897323
W = H = 16  # disc size in pixels, the grid unit of four shapes


def f32(*values):  # one value, or a list of several
    rounded = array.array('f', values).tolist()
    return rounded if len(rounded) > 1 else rounded[0]


def rad(degrees):
    return (degrees * PI) / 180


def next_random():
    global seed
    seed = (seed * 214013 + 2531011) % 2**32
    return (seed >> 16) & 0x7FFF


def wave_sheet():
    global wave
    x0, y0 = -119 * W // 4, -(15 * H // 2 + H)  # both divisions exact
    points = [(x0 + 1.5 * (j * W), y0 + 1.5 * (i * H), math.sin(rad(15 * (i + j + wave))) * W)
              for i in range(15) for j in range(40)]
    wave = 0 if 15 * (wave + 1) > 360 else wave + 1
    return points


def box():
    grid = [((a - 5) * W, (b - 5) * H) for a in range(10) for b in range(10)]
    return [[(u, v, p), (p, u, v), (u, p, v)][group] for group in range(3) for p in (-7 * W, 6 * W) for u, v in grid]


def coil():
    global coil_phase
    points, phi = [], coil_phase
    for n in range(600):
        radius = math.sin(rad(phi)) * 15 + 100
        points.append((math.sin(rad(10 * n)) * radius, math.cos(rad(10 * n)) * radius, n - 300))
        phi = f32(phi + 1.5)
    coil_phase = f32(coil_phase + 10)
    coil_phase = 0.0 if coil_phase >= 360 else coil_phase
    return points


def tower():
    global twist, twist_step
    # a ring: the outline of a square walked side by side from the corner (-5W, -5H), in whole pixels
    square = [[(-5 * W + 1.5 * (k * W), -5 * H), (4 * W, -5 * H + 1.5 * (k * H)), (4 * W - 1.5 * (k * W), 4 * H),
               (-5 * W, 4 * H - 1.5 * (k * H))][side] for side in range(4) for k in range(6)]
    turns = [rad(twist) - rad(ring * twist) / 12 for ring in range(25)]  # ring 0 by +twist, ring 24 by -twist
    twist += twist_step
    twist_step = -twist_step if abs(twist) > 45 else twist_step
    return [(math.cos(t) * x - math.sin(t) * y, math.cos(t) * y + math.sin(t) * x, -18.5 * W + (1.5 * ring) * W)
            for ring, t in enumerate(turns) for x, y in square]


def axis_cross():  # arms along -y, +x, +z, -x, -z, +y, each walked from its far end
    return [[(-a * W, (t - 26) * H, -b * W), ((25 - t) * W, -a * H, -b * W), (-a * W, -b * W, (25 - t) * H),
             ((t - 26) * W, -a * H, -b * W), (-a * W, -b * W, (t - 26) * H), (-a * W, (25 - t) * H, -b * W)][arm]
            for arm in range(6) for a in range(2) for b in range(2) for t in range(25)]


def torus():
    return [((math.cos(v) * 70 + 200) * math.cos(u), (math.cos(v) * 70 + 200) * math.sin(u), math.sin(v) * 70)
            for u in [((i * 14.4) * PI) / 180 for i in range(25)] for v in [rad(15 * j) for j in range(24)]]


def times(m, o):  # m x o, each element summed in double in order, stored as float
    return [[f32(((m[i][0] * o[0][j] + m[i][1] * o[1][j]) + m[i][2] * o[2][j]) + m[i][3] * o[3][j])
             for j in range(4)] for i in range(4)]


def identity():
    return [[float(i == j) for j in range(4)] for i in range(4)]


def turn(a, b, radians):  # a turn in the plane of axes a and b
    sin, cos = f32(math.sin(radians)), f32(math.cos(radians))
    o = identity()
    o[a][a], o[a][b], o[b][a], o[b][b] = cos, sin, -sin, cos
    return o


def wheel(colour, step):  # one step along the rim of the colour cube, then the clamp
    r, g, b = colour
    legs = [(r <= 254 and g <= 0 and b >= 255, (step, 0, 0)),  # blue towards magenta
            (r >= 255 and g <= 0 and b >= 1, (0, 0, -step)),  # magenta towards red
            (r >= 255 and g <= 254 and b <= 0, (0, step, 0)),  # red towards yellow
            (r >= 1 and g >= 255 and b <= 0, (-step, 0, 0)),  # yellow towards green
            (r <= 0 and g >= 255 and b <= 254, (0, 0, step)),  # green towards cyan
            (r <= 0 and g >= 1 and b >= 255, (0, -step, 0))]  # cyan towards blue
    move = next((move for holds, move in legs if holds), (0, 0, 0))  # the first leg that holds
    return tuple(min(255, max(0, c + d)) for c, d in zip(colour, move))


def draw_log(start, frames, width, height, tick_ms):
    global seed, wave, coil_phase, twist, twist_step
    wave, coil_phase, twist, twist_step, seed = 0, 0.0, 0, 2, start
    shape_clock, morph, angle, base = start, None, 0.0, (255, 0, 0)  # morph: None while no morph runs
    shape = next_random() % 6
    generators = [wave_sheet, box, coil, tower, axis_cross, torus]
    points = [f32(*p) for p in generators[shape]()]
    for k in range(1, frames + 1):
        clock = start + (tick_ms * k) // 1000
        if float(clock - shape_clock) > 10:
            shape_clock, twist, target = clock, 0, next_random() % 6
            while target == shape:
                target = next_random() % 6
            morph_from, morph_to = points, [f32(*p) for p in generators[target]()]
            morph, shape = 0, target
        if morph is None:
            points = [f32(*p) for p in generators[shape]()]
        else:
            points = [f32(*(a + (morph * (b - a)) / 80 for a, b in zip(p, q))) for p, q in zip(morph_from, morph_to)]
            morph, shape_clock = (None, clock) if morph + 1 == 80 else (morph + 1, shape_clock)
        angle = f32(angle + 1.5)  # all three angles alike
        angle = f32(angle - 360) if angle >= 360 else angle
        m, shift = identity(), identity()
        for a, b in ((1, 2), (2, 0), (0, 1)):  # about x, then y, then z
            m = times(m, turn(a, b, f32(rad(angle))))
        shift[3][:2] = float(width // 2), float(height // 2)
        m = times(m, shift)
        screen = [[int(c) for c in f32(*(((x * m[0][j] + y * m[1][j]) + z * m[2][j]) + m[3][j] for j in range(3)))]
                  for x, y, z in points]
        base = colour = wheel(base, 10)
        for x, y, _ in sorted(screen, key=lambda p: p[2]):
            yield f'{k} {x - 8} {y - 8} {x + 8} {y + 8} {colour[0] | colour[1] << 8 | colour[2] << 16}'
            colour = wheel(colour, 1)


options = dict(zip(sys.argv[2::2], sys.argv[3::2]))  # --time T --frames N --size WxH --tick-ms MS
width, height = map(int, options['--size'].split('x'))
want = draw_log(int(options['--time']), int(options['--frames']), width, height, int(options['--tick-ms']))
got = subprocess.run(sys.argv[1:] + ['--draw-log'], stdout=subprocess.PIPE, text=True, check=True, timeout=120)
for line, (model, renderer) in enumerate(itertools.zip_longest(want, got.stdout.splitlines()), 1):
    if model != renderer:
        sys.exit(f'draw log line {line}: model {model!r}, vimra-render {renderer!r}')
print(f'draw log: the {line} discs of {options["--frames"]} ticks drawn as the model draws them')
