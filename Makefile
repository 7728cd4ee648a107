# What a newcomer types: `make run`, `make test`, `make bench`.
BUILD       ?= build
BUILD_BENCH ?= build-release
GENERATOR   := -G Ninja

.PHONY: deps configure build test bench run clean

deps:
	scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug

build: configure
	cmake --build $(BUILD)

test: build
	ctest --test-dir $(BUILD) --output-on-failure

bench: deps
	cmake -S . -B $(BUILD_BENCH) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DQL_BUILD_BENCH=ON
	cmake --build $(BUILD_BENCH)
	scripts/run-benchmarks.sh $(BUILD_BENCH)

run: build
	scripts/run-app.sh $(BUILD)

clean:
	rm -rf $(BUILD) $(BUILD_BENCH)
