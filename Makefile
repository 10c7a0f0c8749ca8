# Entry points: `make run` builds and starts the program, `make test` runs every test.
SHELL := /bin/bash
BUILD := build
WIN := $(BUILD)/windows
NATIVE := $(BUILD)/native
JOBS := $(shell nproc)

.PHONY: all deps windows native run test bench dist clean mutants

all: windows

deps:
	@scripts/deps.sh

windows: deps
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN) -j$(JOBS)

native: deps
	@CC=clang CXX=clang++ cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(NATIVE) -j$(JOBS)

run: windows
	@scripts/run.sh

test: native windows
	@scripts/wine-prefix.sh
	cd $(NATIVE) && ctest --output-on-failure -j$(JOBS)
	cd $(WIN) && ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD)

bench: windows
	@bench/run_all.sh

dist: windows
	@scripts/dist.sh

# Faults seeded one at a time into a scratch copy; the ones no test catches are listed.
# e.g. make mutants ARGS="--base HEAD~5 --max 100"  or  ARGS="src/common/sums.cpp"
mutants: deps
	@scripts/mutants $(ARGS)
