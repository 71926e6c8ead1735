# The two set-up commands: `make run` and `make test`. Each installs what it is missing first,
# and only what that command needs (scripts/setup.sh --list COMMAND shows the list).
# `make fuzz` runs each fuzz target FUZZ_SECONDS (60); `make soak` plays every zone and generated
# largest zones SOAK_TICKS ticks (200000) under the sanitizers. `make deb` builds the Debian
# package into build/deb/; scripts/check-deb.sh lints, installs, plays and removes it.
# `make web` builds the browser version into build/web/ (emscripten; scripts/setup.sh web builds
# its libraries once into build/web-deps/) with WEB_JOBS compile jobs (the machine's cores),
# `make web-serve` serves what is built on 127.0.0.1:WEB_PORT (building it first only when
# nothing is), and
# `make web-test` plays every zone with both zone tools and the page in headless Chromium, and
# lays the page's start screen against the desktop game's (pictures in build/web-checks/).
GENERATOR := -G Ninja
RELEASE := build/release
TESTING := build/test
BENCHING := build/bench
FUZZING := build/fuzz
FUZZ_SECONDS ?= 60
SOAK_TICKS ?= 200000
WEB_BUILD := build/web-cmake
# The browser build's libraries; CI keeps them outside its fresh clone.
QUARN_WEB_DEPS ?= $(CURDIR)/build/web-deps
WEB_DEPS := $(QUARN_WEB_DEPS)
web web-serve web-test: export QUARN_WEB_DEPS := $(WEB_DEPS)
WEB_PORT ?= 8028
# Compile jobs of each step of `make web` (the libraries, the native tools, the page).
WEB_JOBS ?= $(shell nproc)
web web-serve web-test: export QUARN_WEB_JOBS := $(WEB_JOBS)
WEB_GENERATED ?= 1000
# emscripten's tools find Debian's JavaScript modules (its optimizer's parser) through this.
web web-serve web-test: export NODE_PATH := /usr/share/nodejs

.PHONY: all build run test bench fuzz soak deb web web-serve web-test clean

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

# The native build gives the page its pictures, sounds and icon (its painters and synthesiser).
web:
	@scripts/setup.sh web
	cmake -S . -B $(RELEASE) $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_TESTS=OFF
	cmake --build $(RELEASE) -j $(WEB_JOBS)
	emcmake cmake -S . -B $(WEB_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release \
	  -DQUARN_WEB_DEPS=$(WEB_DEPS)/prefix
	cmake --build $(WEB_BUILD) -j $(WEB_JOBS)

# Serves the page as it was last built; `make web` first when there is none.
web-serve:
	@for f in index.html quarn.js quarn.wasm quarn.data; do \
	  [ -f build/web/$$f ] || { $(MAKE) --no-print-directory web || exit 1; break; }; done
	@echo "Quarn: http://127.0.0.1:$(WEB_PORT)/"
	python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory build/web

# Each check has a time limit, so that a hung browser or instance fails instead of waiting forever.
web-test: web
	timeout 1800 node --no-experimental-fetch --expose-gc tests/web/ZoneParity.cjs --native $(RELEASE)/bin/quarn-zone \
	  --wasm $(WEB_BUILD)/bin/quarn-zone.js --zones zones --solutions tests/run/solutions \
	  --generated $(WEB_GENERATED)
	timeout 900 node tests/web/BrowserTest.cjs --site build/web --puppeteer $(WEB_DEPS)/node \
	  --solution tests/run/solutions/01-prvni-kroky.keys --zone zones/01-prvni-kroky.qrn \
	  --quarn-zone $(RELEASE)/bin/quarn-zone --shot build/web-start.png --shared-shot build/web-shared.png
	timeout 900 node tests/web/TouchTest.cjs --site build/web --puppeteer $(WEB_DEPS)/node \
	  --solution tests/run/solutions/01-prvni-kroky.keys --zone zones/01-prvni-kroky.qrn \
	  --quarn-zone $(RELEASE)/bin/quarn-zone --shots build/web-touch
	timeout 300 tests/web/NativeStart.sh $(RELEASE)/bin/quarn zones build/web-checks/native-start.ppm
	timeout 900 node tests/web/PageChecks.cjs --site build/web --puppeteer $(WEB_DEPS)/node \
	  --native-start build/web-checks/native-start.ppm --sounds $(RELEASE)/bin/sound --zones zones \
	  --pictures build/web-checks

clean:
	rm -rf build
