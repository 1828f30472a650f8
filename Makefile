# The two commands of the project:
#   make run   builds everything and opens Dernolo on the sample device
#   make test  installs what is missing, builds (warnings as errors), runs every test,
#              then again under AddressSanitizer + UndefinedBehaviorSanitizer, then the fuzzers briefly
JOBS ?= $(shell nproc)
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_QUICK_BUILD ?= $(FUZZ_BUILD)-quick
FUZZ_SECONDS ?= 60
CMAKE_FLAGS ?=
# Every phase says how long it took when it ends; `make test` lists them all again at its end.
PHASE_LOG ?= $(CURDIR)/$(BUILD)/phases.txt
export PHASE_LOG
TIMED = bash scripts/timed.sh

.PHONY: all deps configure build test test-fast test-asan fuzz-brief fuzz bench run clean dist launcher mingw-check phases-start conformance-record

all: build

deps:
	@$(TIMED) "packages" bash scripts/install-deps.sh

$(BUILD)/CMakeCache.txt:
	@$(TIMED) "configure" cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDIR_WERROR=ON $(CMAKE_FLAGS)

configure: deps $(BUILD)/CMakeCache.txt

build: configure
	@$(TIMED) "build" cmake --build $(BUILD) -j $(JOBS)

test-fast: build
	@$(TIMED) "tests" ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# One sanitizer build serves both the tests and the fuzz targets, so the code is compiled for them
# once: clang with AddressSanitizer, UndefinedBehaviorSanitizer and the fuzzer's coverage, at -O1
# as the sanitizers advise, with line tables for their reports.
SANITIZER_CMAKE = -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  "-DCMAKE_C_FLAGS_DEBUG=-O1 -gline-tables-only" "-DCMAKE_CXX_FLAGS_DEBUG=-O1 -gline-tables-only" \
  -DDIR_WERROR=ON -DDIR_SANITIZE=ON -DDIR_FUZZ=ON -DDIR_BENCH=OFF

# fontconfig's process-wide caches are not leaks of ours; the tools run during the build need the
# same suppressions as the tests.
test-asan: export LSAN_OPTIONS = suppressions=$(CURDIR)/scripts/lsan.supp:print_suppressions=0
test-asan: deps
	@$(TIMED) "sanitizer configure" cmake -S . -B $(ASAN_BUILD) $(SANITIZER_CMAKE) $(CMAKE_FLAGS)
	@$(TIMED) "sanitizer build" cmake --build $(ASAN_BUILD) -j $(JOBS)
	@ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  $(TIMED) "sanitizer tests" ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The brief fuzz runs of `make test`, on the sanitizer build's targets.
fuzz-brief: test-asan
	@$(TIMED) "fuzz runs" bash scripts/run-fuzzers.sh $(ASAN_BUILD) $(FUZZ_SECONDS)

# The fuzz targets alone, optimised as a release is, for the long run (scripts/fuzz-long.sh), and
# the quick build beside them: the targets marked QUICK without the address sanitizer.
FUZZ_CMAKE = -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DDIR_FUZZ=ON \
  -DDIR_BENCH=OFF
fuzz: deps
	@$(TIMED) "fuzz configure" cmake -S . -B $(FUZZ_BUILD) $(FUZZ_CMAKE) $(CMAKE_FLAGS)
	@$(TIMED) "fuzz build" cmake --build $(FUZZ_BUILD) -j $(JOBS) --target fuzzers
	@$(TIMED) "quick fuzz configure" cmake -S . -B $(FUZZ_QUICK_BUILD) $(FUZZ_CMAKE) -DDIR_FUZZ_SANITIZERS=undefined \
	  $(CMAKE_FLAGS)
	@$(TIMED) "quick fuzz build" cmake --build $(FUZZ_QUICK_BUILD) -j $(JOBS) --target fuzzers
	@$(TIMED) "fuzz runs" bash scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# The phase list starts empty, each phase adds its line, and the list is shown once more at the end.
test: phases-start test-fast mingw-check test-asan fuzz-brief
	@echo "make test, phase by phase:"; cat $(PHASE_LOG)

phases-start:
	@rm -f $(PHASE_LOG)

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DDIR_BENCH=ON $(CMAKE_FLAGS)
	cmake --build build-bench -j $(JOBS)
	@echo "Benchmarks are in build-bench/bench/"

run: build
	@if [ -x $(BUILD)/shell/dernolo ]; then $(BUILD)/shell/dernolo; \
	else echo "Dernolo was not built: see the build output above."; exit 1; fi

# The distribution medium (launcher, setup programs, editions) in $(BUILD)/distribution.
dist: build
	cmake --build $(BUILD) --target dist

# Vantory in a window, on the medium: its setup programs install onto the handheld of `make run`.
launcher: dist
	$(BUILD)/distribution/Vantory --device $(BUILD)/distribution

# Vantory's sources and resource script against the real windows.h, into a 32-bit Vantory.exe.
mingw-check: configure
	@$(TIMED) "mingw check" bash scripts/mingw-check.sh $(BUILD)

# Records conformance/reference.txt again under Wine (installs it when missing); make test never needs it.
conformance-record:
	bash scripts/record-conformance.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(FUZZ_QUICK_BUILD) build-bench
