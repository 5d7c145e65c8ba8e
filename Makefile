# Front door. Everything real lives in CMake (CMakePresets.json) and scripts/.
.PHONY: all bootstrap build build-native build-win32 build-sanitize test test-native test-win32 test-sanitize run render docs bench soak soak-x11 loc mutants clean

all: build

bootstrap:
	@scripts/bootstrap

build: build-native build-win32

build-native: bootstrap
	cmake --preset native >/dev/null
	cmake --build --preset native

build-win32: bootstrap
	cmake --preset win32 >/dev/null
	cmake --build --preset win32
	scripts/wine-prefix build/win32/wineprefix

build-sanitize: bootstrap
	cmake --preset sanitize >/dev/null
	cmake --build --preset sanitize

# Every test of every build: native unit tests, the same under ASan/UBSan,
# then the Windows unit and end-to-end tests under Wine (serially: they share
# one Wine prefix and one virtual screen).
test: build build-sanitize
	ctest --preset native
	ctest --preset sanitize
	scripts/with-display ctest --preset win32 -j1

test-native: build-native
	ctest --preset native

test-sanitize: build-sanitize
	ctest --preset sanitize

test-win32: build-win32
	scripts/with-display ctest --preset win32 -j1

# The saver full screen under Wine: on your display, or in a virtual one
# (leaving a screenshot) when there is none.
run: build
	scripts/run-saver

# A short animation as PNGs, without Windows or Wine.
render: build-native
	mkdir -p build/frames
	build/native/vimra-render --frames 100 --png build/frames/frame-%04d.png
	@echo "vimra-render: 100 frames in build/frames/"

# The README's animated morph: seed 1 picks its first new shape at tick 220 and
# morphs until tick 299; shown at 20 frames a second, a third of its size.
docs: build-native
	rm -rf build/docs && mkdir -p build/docs
	build/native/vimra-render --time 1 --frames 304 --size 1100x1100 --png build/docs/f%03d.png
	convert -delay 5 -loop 0 build/docs/f2[2-9]?.png build/docs/f30[0-4].png -resize 330x330 \
	  -layers Optimize docs/morph.gif

# The animation's CPU work per frame; the whole saver against the floor
# program at 1920x1080 under Wine + Xvfb; the XScreenSaver hack against
# bouboule at 1920x1080 in Xvfb (about 6 minutes in all).
bench: build
	build/native/animation_bench
	scripts/bench-process
	scripts/bench-x11

# Thirty minutes of the saver full screen, with a report in build/soak-report.txt.
soak: build-win32
	cd build/win32/tests/e2e && VIMRA_SOAK_SECONDS=1800 env -u DISPLAY $(CURDIR)/scripts/with-display ./e2e-run \
	    ./vimra_e2e.exe >$(CURDIR)/build/soak-report.txt 2>&1; \
	  status=$$?; \
	  cat $(CURDIR)/build/soak-report.txt; \
	  exit $$status

# vimra under the xscreensaver daemon for SOAK_SECONDS (an hour unless given):
# every 30 s the screen checked and the memory of vimra and of its X server
# sampled, neither allowed to grow by 64 KB (the rest of the hack's tests too,
# without the random command lines).
SOAK_SECONDS ?= 3600
soak-x11: build-native
	cd build && VIMRA_COMMAND_LINES=0 VIMRA_SOAK_SECONDS=$(SOAK_SECONDS) ../tests/x11/hack_test.sh native/vimra

# Lines of test code against all other code, counted by cloc over the tracked
# files. Test code is everything under tests/ and every script whose only job
# is to run tests; the configured .in scripts are counted as the shell they are.
TEST_SCRIPTS := scripts/with-display scripts/mutants cmake/wine-run.in
loc: bootstrap
	@mkdir -p build
	@git ls-files tests $(TEST_SCRIPTS) >build/loc-tests.txt
	@git ls-files | grep -v -x -F -f build/loc-tests.txt >build/loc-code.txt
	@t=$$(cloc --quiet --csv --force-lang="Bourne Again Shell",in --list-file=build/loc-tests.txt | awk -F, '$$2 == "SUM" { print $$5 }'); \
	 c=$$(cloc --quiet --csv --force-lang="Bourne Again Shell",in --list-file=build/loc-code.txt | awk -F, '$$2 == "SUM" { print $$5 }'); \
	 awk -v t="$$t" -v c="$$c" 'BEGIN { printf "tests %d, code %d, ratio %.3f\n", t, c, t / c }'

# Each deliberately broken version of the code in scripts/mutants, applied one
# at a time to a copy of the tree: caught or missed, and by which test.
mutants: bootstrap
	scripts/mutants

clean:
	rm -rf build
