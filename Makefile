# Setup, build and test entry points; see the README.
JOBS ?= $(shell nproc)
BUILD ?= build

.PHONY: run test build test-sanitize format-check clean

run:
	scripts/install-deps.sh run
	cmake -S . -B $(BUILD) -DHUMBROOK_BENCH=OFF
	cmake --build $(BUILD) -j $(JOBS)
	./$(BUILD)/humbrook

build:
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)

test:
	scripts/install-deps.sh test
	cmake -S . -B $(BUILD)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
test-sanitize:
	scripts/install-deps.sh test
	cmake -S . -B build-sanitize -DHUMBROOK_SANITIZE=ON -DHUMBROOK_BENCH=OFF -DHUMBROOK_GUI=OFF -DCMAKE_BUILD_TYPE=Debug
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && ctest --output-on-failure -j $(JOBS)

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-sanitize
