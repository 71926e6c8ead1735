# The two set-up commands: `make run` and `make test`. Each installs what is missing first.
# `make fuzz` runs each fuzz target FUZZ_SECONDS (60); `make soak` plays every zone and generated
# largest zones SOAK_TICKS ticks (200000) under the sanitizers.
GENERATOR := -G Ninja
RELEASE := build/release
TESTING := build/test
BENCHING := build/bench
FUZZING := build/fuzz
FUZZ_SECONDS ?= 60
SOAK_TICKS ?= 200000

.PHONY: all setup build run test bench fuzz soak clean

all: build

setup:
	@scripts/setup.sh

build: setup
	cmake -S . -B $(RELEASE) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_TESTS=OFF
	cmake --build $(RELEASE)

run: build
	$(RELEASE)/bin/quarn $(ARGS)

test: setup
	cmake -S . -B $(TESTING) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DQUARN_SANITIZE=ON
	cmake --build $(TESTING)
	ctest --test-dir $(TESTING) --output-on-failure -j2

bench: setup
	cmake -S . -B $(BENCHING) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DQUARN_TESTS=OFF -DQUARN_BENCH=ON
	cmake --build $(BENCHING)
	$(BENCHING)/bin/quarn-bench

fuzz: setup
	cmake -S . -B $(FUZZING) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++-14
	cmake --build $(FUZZING)
	scripts/fuzz.sh $(FUZZING) $(FUZZ_SECONDS)

soak: setup
	cmake -S . -B $(TESTING) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DQUARN_SANITIZE=ON
	cmake --build $(TESTING) --target quarn_soak
	$(TESTING)/bin/quarn_soak --ticks $(SOAK_TICKS) --generated 2 --solutions tests/game/solutions zones

clean:
	rm -rf build
