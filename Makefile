# The two commands of the README: `make run` and `make test`. Both install the Debian
# packages that are missing first, then configure and build.
BUILD ?= build
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: all build run test bench tidy package clean

all: build

build:
	@scripts/install-deps.sh build
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
		echo "make run: no display to show the player on (DISPLAY and WAYLAND_DISPLAY are unset)" >&2; \
		exit 1; fi
	./$(BUILD)/zorvan $(ARGS)

test:
	@scripts/install-deps.sh test
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)
	@cd $(BUILD) && ctest --output-on-failure -j$(JOBS) --timeout 300

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done
	@bench/player-cpu.sh $(BUILD)/zorvan

# A Debian package of the player, $(BUILD)/zorvan_<version>_<arch>.deb, made by CPack from
# what `cmake --install` installs. scripts/check-package.sh looks it over and tries it.
package:
	@scripts/install-deps.sh package
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)
	@cd $(BUILD) && cpack -G DEB

# clang-tidy over every source file, with the checks of .clang-tidy.
tidy: build
	@find src -name '*.cpp' | xargs -P$(JOBS) -n4 clang-tidy -p $(BUILD) --quiet 2>/dev/null

clean:
	rm -rf $(BUILD)
