# make run: build and start Quorvane.  make test: build and run every test.  make package: the .deb.
# Both install the Debian packages they need when they are missing.

SHELL := /bin/bash
JOBS ?= $(shell nproc)
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

BUILD_PACKAGES := cmake make g++ pkg-config qt6-base-dev qt6-serialport-dev libgl-dev libx11-dev libxtst-dev googletest \
	libwayland-dev libxkbcommon-dev qt6-wayland
TEST_PACKAGES := $(BUILD_PACKAGES) clang-format-15 clang-14 libclang-rt-14-dev \
	xvfb xauth openbox xterm xdotool x11-xkb-utils x11-utils x11-xserver-utils locales procps imagemagick socat
# The Debian package and its checks.
PACKAGE_PACKAGES := dpkg-dev file
TEST_PACKAGES += $(PACKAGE_PACKAGES) lintian appstream desktop-file-utils man-db bash-completion
# The Windows cross build and its tests under Wine.
TEST_PACKAGES += g++-mingw-w64-x86-64 wine wine64 zip
# A headless sway (started as nobody through setpriv) with foot terminals, for the Wayland tests.
TEST_PACKAGES += sway foot wtype util-linux

# Installs those of the named Debian packages that are not installed yet.
define install_missing
	@missing=$$(for p in $(1); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing Debian packages:" $$missing; \
		$(SUDO) apt-get update -qq && DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi
endef

.PHONY: deps deps-test build run test test-native test-fuzz format format-check fuzz fuzz-long bench clean
.PHONY: test-win32 windows package test-package

deps:
	$(call install_missing,$(BUILD_PACKAGES))

deps-test:
	$(call install_missing,$(TEST_PACKAGES))

build: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

run: build
	./build/release/ui/quorvane

test: deps-test format-check test-native test-fuzz test-win32 windows test-package
	@echo "All test suites passed."

test-native:
	cmake --preset ci
	cmake --build --preset ci -j $(JOBS)
	ctest --preset ci -j $(JOBS)

# Windows executables from mingw-w64; ctest runs them under Wine, in a private Xvfb, ended straight after.
# Under Wine a test program fails now and then for Wine's own timing (see docs/testing.md): a failed one runs once
# more, and only a second failure fails the run.
test-win32:
	cmake --preset win32
	cmake --build --preset win32 -j $(JOBS)
	cmake --preset ci >/dev/null && cmake --build --preset ci -j $(JOBS) --target e2e_wine_serial_test
	ctest --preset win32 -j $(JOBS) --repeat until-pass:2; status=$$?; \
		tests/win32/wine-session.sh stop build/win32/wine-session.env; \
		exit $$status

# The zip for Windows users: quorvane.exe, quorvane-cli.exe, the README and the licence.
windows: deps-test
	cmake --preset win32-release >/dev/null
	cmake --build --preset win32-release -j $(JOBS) --target quorvane quorvane-cli
	tools/package/make-windows-zip.sh build/win32-release build/win32

# The Windows figures under Wine: start-up against a bare dialog, typing speed at factors 0.
.PHONY: bench-win32
bench-win32: deps-test
	cmake --preset win32-release -DQUORVANE_BUILD_BENCH=ON >/dev/null
	cmake --build --preset win32-release -j $(JOBS) --target bench_win32_startup bench_win32_typing
	tests/win32/wine-run.sh build/win32-release/bench/win32/bench_win32_startup.exe; \
	tests/win32/wine-run.sh build/win32-release/bench/win32/bench_win32_typing.exe; \
	status=$$?; tests/win32/wine-session.sh stop build/win32-release/wine-session.env; exit $$status

# The .deb from the release build (what users run; the ci build carries the sanitizers), in build/release/package.
# Only what the package holds is built (not the benchmarks), and cpack does not build the rest.
package: deps
	$(call install_missing,$(PACKAGE_PACKAGES))
	cmake --preset release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
	cmake --build --preset release -j $(JOBS) --target quorvane boardsim quorvane_package_files
	rm -f build/release/package/quorvane_*.deb
	cd build/release && cpack

# Unpacks the package into a scratch root and checks it: files, programs, manual pages, metadata, lintian.
test-package: package
	tests/package/check-package.sh build/release/package/quorvane_*.deb

FUZZ_SECONDS ?= 5
test-fuzz:
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS) --target fuzz_send_key_sequence fuzz_file_readers
	mkdir -p build/fuzz/corpus build/fuzz/corpus-readers
	set -o pipefail; ./build/fuzz/tests/fuzz/fuzz_send_key_sequence -max_total_time=$(FUZZ_SECONDS) -max_len=256 \
		build/fuzz/corpus tests/fuzz/corpus 2>&1 | tail -n 3
	set -o pipefail; ./build/fuzz/tests/fuzz/fuzz_file_readers -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
		build/fuzz/corpus-readers 2>&1 | tail -n 3

fuzz:
	$(MAKE) test-fuzz FUZZ_SECONDS=600

# Ten million inputs of the keystroke fuzzer (RUNS=... for fewer), not part of make test: UBSan and coverage counters
# alone, the key names from a dictionary, on the corpus that the short runs grow. FUZZ_WORKERS processes share the
# runs and the corpus; their logs are build/fuzz-long/fuzz-<n>.log.
RUNS ?= 10000000
FUZZ_WORKERS ?= 2
fuzz-long:
	cmake --preset fuzz-long >/dev/null
	cmake --build --preset fuzz-long -j $(JOBS) --target fuzz_send_key_sequence
	mkdir -p build/fuzz/corpus
	cd build/fuzz-long && rm -f fuzz-*.log && ./tests/fuzz/fuzz_send_key_sequence -jobs=$(FUZZ_WORKERS) \
		-workers=$(FUZZ_WORKERS) -runs=$$(( $(RUNS) / $(FUZZ_WORKERS) )) -max_len=256 \
		-dict=../../tests/fuzz/key-sequence.dict -print_final_stats=1 ../fuzz/corpus ../../tests/fuzz/corpus \
		>/dev/null 2>&1 || { tail -n 40 fuzz-*.log; exit 1; }
	grep -E '^Done|stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' build/fuzz-long/fuzz-*.log

# clang-format 15 is the first that inserts the braces .clang-format asks for.
CLANG_FORMAT := clang-format-15
FORMAT_FILES = $$(git ls-files '*.cpp' '*.h')
format:
	$(call install_missing,$(CLANG_FORMAT))
	$(CLANG_FORMAT) -i $(FORMAT_FILES)

format-check:
	@$(CLANG_FORMAT) --dry-run --Werror $(FORMAT_FILES) && echo "Formatting is clean."

bench: deps
	cmake --preset release -DQUORVANE_BUILD_BENCH=ON >/dev/null
	cmake --build --preset release -j $(JOBS)
	for b in build/release/bench/bench_*; do echo "== $$b"; $$b; done

# The simulated board in an xterm titled like Tera Term, and Quorvane on samples/: a transfer without hardware.
# Without a display it runs by itself on a private X server and exits 0 only when every word landed.
.PHONY: demo
demo: build
	$(call install_missing,xterm xvfb xauth openbox xdotool imagemagick)
	tools/demo/run-demo.sh build/release

clean:
	rm -rf build
