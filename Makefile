# Set-up commands: `make demo` and `make test`. Both install missing dependencies first.
BUILD      ?= build
BUILD_ASAN ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_ARGS ?=

.PHONY: all deps build test python-test test-asan test-valgrind bench demo fuzz fuzz-ci format format-check check-layers clean install

all: build

deps:
	@bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt: | deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The Python module's tests alone (`make test` runs them too, through ctest).
python-test: build
	PYTHONPATH=$(BUILD)/python PYTHONDONTWRITEBYTECODE=1 SVY3_TOOL=$(BUILD)/tools/svy/svy \
	  /usr/bin/python3 -m pytest -q -p no:cacheprovider python/tests

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

# The test program once under valgrind's memory checker: any invalid access, use of an undefined
# value or leaked block fails the run. Children the tests start through exec (the svy tool) run
# without valgrind; children they fork run under it, quietly. VALGRIND_FILTER (a gtest filter) can
# leave out tests too slow under valgrind; none needs to be left out today.
VALGRIND_FILTER ?= *
test-valgrind: build
	valgrind --quiet --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
	  --trace-children=no --child-silent-after-fork=yes \
	  $(BUILD)/tests/svy3_tests --gtest_filter='$(VALGRIND_FILTER)' --gtest_brief=1

# Runs a fuzz target (FUZZ_TARGET: fuzz_open, fuzz_header, fuzz_editor, fuzz_roundtrip,
# fuzz_create or fuzz_datablock) for FUZZ_SECONDS with clang's libFuzzer, from the seeds in
# fuzz/corpus/ (svy: documents, hd: headers, create: a header's length in two bytes, the header
# and an odometer file); the corpus grows in build-fuzz/corpus-<target>. `make fuzz-ci` runs every
# target for FUZZ_CI_SECONDS each, from a fixed seed, so that a run repeats the same inputs.
FUZZ_TARGET ?= fuzz_open
FUZZ_SECONDS ?= 120
FUZZ_CI_SECONDS ?= 10
FUZZ_TARGETS = fuzz_open fuzz_header fuzz_editor fuzz_roundtrip fuzz_create fuzz_datablock
FUZZ_SEEDS = fuzz/corpus/$(if $(filter fuzz_header,$(1)),hd,$(if $(filter fuzz_create,$(1)),create,svy))
FUZZ_FLAGS = -max_len=65536 -rss_limit_mb=4096 -timeout=20 -print_final_stats=1

build-fuzz/CMakeCache.txt: | deps
	CXX=clang++ cmake -S . -B build-fuzz -DSVY3_FUZZ=ON -DSVY3_BUILD_TESTS=OFF -DSVY3_BUILD_BENCH=OFF -DSVY3_BUILD_TOOLS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo

fuzz: build-fuzz/CMakeCache.txt
	cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGET)
	mkdir -p build-fuzz/corpus-$(FUZZ_TARGET)
	build-fuzz/fuzz/$(FUZZ_TARGET) $(FUZZ_FLAGS) -max_total_time=$(FUZZ_SECONDS) \
	  build-fuzz/corpus-$(FUZZ_TARGET) $(call FUZZ_SEEDS,$(FUZZ_TARGET))

fuzz-ci: build-fuzz/CMakeCache.txt
	cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGETS)
	@for t in $(FUZZ_TARGETS); do echo "== $$t"; mkdir -p build-fuzz/corpus-$$t; \
	  case $$t in fuzz_header) s=hd;; fuzz_create) s=create;; *) s=svy;; esac; \
	  build-fuzz/fuzz/$$t $(FUZZ_FLAGS) -seed=1 -max_total_time=$(FUZZ_CI_SECONDS) \
	    build-fuzz/corpus-$$t fuzz/corpus/$$s >build-fuzz/$$t.log 2>&1; rc=$$?; \
	  grep -E '^(Done |stat::new_units_added|stat::peak_rss_mb)' build-fuzz/$$t.log; \
	  [ $$rc -eq 0 ] || { tail -40 build-fuzz/$$t.log; exit 1; }; done

# The sample survey, its project and summary, and a picture of its lines (demo-survey/demo.png).
demo: build
	@if [ -x $(BUILD)/tools/svy/svy ]; then $(BUILD)/tools/svy/svy demo demo-survey && echo && \
	  $(BUILD)/tools/svy/svy plot demo-survey/demo.svy demo-survey/demo.png && \
	  echo "Picture of the survey: $(CURDIR)/demo-survey/demo.png"; \
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
