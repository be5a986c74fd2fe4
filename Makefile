# Quick start targets. Each one installs what is missing, configures and builds.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test asan-test bench format clean

all: build

deps:
	./scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja

build: deps configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/src/app/welvane $(ARGS)

# Each test has its own settings and cache folders, so they run in parallel;
# the timing tests are marked RUN_SERIAL and run alone.
test: build
	cd $(BUILD) && ctest --output-on-failure -j 2

asan-test: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DWELVANE_SANITIZE=ON -DWELVANE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j 2

# Every benchmark program (not the *_autogen folders beside them); a failing
# one is reported and the rest still run.
bench: build
	@failed=""; for b in $(BUILD)/bench/bench_*; do \
		[ -f "$$b" ] && [ -x "$$b" ] || continue; \
		echo "== $$b"; $$b || failed="$$failed $${b##*/}"; \
	done; \
	if [ -n "$$failed" ]; then echo "failed:$$failed"; exit 1; fi

format:
	find src tests bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
