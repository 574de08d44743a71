# SPDX-License-Identifier: MIT
# Vendettix: the two commands of the README, and a few more for developers.
#   make run    install what is missing, build, lay out the assets and start the game
#   make test   install what is missing, build twice (release, and with ASan + UBSan), run every test
#   make fuzz   fuzz the two loaders and the input log's reader, FUZZ_SECONDS (60) each;
#               `make test` fuzzes each for 30 s
#   make demo   a scripted round under a virtual X server, screenshots in build/shots
#   make screenshots  the README's pictures in docs/play
#   make bench  the benchmarks, the frame-time harness and the start-up timer, as one table
#   make timedemo  the whole recorded game at 600x600, 1280x1024 and 1920x1080 against the floor
#   make package        the Debian source and binary packages in build-deb (dpkg-buildpackage),
#                       checked by lintian
#   make determinism  the recordings and 200 generated games replayed alike by the normal build,
#                     an aarch64 build (under qemu) and an x86-64-v3 build at -O3
#   make web        the game for a web page in build-web/www (emscripten; README, "In a browser")
#   make web-serve  that page served on 127.0.0.1:WEB_PORT (8000)
#   make web-bench  the page's first frame, and its timedemo against a bare WebGL page's beside
#                   the desktop's against its floor, in headless chromium
#   make web-pictures  the page's pictures of a recorded game beside the desktop's, in docs/web
#   make package-check  that too, then the same commit packaged from a clean copy elsewhere:
#                       every .deb of the two builds must be the same byte for byte

JOBS ?= $(shell nproc)
# VX_WERROR=ON turns warnings into errors (CI does)
VX_WERROR ?= OFF
BUILD := build
ASAN_BUILD := build-asan
FUZZ_BUILD := build-fuzz
FUZZ_SECONDS ?= 60
PACKAGE_BUILD := build-deb
WEB_BUILD := build-web
WEB_PORT ?= 8000

.PHONY: all deps deps-demo deps-test deps-bench deps-fuzz build build-game build-play build-asan run test test-release \
	test-asan bench timedemo clean build-fuzz fuzz fuzz-ci demo screenshots package package-deb \
	package-check board deps-board deps-determinism determinism deps-web web web-serve \
	web-tests web-bench web-pictures

# the nested makes of CMake's build would otherwise announce every directory they enter
MAKEFLAGS += --no-print-directory
CONFIGURE = cmake -S . -DCMAKE_BUILD_TYPE=Release -DVX_WERROR=$(VX_WERROR)

all: build

# the tiers of scripts/install-deps: the game needs only the first
deps:
	@bash scripts/install-deps run
deps-demo:
	@bash scripts/install-deps run demo
deps-test:
	@bash scripts/install-deps run test board
deps-bench:
	@bash scripts/install-deps run test board bench
deps-board:
	@bash scripts/install-deps run board
deps-fuzz:
	@bash scripts/install-deps run board fuzz
deps-determinism:
	@bash scripts/install-deps run test determinism
deps-web:
	@bash scripts/install-deps run web

# the game and its assets alone; a first configure leaves the tests out, so the test tier's
# packages are not needed
build-game: deps
	@[ -f $(BUILD)/CMakeCache.txt ] || $(CONFIGURE) -B $(BUILD) -DBUILD_TESTING=OFF -DVX_BOARD=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target vendettix assets

# everything, tests and benches included
build: deps-test
	@$(CONFIGURE) -B $(BUILD) -DBUILD_TESTING=ON -DVX_LIB3DS=ON -DVX_BOARD=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# the scripted player uses the tests' support library, not the tests, so the demo's tier is
