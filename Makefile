# Set-up commands: `make demo` and `make test`. Both install missing dependencies first.
BUILD      ?= build
BUILD_ASAN ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

.PHONY: all deps build test test-asan bench demo fuzz format format-check check-layers clean install

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Installs the headers, the shared library, the svy tool, the CMake package and svy3.pc.
PREFIX ?= /usr/local
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

test-asan: deps
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DSVY3_SANITIZE=ON -DSVY3_BUILD_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do echo "== $$b"; $$b || exit 1; done

# Runs a fuzz target (FUZZ_TARGET: fuzz_open or fuzz_header) for FUZZ_SECONDS; clang with
# libFuzzer; the corpus grows in build-fuzz/corpus-<target>.
FUZZ_TARGET ?= fuzz_open
FUZZ_SECONDS ?= 120
fuzz: deps
	CXX=clang++ cmake -S . -B build-fuzz -DSVY3_FUZZ=ON -DSVY3_BUILD_TESTS=OFF -DSVY3_BUILD_BENCH=OFF -DSVY3_BUILD_TOOLS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGET)
	mkdir -p build-fuzz/corpus-$(FUZZ_TARGET) && cp tests/data/*.svy build-fuzz/corpus-fuzz_open/ 2>/dev/null || true
	build-fuzz/fuzz/$(FUZZ_TARGET) -max_len=8192 -rss_limit_mb=4096 -max_total_time=$(FUZZ_SECONDS) build-fuzz/corpus-$(FUZZ_TARGET)

demo: build
	@if [ -x $(BUILD)/tools/svy/svy ]; then $(BUILD)/tools/svy/svy demo demo-survey; \
	else echo "demo: the svy tool is not built yet" >&2; exit 1; fi

FORMAT_FILES = $(shell git ls-files -co --exclude-standard '*.h' '*.cpp' 2>/dev/null)

format:
	clang-format -i $(FORMAT_FILES)

format-check: check-layers
	@clang-format --dry-run --Werror $(FORMAT_FILES) && echo "format-check: clean"

# Includes between the folders of svy3/ point one way (the order is in the script and README.md).
check-layers:
	@python3 scripts/check-layers.py

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) build-fuzz
