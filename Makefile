# The two commands of the README: `make demo` (the main job) and `make test` (every test).
# Both install what is missing first, so they work on a fresh Debian machine.
SHELL := /bin/bash
JOBS ?= $(shell nproc)

.PHONY: demo demo-interactive test dist deps native win32 i686 test-native test-win32 test-i686 fuzz fuzz-long fuzz-host soak bench clean

# Headless: screenshots and a contact sheet in out/demo/. DEMO_ARGS go to scripts/demo.sh, for
# example DEMO_ARGS=--interactive to open the player's window on a display.
demo: dist win32
	scripts/demo.sh $(DEMO_ARGS)

demo-interactive: dist win32
	scripts/demo.sh --interactive $(DEMO_ARGS)

test: test-native test-i686 test-win32

deps:
	@scripts/install-deps.sh

native: deps
	@cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

win32: deps
	@cmake --preset win32 >/dev/null
	cmake --build --preset win32 -j $(JOBS)

i686: deps
	@cmake --preset i686 >/dev/null
	cmake --build --preset i686 -j $(JOBS)

dist: i686
	scripts/dist.sh

test-native: native
	ctest --preset native

# The shipped 32-bit build runs its tests where the machine can run 32-bit Wine; the x86_64
# tree runs the same tests under 64-bit Wine everywhere, and its summary ends the run.
test-i686: dist
	scripts/test-i686.sh

test-win32: win32
	ctest --preset win32

fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DSABLA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	cmake --build build/fuzz -j $(JOBS)

# Every fuzz target for FUZZ_SECONDS each, from and into its corpus in fuzz/corpus/.
FUZZ_SECONDS ?= 600
fuzz-long: fuzz
	scripts/fuzz-long.sh $(FUZZ_SECONDS)

# Every benchmark in the shipped 32-bit build under 32-bit Wine (the x86_64 tree where i386
# programs cannot run), as one table of medians, p90s, same-run baselines and goals.
bench: deps
	JOBS=$(JOBS) scripts/bench.sh

# The long soak: 200 tracks, 1000 track changes, 1000 hide/show cycles with the shipped pair.
soak: dist
	scripts/soak.sh 200 1000 1000

# N random host conversations with the shipped library, in child processes under Wine; fails on
# any crash or hang (a call that has not returned after 5 s). CI runs 250 of them.
N ?= 100000
fuzz-host: dist
	tools/fuzz_host/run-campaign.sh $(N)

clean:
	-scripts/wine-session.sh stop
	rm -rf build dist out
