"""vimra under COUNT random command lines (very long, empty, non-ASCII and
control-character arguments among them): each refused at once (status 1, a
line naming the problem, then the usage line), answered (status 0: --help,
--version), or accepted and drawing until SIGTERM (then status 0); never a
crash, nothing on stderr but a refusal. A line of valid words is accepted;
one that ends in --help or --version is answered; one with a bad word at
the end, or a random word at the start, is refused (of two windows or
displays the last counts). Arguments: VIMRA COUNT ROOT_WINDOW_ID DISPLAY16
(a display 16 bits deep); VIMRA_START_SECONDS: how long an accepted line
runs before SIGTERM (a SIGTERM before main cannot be caught); every other end is
awaited 10 s, a bound for hangs wide enough for a sanitizer build on a busy machine."""
import multiprocessing.pool
import os
import random
import re
import subprocess
import sys

vimra, count, root, depth16 = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]


words = lambda text: [word.split("|") for word in text.split()]  # words apart, an option and its value joined by '|'
VALID = words(f"--root -root --window -window --fps -fps --scale|1 -scale|8 --window-id|{root} -window-id|{int(root, 16)}")
REFUSED = words(f"--scale|0 -scale|9 --scale|10 --window-id|0 -window-id|0x --window-id|0x100000000 --window-id|12abc "
                f"--display -window-id -scale ---root --Root root - -- --fps=1 --héllo 日本 --window-id|0x1ffffff0 "
                f"-window-id|536870896 --display|:9999 -display|{depth16}") + [[""], ["--scale", ""], ["-" + "x" * 100000]]


def command_line(rng):
    """A random line and what vimra must do with it."""
    kind = rng.choices(["accepted", "answered", "refused"], [1, 4, 195])[0]
    last = {"accepted": [], "answered": [rng.choice(words("--help -help --version -version"))],
            "refused": [rng.choice(REFUSED)]}[kind]
    line = rng.choices(VALID, k=rng.randint(0, 3)) + last
    if kind == "refused" and rng.random() < 0.5:
        line.insert(0, ["".join(chr(rng.randint(1, 0x2FF)) for _ in range(rng.randint(0, 12)))])
    return kind, [vimra] + sum(line, [])


def outcome(kind, argv):
    """What vimra did with the line: the kinds its output fits, and its status. A hang after SIGTERM raises."""
    process = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    try:
        out, err = process.communicate(timeout=float(os.environ["VIMRA_START_SECONDS"]) if kind == "accepted" else 10)
        if f"vimra: cannot open display '{os.environ['DISPLAY']}'".encode() in err:
            return outcome(kind, argv)  # the server drops a few of many connections made at once: again
        fits = {"refused": not out and re.fullmatch(rb"vimra: [^\n]*\nusage: vimra [^\n]*\n", err),
                "answered": not err and re.match(rb"usage: vimra |vimra 1\.0\n$", out)}
    except subprocess.TimeoutExpired:
        process.terminate()
        out, err = process.communicate(timeout=10)
        fits = {"accepted": not out + err}
    return " ".join(fit for fit, seen in fits.items() if seen) + f", status {process.returncode}", err


lines = [command_line(random.Random(seed)) for seed in range(count)]
outcomes = multiprocessing.pool.ThreadPool(4).map(lambda line: outcome(*line), lines)
wrong = [(kind, argv, got, err) for (kind, argv), (got, err) in zip(lines, outcomes) if got != f"{kind}, status {int(kind == 'refused')}"]
for kind, argv, got, err in wrong[:10]:
    print(f"FAIL: {[a[:40] for a in argv[1:]]}: {kind} expected, got {got}: {err[:300]!r}")
print(f"{count} random command lines, {sum(kind == 'accepted' for kind, _ in lines)} accepted: {len(wrong)} wrong")
sys.exit(1 if wrong else 0)