# enough; the loader's cross-check is left out where lib3ds (of the test tier) is not installed
HAVE_LIB3DS = $(shell dpkg-query -W -f='$${Status}' lib3ds-dev 2>/dev/null | grep -q "install ok installed" && echo ON || echo OFF)
build-play: deps-demo
	@echo "Building the game and the demo's scripted player (tests/e2e/scripted_play.cpp, over the tests'"
	@echo "harness and GoogleTest) in $(BUILD); the first time this takes a few minutes."
	@$(CONFIGURE) -B $(BUILD) -DBUILD_TESTING=ON -DVX_LIB3DS=$(HAVE_LIB3DS) -DVX_BOARD=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target vendettix assets scripted_play >/dev/null

build-asan: deps-test
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_SANITIZE=ON \
		-DVX_WERROR=$(VX_WERROR) -DBUILD_TESTING=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)

# with no display to open, the scripted demo plays under a virtual X server instead
run: build-game
	@if [ -z "$$DISPLAY" ] || { command -v xdpyinfo >/dev/null && ! xdpyinfo >/dev/null 2>&1; }; then \
		echo "No display to open (DISPLAY is unset or unreachable): running make demo instead, a scripted"; \
		echo "round under a virtual X server whose screenshots go to $(BUILD)/shots."; \
		$(MAKE) --no-print-directory demo; \
	else $(BUILD)/vendettix; fi

# a short scripted round under a virtual X server, screenshots in build/shots
demo: build-play
	@VX_GAME=$(abspath $(BUILD))/vendettix VX_RUN_DIR=$(abspath $(BUILD))/run \
		$(BUILD)/tests/scripted_play demo $(BUILD)/shots

# the README's pictures, into docs/play
screenshots: build-play
	@VX_GAME=$(abspath $(BUILD))/vendettix VX_RUN_DIR=$(abspath $(BUILD))/run \
		$(BUILD)/tests/scripted_play screenshots docs/play

# the browser tests (tests/web, ctest's web.*) come with the release build's once the web build
# is there: its GL library's pages of cases too, and the desktop's pictures to compare with
web-tests: web build
	@$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)
	@cmake -B $(BUILD) -DVX_WEB_DIR=$(abspath $(WEB_BUILD)) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target scripted_play

# a test that skips itself where it should run fails the run; the release build's soak is the
# sanitizer build's to run
test-release: build web-tests
	@bash scripts/run-ctest $(BUILD) e2e.soak_test -- --output-on-failure -j $(JOBS)

test-asan: build-asan
	@bash scripts/run-ctest $(ASAN_BUILD) -- --output-on-failure -j $(JOBS)

$(FUZZ_BUILD)/CMakeCache.txt: | deps-fuzz
	@cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ >/dev/null

build-fuzz: deps-fuzz $(FUZZ_BUILD)/CMakeCache.txt
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz: build-fuzz
	@bash fuzz/run-fuzzers $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-ci: build-fuzz
	@bash fuzz/run-fuzzers $(FUZZ_BUILD) 30

# the fuzzers first, so the test runners' summaries close the output
test: fuzz-ci package determinism test-release test-asan

# the same games on other machines: the replayer cross-built for aarch64 and run under qemu, and
# built for x86-64-v3 at -O3, against the normal build's, in $(BUILD)/determinism
determinism: deps-determinism build
	@VX_WERROR=$(VX_WERROR) bash scripts/determinism $(BUILD)

# the Debian packages (debian/) built by dpkg-buildpackage from a copy of the tree in
# $(PACKAGE_BUILD), without their tests (make test runs them)
package-deb: deps-test
	@DEB_BUILD_OPTIONS="nocheck parallel=$(JOBS)" bash scripts/build-deb $(PACKAGE_BUILD)
	@echo "package: $$(cd $(PACKAGE_BUILD) && echo *.dsc *.deb)"

# any error or warning fails (the .changes names the .dsc and every .deb); the overrides left
# carry their reasons in debian/*lintian-overrides
package: package-deb
	@lintian --pedantic --fail-on error,warning --info $(PACKAGE_BUILD)/vendettix_*.changes
	@echo "package: lintian --pedantic passed"

