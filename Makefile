# Thin wrapper around CMake; the README names `make run` and `make test`.
BUILD      ?= build
BUILD_FUZZ ?= build-fuzz
JOBS       ?= 2
CMAKE_ARGS ?=

.PHONY: all setup configure build run test bench fuzz clean

all: build

setup:
	@scripts/setup

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@scripts/run-example $(BUILD)

test: build
	@ctest --test-dir $(BUILD) -j $(JOBS) --output-on-failure

bench: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEIGORA_BENCH=ON $(CMAKE_ARGS) > /dev/null
	@cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b; done

# libFuzzer targets need clang; they are built apart from the normal tree.
fuzz: setup
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DZEIGORA_FUZZ=ON -DZEIGORA_TESTS=OFF > /dev/null
	@cmake --build $(BUILD_FUZZ) -j $(JOBS)
	@echo "Fuzz targets are in $(BUILD_FUZZ)/fuzz; run one with e.g.:"
	@echo "  $(BUILD_FUZZ)/fuzz/fuzz_expression -max_total_time=600 fuzz/corpus/expression"

clean:
	rm -rf $(BUILD) $(BUILD_FUZZ)
