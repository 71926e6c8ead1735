# The two set-up commands: `make run` and `make test`. Each installs what it is missing first,
# and only what that command needs (scripts/setup.sh --list COMMAND shows the list).
# `make fuzz` runs each fuzz target FUZZ_SECONDS (60); `make soak` plays every zone and generated
# largest zones SOAK_TICKS ticks (200000) under the sanitizers. `make deb` builds the Debian
# package into build/deb/; scripts/check-deb.sh lints, installs, plays and removes it.
GENERATOR := -G Ninja
RELEASE := build/release
TESTING := build/test
BENCHING := build/bench
FUZZING := build/fuzz
FUZZ_SECONDS ?= 60
SOAK_TICKS ?= 200000

.PHONY: all build run test bench fuzz soak deb clean

define build_release
	cmake -S . -B $(RELEASE) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_TESTS=OFF
	cmake --build $(RELEASE)
endef

all: build

build:
	@scripts/setup.sh build
	$(build_release)

run:
	@scripts/setup.sh run
	$(build_release)
	$(RELEASE)/bin/quarn $(ARGS)

test:
	@scripts/setup.sh test
	cmake -S . -B $(TESTING) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DQUARN_SANITIZE=ON
	cmake --build $(TESTING)
	ctest --test-dir $(TESTING) --output-on-failure -j2

bench:
	@scripts/setup.sh bench
	cmake -S . -B $(BENCHING) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DQUARN_TESTS=OFF -DQUARN_BENCH=ON
	cmake --build $(BENCHING)
	$(BENCHING)/bin/quarn-bench

fuzz:
	@scripts/setup.sh fuzz
	cmake -S . -B $(FUZZING) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++-14
	cmake --build $(FUZZING)
	scripts/fuzz.sh $(FUZZING) $(FUZZ_SECONDS)

soak:
	@scripts/setup.sh soak
	cmake -S . -B $(TESTING) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DQUARN_SANITIZE=ON
	cmake --build $(TESTING) --target quarn_soak
	$(TESTING)/bin/quarn_soak --ticks $(SOAK_TICKS) --generated 2 --solutions tests/run/solutions zones

deb:
	@scripts/setup.sh deb
	scripts/build-deb.sh

clean:
	rm -rf build
