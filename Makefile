# The two set-up commands: `make run` and `make test`. Each installs what is missing first.
GENERATOR := -G Ninja
RELEASE := build/release
TESTING := build/test
BENCHING := build/bench

.PHONY: all setup build run test bench clean

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

clean:
	rm -rf build
