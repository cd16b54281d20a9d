# The two commands of the README: `make run` and `make test`. Both install the Debian
# packages that are missing first, then configure and build.
BUILD ?= build
JOBS ?= $(shell nproc)
ARGS ?=

.PHONY: all build run test test-sanitize fuzz bench tidy package clean

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

# The same tests on a build with AddressSanitizer and UndefinedBehaviorSanitizer, in its own
# folder; the whole-program tests start the sanitized player. Any sanitizer report fails the
# run (see scripts/test-sanitize.sh).
SANITIZE_BUILD ?= build-sanitize
test-sanitize:
	@scripts/install-deps.sh sanitize
	@cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAN_SANITIZE=ON >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	@scripts/test-sanitize.sh $(SANITIZE_BUILD) -j$(JOBS) --timeout 600

# Builds the libFuzzer harnesses of fuzz/ with clang in build-fuzz and runs each for
# FUZZ_SECONDS; see fuzz/run.sh.
FUZZ_SECONDS ?= 60
fuzz:
	@scripts/install-deps.sh fuzz
	@fuzz/run.sh $(FUZZ_SECONDS)

# Every benchmark runs even when an earlier one misses its target; the target fails at the end
# if any did.
bench: build
	@status=0; \
	for b in $(BUILD)/bench/bench_*; do \
		[ -f "$$b" ] && [ -x "$$b" ] || continue; echo "== $$b"; $$b || status=1; done; \
	echo "== bench/player-cpu.sh"; bench/player-cpu.sh $(BUILD)/zorvan || status=1; \
	echo "== bench/startup.sh"; bench/startup.sh $(BUILD)/zorvan || status=1; \
	echo "== bench/desklyrics-cpu.sh"; bench/desklyrics-cpu.sh $(BUILD)/zorvan || status=1; \
	echo "== bench/gapless.sh"; bench/gapless.sh $(BUILD)/bench/gaplessplay || status=1; \
	echo "== bench/bigfolder.sh"; bench/bigfolder.sh $(BUILD)/zorvan || status=1; \
	echo "== bench/biglist.sh"; bench/biglist.sh $(BUILD)/zorvan || status=1; \
	exit $$status

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
