# Newcomer entry points: `make run` builds and starts kavo, `make test` builds and runs every test.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test test-asan test-tsan clean format

deps:
	bash scripts/install-deps.sh

configure:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: deps build
	@if [ -x $(BUILD)/bin/kavo ]; then $(BUILD)/bin/kavo; else $(BUILD)/bin/kavo-cli --help; fi

test: deps build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)

# The whole suite under AddressSanitizer + UndefinedBehaviorSanitizer.
test-asan:
	cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVO_SANITIZE=ON -DKAVO_BUILD_BENCH=OFF
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp ctest --output-on-failure -j $(JOBS)

# The programs whose tests exercise threads (worker and card, formatting thread, messages, log writes,
# downloads), under ThreadSanitizer.
TSAN_TESTS = test_common test_store test_engine test_processing test_service
test-tsan:
	cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVO_TSAN=ON -DKAVO_BUILD_BENCH=OFF -DKAVO_BUILD_UI=OFF
	cmake --build build-tsan -j $(JOBS) --target $(TSAN_TESTS)
	cd build-tsan && for t in $(TSAN_TESTS); do \
		TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/scripts/tsan.supp \
			./bin/$$t --gtest_brief=1 || exit 1; done
