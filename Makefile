# Newcomer entry points: `make run` builds and starts kavo, `make test` builds and runs every test.
BUILD ?= build
CMAKE_FLAGS ?=
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test clean format

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
