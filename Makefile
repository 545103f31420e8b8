# Setup, build and test entry points; see the README.
JOBS ?= $(shell nproc)
BUILD ?= build

.PHONY: run test build test-sanitize format-check clean fuzz-smoke

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

# The file readers' libFuzzer targets (needs clang), each run for about a minute from the seed
# corpus; new inputs go to the build folder, never into the repository.
FUZZ_RUN = -max_len=4096 -max_total_time=60 -print_final_stats=1
fuzz-smoke:
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -DHUMBROOK_FUZZ=ON -DHUMBROOK_GUI=OFF -DHUMBROOK_BENCH=OFF
	cmake --build build-fuzz --target fuzz_song_reader fuzz_song_text fuzz_wave_import -j $(JOBS)
	mkdir -p build-fuzz/corpus-song-reader build-fuzz/corpus-song-text build-fuzz/corpus-wave
	build-fuzz/fuzz/fuzz_song_reader $(FUZZ_RUN) build-fuzz/corpus-song-reader fuzz/corpus/song
	build-fuzz/fuzz/fuzz_song_text $(FUZZ_RUN) build-fuzz/corpus-song-text fuzz/corpus/song
	build-fuzz/fuzz/fuzz_wave_import $(FUZZ_RUN) build-fuzz/corpus-wave fuzz/corpus/wave

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf build build-sanitize