# the second build comes from the committed tree only, in another folder and without ccache, so
# nothing is shared with the first but the commit
package-check: package
	@[ -z "$$(git status --porcelain)" ] || { \
		echo "package-check: the tree has changes; commit them first (the check packages the commit)" >&2; exit 1; }
	@set -e; other=$$(mktemp -d); trap 'rm -rf "$$other"' EXIT; \
		git archive HEAD | tar -x -C "$$other"; \
		CCACHE_DISABLE=1 DEB_BUILD_OPTIONS="nocheck parallel=$(JOBS)" \
			bash "$$other"/scripts/build-deb "$$other"/$(PACKAGE_BUILD); \
		debs=$$(cd $(PACKAGE_BUILD) && ls *.deb); \
		[ "$$debs" = "$$(cd "$$other"/$(PACKAGE_BUILD) && ls *.deb)" ] || { \
			echo "package-check: the two builds made different packages" >&2; exit 1; }; \
		differ=0; for deb in $$debs; do \
			sha256sum $(PACKAGE_BUILD)/$$deb "$$other"/$(PACKAGE_BUILD)/$$deb; \
			cmp -s $(PACKAGE_BUILD)/$$deb "$$other"/$(PACKAGE_BUILD)/$$deb || differ=1; \
		done; \
		if [ $$differ -eq 0 ]; then echo "package-check: the two builds are the same"; \
		else echo "package-check: the two builds differ" >&2; exit 1; fi

# a local score board on SQLite (build/board.db), replaying with the vendettix-replay built
# beside it; BOARD_LISTEN to answer elsewhere
BOARD_LISTEN ?= 127.0.0.1:8080
board: deps-board
	@[ -f $(BUILD)/CMakeCache.txt ] || $(CONFIGURE) -B $(BUILD) -DBUILD_TESTING=OFF >/dev/null
	@cmake -B $(BUILD) -DVX_BOARD=ON >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target vendettix-board vendettix-replay assets
	@$(BUILD)/vendettix-board --listen $(BOARD_LISTEN) --database $(BUILD)/board.db

bench: deps-bench build
	@python3 scripts/bench-report $(BUILD)
	@python3 board/board-bench $(BUILD)

# with no display, under a virtual X server large enough for full HD
timedemo: build-game
	@python3 scripts/timedemo $(BUILD) --rounds 1

# The game for a web page: the native build makes the data set (and whatever else the page
# takes from it, the target web-host where there is one), then emscripten builds the game over
# it into $(WEB_BUILD)/www: index.html and what it loads, for any static server.
# emscripten's own tools look for their Node.js modules in Debian's folder.
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs
web: deps-web
	@[ -f $(BUILD)/CMakeCache.txt ] || $(CONFIGURE) -B $(BUILD) -DBUILD_TESTING=OFF -DVX_BOARD=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target assets
	@if cmake --build $(BUILD) --target help | grep -qw web-host; then \
		cmake --build $(BUILD) -j $(JOBS) --target web-host; fi
	@$(EMSCRIPTEN_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release \
		-DVX_WERROR=$(VX_WERROR) -DVX_HOST_BUILD=$(abspath $(BUILD)) >/dev/null
	@$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD) -j $(JOBS) --target vendettix
	@echo "web: the page is in $(WEB_BUILD)/www ($$(cd $(WEB_BUILD)/www && echo *)); make web-serve serves it"

# figures only, no verdict: the page against a bare WebGL page, the desktop against its floor
web-bench: web build-game
	@node bench/web/web-bench.mjs $(WEB_BUILD) $(BUILD)

web-pictures: web build-play
	@bash scripts/web-pictures $(BUILD) $(WEB_BUILD) docs/web

web-serve: web
	@echo "web-serve: http://127.0.0.1:$(WEB_PORT)/ (Ctrl-C stops it)"
	@cd $(WEB_BUILD)/www && python3 -m http.server --bind 127.0.0.1 $(WEB_PORT)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(PACKAGE_BUILD) $(WEB_BUILD)
