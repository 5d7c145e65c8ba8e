# Front door. Everything real lives in CMake (CMakePresets.json) and scripts/.
.PHONY: all bootstrap build build-native build-win32 build-sanitize wine-prefixes test test-native test-sanitize \
  test-win32 test-host test-e2e test-package run render docs bench soak soak-x11 fuzz loc mutants deb dist clean
# A target whose recipe fails leaves no file behind (the package, when lintian refuses it).
.DELETE_ON_ERROR:

# The project's one version number, from CMakeLists.txt's project().
VERSION := $(shell sed -n 's/^project(Vimra VERSION \([^ )]*\).*/\1/p' CMakeLists.txt)
DEB := build/deb/vimra_$(VERSION)_$(shell dpkg --print-architecture).deb
# Installing the package for a while (the chooser test, make docs) takes root.
AS_ROOT := $(if $(filter 0,$(shell id -u)),,sudo)

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

build-sanitize: bootstrap
	cmake --preset sanitize >/dev/null
	cmake --build --preset sanitize

# The Wine prefixes of the Windows tests, made once so that no timed test
# pays for one: the host tests' and, a copy of it, the end-to-end test's.
wine-prefixes: bootstrap
	scripts/wine-prefix build/win32/wineprefix
	scripts/wine-prefix build/win32/tests/e2e/wineprefix build/win32/wineprefix

# Every build and every test, side by side where two cores allow it
# (scripts/stages: its plan, logs in build/stages/, a table of times at the
# end): native unit and X11 tests, the same under ASan/UBSan, the Windows
# tests under Wine, the Debian package (lintian in make deb) installed for a
# while and run by both Linux choosers.
test:
	@scripts/stages

test-native: build-native
	ctest --preset native

test-sanitize: build-sanitize
	ctest --preset sanitize

# The Windows tests under Wine, each on a virtual screen of its own (they
# send input) and in a prefix of its own, so the two can run side by side:
# the host's procedures in real windows, and the built vimra.scr end to end.
test-win32: test-host test-e2e

test-host: build-win32 wine-prefixes
	env -u DISPLAY ctest --preset win32 -L host

test-e2e: build-win32 wine-prefixes
	env -u DISPLAY ctest --preset win32 -L e2e

test-package: deb
	$(AS_ROOT) tests/package/chooser_test.sh $(DEB)

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
# Then xscreensaver-settings previewing the installed package.
docs: build-native deb
	rm -rf build/docs && mkdir -p build/docs
	build/native/vimra-render --time 1 --frames 304 --size 1100x1100 --png build/docs/f%03d.png
	convert -delay 5 -loop 0 build/docs/f2[2-9]?.png build/docs/f30[0-4].png -resize 330x330 \
	  -layers Optimize docs/morph.gif
	$(AS_ROOT) bash -c '. scripts/chooser-session $(DEB) && import -window "$$settings_window" docs/xscreensaver-settings.png'

# The animation's CPU work per frame; the whole saver against the floor
# program at 1920x1080 and 3840x2160 under Wine + Xvfb, on two monitors
# against one (Xorg's dummy driver: root); the XScreenSaver hack against
# bouboule at 1920x1080 in Xvfb (about 6 minutes in all).
bench: build
	build/native/animation_bench
	scripts/bench-process
	scripts/bench-x11

# The Debian package of the hack, built from a copy of the tracked files (so it
# never mixes with build/native), held to lintian's errors and warnings and to
# the hardening that hardening=+all asks of bookworm's compiler: PIE, RELRO,
# BIND_NOW, FORTIFY and the stack protector (it adds no -fcf-protection); MATE's
# entry to desktop-file-validate, which lintian leaves out in that folder. The
# program's symbols must be in the -dbgsym package beside it.
deb: bootstrap $(DEB)

# Built again only when a tracked file has changed.
$(DEB): $(wildcard $(shell git ls-files))
	rm -rf build/deb && mkdir -p build/deb/vimra-$(VERSION)
	git ls-files -z | tar --null -T - -cf - | tar -xf - -C build/deb/vimra-$(VERSION)
	cd build/deb/vimra-$(VERSION) && dpkg-buildpackage -b -us -uc
	lintian --fail-on error,warning $(DEB)
	dpkg-deb -x $(DEB) build/deb/root
	hardening-check --nocfprotection build/deb/root/usr/libexec/xscreensaver/vimra
	desktop-file-validate build/deb/root/usr/share/applications/screensavers/vimra.desktop
	test -s $(subst /vimra_,/vimra-dbgsym_,$(DEB))

# What a release publishes: the package, the Windows saver with its install
# steps and the licence (text files with Windows line ends), and their checksums.
dist: deb build-win32
	rm -rf build/dist && mkdir -p build/dist/windows
	cp $(DEB) build/dist/
	cp docs/windows-README.txt build/dist/windows/README.txt
	cp LICENSE build/dist/windows/
	cd build/dist && zip -q -X -j vimra-$(VERSION)-windows.zip ../win32/vimra.scr && \
	  zip -q -X -j -l vimra-$(VERSION)-windows.zip windows/README.txt windows/LICENSE && \
	  rm -r windows && sha256sum *.deb *.zip >SHA256SUMS
	cat build/dist/SHA256SUMS

# Thirty minutes of the saver full screen, with a report in build/soak-report.txt.
soak: build-win32 wine-prefixes
	cd build/win32/tests/e2e && VIMRA_SOAK_SECONDS=1800 VIMRA_WINE_PREFIX=$$PWD/wineprefix env -u DISPLAY \
	    ../../wine-run ./vimra_e2e.exe >$(CURDIR)/build/soak-report.txt 2>&1; \
	  status=$$?; \
	  cat $(CURDIR)/build/soak-report.txt; \
	  exit $$status

# vimra under the xscreensaver daemon for SOAK_SECONDS (an hour unless given):
# every 30 s the screen checked and the memory of vimra and of its X server
# sampled, neither allowed to grow by 64 KB (the rest of the hack's tests too,
# without the random command lines).
SOAK_SECONDS ?= 3600
soak-x11: build-native
	cd build && VIMRA_COMMAND_LINES=0 VIMRA_SOAK_SECONDS=$(SOAK_SECONDS) ../tests/x11/hack_test.sh native/vimra native/tests/x11/window_copy_test

# The hack's random command lines at full length: 20,000 in the native build,
# 2,000 under the sanitizers (the rest of its tests too, without the soak).
fuzz: build-native build-sanitize
	cd build && VIMRA_COMMAND_LINES=20000 VIMRA_SOAK_SECONDS=0 ../tests/x11/hack_test.sh native/vimra native/tests/x11/window_copy_test
	cd build && VIMRA_COMMAND_LINES=2000 ../tests/x11/hack_test.sh sanitize/vimra sanitize/tests/x11/window_copy_test

# Lines of test code against all other code, counted by cloc over the tracked
# files. Test code is everything under tests/ and every script whose only job
# is to run tests; the configured .in scripts are counted as the shell they are.
TEST_SCRIPTS := scripts/mutants scripts/emulate-32bit cmake/wine-run.in
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
