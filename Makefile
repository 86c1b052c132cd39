# The two commands of the README, plus the sanitizer run and the benchmarks.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps build run test test-sanitize bench clean

all: build

deps:
	./scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/tagvaroskop

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

test-sanitize:
	$(MAKE) test BUILD=build-sanitize CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Debug -DTAGVAROSKOP_SANITIZE=ON"

bench:
	$(MAKE) build BUILD=build-bench CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Release -DTAGVAROSKOP_BENCH=ON"
	for b in build-bench/bench/bench_*; do QT_QPA_PLATFORM=offscreen $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

clean:
	rm -rf build build-sanitize build-bench
