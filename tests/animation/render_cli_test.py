# vimra-render's command line as a user meets it, each run in an empty folder:
#   render_cli_test.py VIMRA_RENDER
import os
import shlex
import subprocess
import sys
import tempfile

BAD = [  # each: exit status 2, one line on stderr, nothing on stdout, no file
    '--time', '--time 4294967296', '--time -1', '--time +5', "--time ''", '--time 12a', '--time=5', '--time 1 --time 1',
    '--time 1 --time 2', '--draw-log --draw-log', '--frames', '--frames -1', '--frames 1000001', '--frames 0x10',
    '--size 0x768', '--size 0x5', '--size 1024x0', '--size 16385x10', '--size 1024', '--size x768', '--size 1024x',
    '--size 1024x768x2', '--size 1024X768', '--size 0000001024x768', '--tick-ms 0', '--tick-ms 3600001', '--tick-ms',
    '--tick-ms 1 --tick-ms 1', '--png frame.png', '--png %d-%d.png', '--png %s.png', '--png %5d.png', '--png %%d.png',
    '--png %0d.png', '--png %-4d.png', '--bogus', 'frames', '-t 1', '--frames 2 --png f%d.png --size 10',
]
RUNS = [(args, 2, 0, 1, []) for args in BAD] + [  # arguments, exit status, stdout and stderr lines, files
    ('--time 1 --frames 3 --size 640x480 --draw-log --png f-%03d.png', 0, 1800, 0,
     ['f-001.png', 'f-002.png', 'f-003.png']),
    ('--time 5 --frames 0 --draw-log', 0, 0, 0, []),
    ('--time 0 --frames 1 --size 1x16384 --tick-ms 1', 0, 0, 0, []),
    # accepted at every limit: the first frame's file fails, not the arguments
    ('--time 4294967295 --frames 1000000 --size 16384x1 --tick-ms 3600000 --png none/%d.png', 1, 0, 1, []),
]

for args, status, out_lines, err_lines, files in RUNS:
    with tempfile.TemporaryDirectory() as folder:
        run = subprocess.run([sys.argv[1], *shlex.split(args)], cwd=folder, capture_output=True, text=True, timeout=60)
        got = (run.returncode, run.stdout.count('\n'), run.stderr.count('\n'), sorted(os.listdir(folder)))
        ends = run.stdout[-1:] + run.stderr[-1:]  # every line ends in a newline
        sizes = {open(os.path.join(folder, name), 'rb').read(24)[12:] for name in got[3]}  # PNG: IHDR, width, height
        if got != (status, out_lines, err_lines, files) or ends.strip('\n') or sizes - {b'IHDR\0\0\2\x80\0\0\1\xe0'}:
            sys.exit(f'{args}: status, lines on stdout and stderr, files {got}; stderr {run.stderr!r}')
print(f'vimra-render: {len(RUNS)} command lines, each with the status, output lines and files wanted')
