# SPDX-License-Identifier: GPL-3.0-or-later
# The two commands of the README. Each installs what is missing, configures, builds and then
# starts the program or runs every test.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: deps configure build run test bench bench-large package clean format

deps:
	@scripts/install-deps

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/quillery

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 ctest --output-on-failure -j $(JOBS)

bench: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target quillery-bench
	$(BUILD_DIR)/bin/quillery-bench

# Only the lines about a large category, on a million records generated in memory.
bench-large: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target quillery-bench
	$(BUILD_DIR)/bin/quillery-bench --large

# The Debian package, in build/package/: a build of its own with only what the package holds
# (the programs, the template tool and share/), without tests, fuzz replays or benchmarks.
package: deps
	@cmake --preset package >/dev/null
	@cmake --build build/package -j $(JOBS)
	cd build/package && cpack -G DEB

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
