# Quick start targets. Each one installs what is missing, configures and builds.
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test package package-test asan-test tsan-test bench format clean

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
	cd $(BUILD) && ctest --output-on-failure -j 2 -LE package

# The Debian package (cpack) in $(BUILD), and the checks of the install tree
# and of the package (slower; CI runs them after the unit tests).
package: build
	cd $(BUILD) && cpack -G DEB

package-test: build
	cd $(BUILD) && ctest --output-on-failure -L package

asan-test: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DWELVANE_SANITIZE=ON -DWELVANE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j 2

# ThreadSanitizer over the collector and screen tests. The collector tests run
# without suppressions; the screen tests with tests/tsan.supp, which names Qt's
# own frames only (Debian's Qt is not built for TSan). QT_NO_GLIB keeps the
# uninstrumented GLib event loop out of the picture. Tests that start a child
# program are left out: QProcess starts it with a vfork-style clone that TSan
# cannot follow, and its picture of later locking is wrong after that.
TSAN_ENV = QT_QPA_PLATFORM=offscreen TZ=UTC LC_ALL=C.UTF-8 QT_NO_GLIB=1 \
	XDG_CONFIG_HOME=$(CURDIR)/$(TSAN_BUILD)/test-config XDG_CACHE_HOME=$(CURDIR)/$(TSAN_BUILD)/test-cache
TSAN_FLAGS = halt_on_error=0 second_deadlock_stack=1

tsan-test: deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DWELVANE_TSAN=ON -DWELVANE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target test_stats test_screens test_rating
	$(TSAN_ENV) TSAN_OPTIONS="$(TSAN_FLAGS)" ./$(TSAN_BUILD)/tests/stats/test_stats
	$(TSAN_ENV) TSAN_OPTIONS="$(TSAN_FLAGS) suppressions=$(CURDIR)/tests/tsan.supp" ./$(TSAN_BUILD)/tests/screens/test_screens \
		--gtest_filter=-AboutPage.HelpPageIsFoundInTheBuildTreeAndWhereItIsInstalled
	$(TSAN_ENV) TSAN_OPTIONS="$(TSAN_FLAGS) suppressions=$(CURDIR)/tests/tsan.supp" ./$(TSAN_BUILD)/tests/rating/test_rating \
		--gtest_filter=-RatingPrompt.TheReviewLinkNamesTheIdTheMetainfoDeclares

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
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD)
