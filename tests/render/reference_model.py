# A second, independent model of the whole animation (shapes, morph, schedule,
# transform, depth order, colours), written afresh from the published rules in
# plain Python, that prints the same draw log as vimra-render:
#   reference_model.py T FRAMES WIDTH HEIGHT
# Floats are rounded to single precision with struct wherever a value is stored.
import math, struct, sys
def f32(v): return struct.unpack('f', struct.pack('f', v))[0]
kPi = 3.1415926535897323
def rad(a): return (a * kPi) / 180
T, N, W, H = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
def tdiv(a, b):  # truncating integer division
    q = abs(a) // abs(b); return q if (a >= 0) == (b >= 0) else -q
st = {'rand': 1, 'wave': 0, 'coil': 0.0, 'twist': 0, 'tstep': 2}
pts = [(0.0, 0.0, 0.0)] * 600
def nxt():
    st['rand'] = (st['rand'] * 214013 + 2531011) % 2**32
    return (st['rand'] >> 16) & 0x7FFF
dw = dh = 16
def gen(k):
    global pts
    P = []
    if k == 0:
        x0 = tdiv(-119 * dw, 4); y0 = -(tdiv(15 * dh, 2) + dh)
        for i in range(15):
            for j in range(40):
                P.append((x0 + 1.5 * (j * dw), y0 + 1.5 * (i * dh), math.sin(rad(15 * (i + j + st['wave']))) * dw))
        st['wave'] += 1
        if 15 * st['wave'] > 360: st['wave'] = 0
    elif k == 1:
        for g in range(3):
            for f in range(2):
                Pl = -7 * dw if f == 0 else 6 * dw
                for a in range(10):
                    for b in range(10):
                        if g == 0: P.append(((a - 5) * dw, (b - 5) * dh, Pl))
                        elif g == 1: P.append((Pl, (a - 5) * dw, (b - 5) * dh))
                        else: P.append(((a - 5) * dw, Pl, (b - 5) * dh))
    elif k == 2:
        phi = st['coil']
        for n in range(600):
            R = math.sin(rad(phi)) * 15 + 100
            P.append((math.sin(rad(10 * n)) * R, math.cos(rad(10 * n)) * R, n - 300))
            phi = f32(phi + 1.5)
        st['coil'] = f32(st['coil'] + 10)
        if st['coil'] >= 360: st['coil'] = 0.0
    elif k == 3:
        for L in range(25):
            z = -18.5 * dw + (1.5 * L) * dw
            for s in range(4):
                for kk in range(6):
                    if s == 0: x, y = -5 * dw + 1.5 * (kk * dw), -5 * dh
                    elif s == 1: x, y = 4 * dw, -5 * dh + 1.5 * (kk * dh)
                    elif s == 2: x, y = 4 * dw - 1.5 * (kk * dw), 4 * dh
                    else: x, y = -5 * dw, 4 * dh - 1.5 * (kk * dh)
                    P.append((f32(x), f32(y), f32(z)))
        d = st['twist']; Q = []
        for n, (x, y, z) in enumerate(P):
            L = n // 24
            th = rad(d) - rad(L * d) / 12
            Q.append((math.cos(th) * x - math.sin(th) * y, math.cos(th) * y + math.sin(th) * x, z))
        P = Q
        st['twist'] += st['tstep']
        if st['twist'] > 45 or st['twist'] < -45: st['tstep'] = -st['tstep']
    elif k == 4:
        for m in range(6):
            for a in range(2):
                for b in range(2):
                    for t in range(25):
                        P.append([(-a * dw, (t - 26) * dh, -b * dw), ((25 - t) * dw, -a * dh, -b * dw),
                                  (-a * dw, -b * dw, (25 - t) * dh), ((t - 26) * dw, -a * dh, -b * dw),
                                  (-a * dw, -b * dw, (t - 26) * dh), (-a * dw, (25 - t) * dh, -b * dw)][m])
    elif k == 5:
        for i in range(25):
            u = ((i * 14.4) * kPi) / 180
            for j in range(24):
                v = rad(15 * j)
                P.append(((math.cos(v) * 70 + 200) * math.cos(u), (math.cos(v) * 70 + 200) * math.sin(u), math.sin(v) * 70))
    else:
        return
    pts = [(f32(a), f32(b), f32(c)) for a, b, c in P]
