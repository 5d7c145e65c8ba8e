# Front door. Everything real lives in CMake (CMakePresets.json) and scripts/.
.PHONY: all bootstrap build build-native build-win32 build-sanitize test test-native test-win32 test-sanitize run render bench soak clean

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

# The animation's CPU work per frame, then the whole saver against the floor
# program at 1920x1080 under Wine + Xvfb (about 3 minutes).
bench: build
	build/native/animation_bench
	scripts/bench-process

# Thirty minutes of the saver full screen, with a report in build/soak-report.txt.
soak: build-win32
	scripts/soak --seconds 1800 --interval 30 --report build/soak-report.txt

clean:
	rm -rf build
