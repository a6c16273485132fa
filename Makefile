# Mivrel — set-up, build, run and test on Debian 12.
#   make run    install what is missing, build (Release) and start the program
#   make test   install what is missing, build and run every test headless
#   make bench  build the benchmarks and print their table (BENCH_ARGS passed on)
#   make fuzz   build the libFuzzer targets with clang and run each FUZZ_SECONDS (60)
#   make fuzz-smoke     the same, 20 s each (CI)
#   make soak SEED=n EVENTS=n   a longer randomized soak of the main window
#   make e2e-stress     every end-to-end check 5 times under a load of two busy processes
#   make e2e-desktops   the window-size checks under KWin and GNOME Shell, headless (installs
#                       those desktops' large packages first; by hand, not in CI)
#   make install        install into $(PREFIX) (default /usr/local)
#   make package        build the Debian package in $(BUILD)/
#   make package-check  build the package and check it (files, Depends, start-up)

BUILD   ?= build
JOBS    ?= $(shell nproc)
PACKAGES := build-essential cmake pkg-config qt6-base-dev libgl-dev libxcb-xkb-dev \
            fonts-ipafont-mincho fonts-ipafont-gothic \
            xvfb xdotool x11-utils imagemagick libbenchmark-dev clang libclang-rt-14-dev \
            file desktop-file-utils \
            openbox wmctrl weston qt6-wayland dbus i3-wm xterm sway grim jq \
            fcitx5 fcitx5-frontend-qt6 fcitx5-anthy fcitx5-mozc ibus ibus-anthy ibus-mozc python3-gi \
            at-spi2-core python3-pyatspi orca speech-dispatcher alsa-utils \
            lintian appstream valgrind
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test e2e-stress e2e-desktops bench fuzz fuzz-smoke fuzz-build soak install package package-check clean
PREFIX ?= /usr/local

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing: $$missing"; \
	    $(SUDO) apt-get update -qq && \
	    DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	    echo "No display found. Run Mivrel on a desktop, or headless with:"; \
	    echo "    xvfb-run -s '-screen 0 1600x1000x24' $(BUILD)/mivrel"; \
	    exit 1; \
	fi
	$(BUILD)/mivrel

test: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j$(JOBS)

e2e-stress: build
	tests/e2e_stress.sh $(BUILD) 5

DESKTOP_PACKAGES := kwin-wayland kwin-style-breeze xwayland gnome-shell python3-gi
e2e-desktops: build
	@$(MAKE) --no-print-directory deps PACKAGES="$(DESKTOP_PACKAGES)"
	tests/e2e_kwin.sh $(BUILD)/mivrel $(BUILD)/tests/shots
	tests/e2e_gnome.sh $(BUILD)/mivrel $(BUILD)/tests/shots

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DMIVREL_BUILD_BENCH=ON -DMIVREL_BUILD_TESTS=OFF
	cmake --build build-bench -j$(JOBS)
	build-bench/bench/run-bench $(BENCH_ARGS)

FUZZ_SECONDS ?= 60
FUZZERS := fuzz_cell_text fuzz_place_text fuzz_tax_check

fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DMIVREL_BUILD_FUZZ=ON -DMIVREL_BUILD_TESTS=OFF
	cmake --build build-fuzz -j$(JOBS) --target mivrel_fuzzers

fuzz: fuzz-build
	fuzz/run-fuzzers.sh $(FUZZ_SECONDS) build-fuzz $(FUZZERS)

fuzz-smoke: fuzz-build
	fuzz/run-fuzzers.sh 20 build-fuzz $(FUZZERS)

SEED   ?= $(shell date +%s)
EVENTS ?= 100000
# Qt Test stops a test function after 300 s unless told otherwise: allow 5 ms
# per event (the Release build needs about 2) and a minute on top.
soak: build
	QT_QPA_PLATFORM=offscreen MIVREL_SOAK_SEED=$(SEED) MIVREL_SOAK_EVENTS=$(EVENTS) \
	    QTEST_FUNCTION_TIMEOUT=$$(( $(EVENTS) * 5 + 60000 )) $(BUILD)/tests/tst_soak

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

package: build
	cd $(BUILD) && cpack -G DEB

package-check: package
	packaging/check-package.sh $$(ls -t $(BUILD)/mivrel_*.deb | head -1)

clean:
	rm -rf $(BUILD) build-asan build-bench build-fuzz
