# What a newcomer types: `make run`, `make test`, `make bench`.
BUILD       ?= build
BUILD_BENCH ?= build-release
BUILD_ASAN  ?= build-asan
BUILD_FUZZ  ?= build-fuzz
GENERATOR   := -G Ninja
FUZZ_SECONDS ?= 60

# Any sanitizer report fails the test that caused it.
SANITIZER_ENV := ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=1 \
                 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
VALGRIND := valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite \
            --show-leak-kinds=definite --quiet --suppressions=tests/leak-check/valgrind.supp
# The engine's integration tests: the engine through the fake layer, the
# libcurl layer against loopback servers, and the fault matrix.
LEAK_CHECKED := tests/http/http_tests tests/http-curl/http_curl_tests tests/fault-matrix/fault_matrix_tests

.PHONY: deps configure build test test-sanitize fuzz fuzz-smoke leak-check bench run clean

deps:
	scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug

build: configure
	cmake --build $(BUILD)

# The normal suite, then every test that needs no display again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
test: build
	ctest --test-dir $(BUILD) --output-on-failure
	$(MAKE) --no-print-directory test-sanitize

test-sanitize: deps
	cmake -S . -B $(BUILD_ASAN) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DQL_BUILD_APP=OFF -DQL_SANITIZE=ON
	cmake --build $(BUILD_ASAN)
	$(SANITIZER_ENV) ctest --test-dir $(BUILD_ASAN) --output-on-failure

# Each fuzz target for FUZZ_SECONDS (clang and its libFuzzer runtime).
fuzz: deps
	cmake -S . -B $(BUILD_FUZZ) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQL_BUILD_APP=OFF \
	  -DQL_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(BUILD_FUZZ) --target fuzzers
	fuzz/run-fuzzers.sh $(BUILD_FUZZ) $(FUZZ_SECONDS)

# The short pass CI makes; skipped where clang's libFuzzer is missing.
fuzz-smoke:
	@if fuzz/have-libfuzzer.sh; then $(MAKE) --no-print-directory fuzz FUZZ_SECONDS=15; \
	else echo "clang++ with libFuzzer not found: fuzzing skipped"; fi

leak-check: configure
	cmake --build $(BUILD) --target $(notdir $(LEAK_CHECKED))
	set -e; for t in $(LEAK_CHECKED); do echo "== valgrind $$t"; $(VALGRIND) $(BUILD)/$$t --gtest_brief=1; done

bench: deps
	cmake -S . -B $(BUILD_BENCH) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DQL_BUILD_BENCH=ON
	cmake --build $(BUILD_BENCH)
	scripts/run-benchmarks.sh $(BUILD_BENCH)

run: build
	scripts/run-app.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_BENCH) $(BUILD_ASAN) $(BUILD_FUZZ)
