# make run   installs what is missing, builds and opens the program
# make test  installs what is missing, builds and runs every test
# make package     builds the Debian package (build/slatemere-converter_*.deb)
# make install     installs under PREFIX (default /usr/local); DESTDIR is honoured
# make screenshot  redraws docs/window.png, the README's picture of the window
BUILD ?= build
PREFIX ?= /usr/local
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
CTEST_FLAGS ?= --output-on-failure -j2

.PHONY: all deps build run test package install screenshot bench format clean

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
	rm -rf $(BUILD)