def matmul(m, o):
    return [[f32(((m[i][0] * o[0][j] + m[i][1] * o[1][j]) + m[i][2] * o[2][j]) + m[i][3] * o[3][j]) for j in range(4)] for i in range(4)]
def ident(): return [[1.0 if i == j else 0.0 for j in range(4)] for i in range(4)]
def rot(axis, r):
    s = f32(math.sin(r)); c = f32(math.cos(r)); o = ident()
    if axis == 'x': o[1][1] = c; o[1][2] = s; o[2][1] = -s; o[2][2] = c
    if axis == 'y': o[0][0] = c; o[0][2] = -s; o[2][0] = s; o[2][2] = c
    if axis == 'z': o[0][0] = c; o[0][1] = s; o[1][0] = -s; o[1][1] = c
    return o
# colour cycler
def wheel(c, s):
    r, g, b = c
    if r <= 254 and g <= 0 and b >= 255: r += s
    elif r >= 255 and g <= 0 and b >= 1: b -= s
    elif r >= 255 and g <= 254 and b <= 0: g += s
    elif r >= 1 and g >= 255 and b <= 0: r -= s
    elif r <= 0 and g >= 255 and b <= 254: b += s
    elif r <= 0 and g >= 1 and b >= 255: g -= s
    return tuple(min(255, max(0, v)) for v in (r, g, b))
base = (255, 0, 0)
clock = T
# creation
angle = 0.0
shapeClock = clock; morph = 10000
st['twist'] = 0; st['tstep'] = 2; st['coil'] = 0.0
st['rand'] = clock % 2**32
cur = nxt() % 6
gen(cur)
mfrom = mto = None
out = sys.stdout
for k in range(1, N + 1):
    clock = T + (50 * k) // 1000
    if float(clock - shapeClock) > 10:
        shapeClock = clock
        kk = nxt() % 6
        while kk == cur: kk = nxt() % 6
        st['twist'] = 0
        mfrom = list(pts); gen(kk); mto = list(pts)
        morph = 0; cur = kk
    if morph == 10000:
        gen(cur)
    else:
        pts = [tuple(f32(a + (morph * (b - a)) / 80) for a, b in zip(p, q)) for p, q in zip(mfrom, mto)]
        morph += 1
        if morph == 80: morph = 10000; shapeClock = clock
    m = ident()
    m = matmul(m, ident())  # scale 1
    angle = f32(angle + 1.5)
    if angle >= 360: angle = f32(angle - 360)
    r = f32(rad(angle))
    m = matmul(m, rot('x', r)); m = matmul(m, rot('y', r)); m = matmul(m, rot('z', r))
    t = ident(); t[3][0] = float(tdiv(W, 2)); t[3][1] = float(tdiv(H, 2)); m = matmul(m, t)
    scr = []
    for x, y, z in pts:
        tx = f32(((x * m[0][0] + y * m[1][0]) + z * m[2][0]) + m[3][0])
        ty = f32(((x * m[0][1] + y * m[1][1]) + z * m[2][1]) + m[3][1])
        tz = f32(((x * m[0][2] + y * m[1][2]) + z * m[2][2]) + m[3][2])
        scr.append((int(tx), int(ty), int(tz)))
    order = sorted(range(600), key=lambda i: scr[i][2])
    base = wheel(base, 10); pc = base
    lines = []
    for i in order:
        x, y, _ = scr[i]
        l = x - 8; tp = y - 8
        lines.append('%d %d %d %d %d %d\n' % (k, l, tp, l + 16, tp + 16, pc[0] | pc[1] << 8 | pc[2] << 16))
        pc = wheel(pc, 1)
    out.write(''.join(lines))
