# The two commands of the README, plus the sanitizer run and the benchmarks.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

PROGRAMS = tagvaroskop tagvaroskop-cli tagvaroskop-cli-charts

.PHONY: all deps build run test test-sanitize test-thread bench fuzz package clean

all: build

deps:
	./scripts/install-deps test

# Everything: the programs, the tests, the Python package, the manual pages.
build: deps
	cmake -S . -B $(BUILD) -DTAGVAROSKOP_TESTS=ON -DTAGVAROSKOP_PACKAGE_FILES=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

# Only what the programs need, installed and built; a new build folder is set up without the
# tests and package files, which a later `make test` adds to it.
run:
	./scripts/install-deps run
	cmake -S . -B $(BUILD) $(if $(wildcard $(BUILD)/CMakeCache.txt),,-DTAGVAROSKOP_TESTS=OFF -DTAGVAROSKOP_PACKAGE_FILES=OFF) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target $(PROGRAMS)
	./$(BUILD)/tagvaroskop

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-sanitize:
	$(MAKE) test BUILD=build-sanitize CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Debug -DTAGVAROSKOP_SANITIZE=ON"

# The code that runs on both cores (the year series, days, the batches) under the thread
# sanitizer: the solar and tool tests, which start the threads.
test-thread:
	$(MAKE) build BUILD=build-thread CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAGVAROSKOP_TSAN=ON"
	cd build-thread && QT_QPA_PLATFORM=offscreen TSAN_OPTIONS=halt_on_error=1 TAGVAROSKOP_DIFFERENTIAL_DAYS=1000 \
	  ctest --output-on-failure -j $(JOBS) -R '^(SparseTrack|YearSeries|MinuteScan|Cli|Rows/Cli|Locales/Cli)'

bench:
	$(MAKE) build BUILD=build-bench CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Release -DTAGVAROSKOP_BENCH=ON"
	for b in build-bench/bench/bench_*; do QT_QPA_PLATFORM=offscreen $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done
	/usr/bin/python3 bench/batch_bench.py build-bench

# The Debian package, named with the version, in build-package/: a build of its own without
# -Werror, so that a newer compiler's new warning never stops a user's package build.
package: deps
	cmake -S . -B build-package -DTAGVAROSKOP_WERROR=OFF -DTAGVAROSKOP_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build-package -j $(JOBS)
	cd build-package && cpack -G DEB

FUZZ_SECONDS ?= 30
FUZZ_TARGETS = field_reading_fuzz location_file_fuzz calculation_fuzz number_field_fuzz batch_fuzz cli_arguments_fuzz \
  day_search_fuzz

# Each fuzz target runs for FUZZ_SECONDS from its corpus in fuzz/corpus; a finding fails.
fuzz:
	./scripts/install-deps fuzz
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DTAGVAROSKOP_SANITIZE=ON -DTAGVAROSKOP_FUZZ=ON -DTAGVAROSKOP_TESTS=OFF -DTAGVAROSKOP_PACKAGE_FILES=OFF
	cmake --build build-fuzz -j $(JOBS) --target $(FUZZ_TARGETS)
	for t in $(FUZZ_TARGETS); do \
	  mkdir -p build-fuzz/corpus/$$t build-fuzz/findings/$$t && \
	  QT_QPA_PLATFORM=offscreen build-fuzz/fuzz/$$t -max_total_time=$(FUZZ_SECONDS) -timeout=20 \
	    -rss_limit_mb=4096 -artifact_prefix=build-fuzz/findings/$$t/ \
	    build-fuzz/corpus/$$t fuzz/corpus/$$t || exit 1; \
	done

clean:
	rm -rf build build-sanitize build-thread build-bench build-fuzz build-package
