# SPDX-FileCopyrightText: 2026 The Slatemere Converter developers
# SPDX-License-Identifier: MIT

# make run   installs what is missing, builds and opens the program
# make test  installs what is missing, builds and runs every test, then the sanitizer runs
# make test-asan   the unit tests built and run again under AddressSanitizer and UBSan (build-asan/)
# make test-tsan   the several-offices tests on the fake office under ThreadSanitizer (build-tsan/)
# make package     builds the Debian package (build/slatemere-converter_*.deb)
# make install     installs under PREFIX (default /usr/local); DESTDIR is honoured
# make screenshot  redraws docs/window.png, the README's picture of the window
BUILD ?= build
PREFIX ?= /usr/local
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
CTEST_FLAGS ?= --output-on-failure -j2
# The sanitizer builds leave out the real office: its tests are not run there.
SANITIZE_FLAGS = -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSLATE_WITH_UNO=OFF
# Every test but those of the real office, the cluster, the installed tree, the package, the real window and
# the tree's lint, which an instrumented build would not check any better.
ASAN_SKIP = integration|slurm|install|package|smoke|lint
# The tests that run several fake offices at once: the parallel run, the pool and the command line.
# They take seconds, so each runs three times: a race shows only when its threads meet.
# Not the window's run: it hands results over through Qt's event queue, whose locks the sanitizer
# cannot see inside the uninstrumented Qt libraries, so it would report the handover itself.
TSAN_TESTS = ParallelRunTest|SameOutcomeTest|RestartTest|OfficePoolTest|ConvertCommandTest|FailedFileTest

.PHONY: all deps build run test test-asan test-tsan package install screenshot bench format clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found: starting the program under a virtual X server (xvfb-run)."; \
	  xvfb-run -a -s "-screen 0 1024x768x24" $(BUILD)/bin/slatemere-converter; \
	else \
	  $(BUILD)/bin/slatemere-converter; \
	fi

test: build
	cd $(BUILD) && ctest $(CTEST_FLAGS)
	$(MAKE) test-asan test-tsan

test-asan: deps
	@test -f build-asan/build.ninja || \
	  cmake -S . -B build-asan -G Ninja $(SANITIZE_FLAGS) -DSLATE_SANITIZE=address,undefined
	cmake --build build-asan
	cd build-asan && ctest $(CTEST_FLAGS) --no-tests=error -LE '$(ASAN_SKIP)'

test-tsan: deps
	@test -f build-tsan/build.ninja || \
	  cmake -S . -B build-tsan -G Ninja $(SANITIZE_FLAGS) -DSLATE_SANITIZE=thread
	cmake --build build-tsan
	cd build-tsan && ctest $(CTEST_FLAGS) --no-tests=error --repeat until-fail:3 -R '$(TSAN_TESTS)'

package: build
	cmake --build $(BUILD) --target package

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

screenshot: build
	bash scripts/screenshot.sh

bench: build
	bash bench/convert.sh
	bash bench/window.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) build-asan build-tsan
