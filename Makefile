# Thin wrapper around CMake; the README names `make run` and `make test`. scripts/setup installs
# what building and running need; each target that needs more tools installs them itself.
BUILD      ?= build
BUILD_FUZZ ?= build-fuzz
BUILD_SAN  ?= build-sanitize
BUILD_BENCH ?= build-bench
JOBS       ?= 2
CMAKE_ARGS ?=

.PHONY: all setup configure build run test bench fuzz sanitize clean

all: build

setup:
	@scripts/setup

configure: setup
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS) > /dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Only the program, none of the tests.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target zeigora
	@$(BUILD)/src/mainwindow/zeigora

test:
	@scripts/setup test
	@$(MAKE) --no-print-directory build
	@ctest --test-dir $(BUILD) -j $(JOBS) --output-on-failure

# Benchmarks measure the Release build, in a build folder of their own.
bench:
	@scripts/setup bench
	@cmake -S . -B $(BUILD_BENCH) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZEIGORA_BENCH=ON \
	    -DZEIGORA_TESTS=OFF $(CMAKE_ARGS) > /dev/null
	@cmake --build $(BUILD_BENCH) -j $(JOBS)
	@for b in $(BUILD_BENCH)/bench/bench_*; do echo "== $$b"; $$b; done

# libFuzzer targets need clang; they are built apart from the normal tree.
fuzz:
	@scripts/setup fuzz
	@CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DZEIGORA_FUZZ=ON -DZEIGORA_TESTS=OFF > /dev/null
	@cmake --build $(BUILD_FUZZ) -j $(JOBS)
	@echo "Fuzz targets are in $(BUILD_FUZZ)/fuzz; run one with e.g.:"
	@echo "  $(BUILD_FUZZ)/fuzz/fuzz_expression -max_total_time=600 fuzz/corpus/expression"
	@echo "(fuzz_phasordraw draws text: LSAN_OPTIONS=suppressions=tests/lsan.supp skips fontconfig's caches)"

# The whole suite under AddressSanitizer, LeakSanitizer and UBSan, in a build folder of its own.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1 \
    UBSAN_OPTIONS=print_stacktrace=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp
sanitize:
	@scripts/setup test
	@cmake -S . -B $(BUILD_SAN) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZEIGORA_SANITIZERS=ON \
	    $(CMAKE_ARGS) > /dev/null
	@cmake --build $(BUILD_SAN) -j $(JOBS)
	@$(SANITIZER_ENV) ctest --test-dir $(BUILD_SAN) -j $(JOBS) --output-on-failure

clean:
	rm -rf $(BUILD) $(BUILD_FUZZ) $(BUILD_SAN) $(BUILD_BENCH)
