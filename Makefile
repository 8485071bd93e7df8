# Set-up, build, test and run. Every target installs what is missing first.
BUILD ?= build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=Release
JOBS ?= $(shell nproc)

.PHONY: deps configure build test demo run bench clean

deps:
	scripts/install-deps

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

demo: build
	scripts/demo $(BUILD)

run: build
	$(BUILD)/skorrel

bench: build
	scripts/bench $(BUILD)

clean:
	rm -rf $(BUILD)
