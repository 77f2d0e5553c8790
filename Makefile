# The README's commands. Each installs what is missing first.
BUILD       ?= build
BUILD_ASAN  ?= build-asan
BUILD_RELEASE ?= build-release
BUILD_BENCH ?= build-bench
BUILD_FUZZ  ?= build-fuzz
BUILD_RUN   ?= build-run
BUILD_WINDOWS ?= build-windows
BUILD_WEB   ?= build-web
WEB         ?= web
PREFIX      ?= /usr/local
JOBS        ?= $(shell nproc)
FUZZ_SECONDS ?= 60
# Warnings are errors for the developer targets (test, test-release, sanitize) and CI;
# WERROR=OFF lets them run on a compiler with warnings this code has not met yet.
WERROR      ?= ON

.PHONY: all deps build test test-release run run-build install package sanitize bench fuzz format clean \
        windows windows-configure test-windows web web-build test-web web-idle

all: build

deps:
	@scripts/install-deps

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

test: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Debug -DVORLA_WERROR=$(WERROR)
	cmake --build $(BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-release: deps
	cmake -S . -B $(BUILD_RELEASE) -DCMAKE_BUILD_TYPE=Release -DVORLA_WERROR=$(WERROR)
	cmake --build $(BUILD_RELEASE) -j $(JOBS)
	cd $(BUILD_RELEASE) && ctest --output-on-failure -j $(JOBS)

# The program as users get it: optimised, without the test suites. ARGS are passed on,
# for example make run ARGS="--window world.vrz".
run-build: deps
	cmake -S . -B $(BUILD_RUN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLA_TESTS=OFF
	cmake --build $(BUILD_RUN) -j $(JOBS)

run: run-build
	$(BUILD_RUN)/app/vorla $(ARGS)

install: run-build
	cmake --install $(BUILD_RUN) --prefix "$(PREFIX)" --strip

package: run-build
	cd $(BUILD_RUN) && cpack -G DEB

sanitize: deps
	cmake -S . -B $(BUILD_ASAN) -DCMAKE_BUILD_TYPE=Debug -DVORLA_SANITIZE=ON -DVORLA_WERROR=$(WERROR)
	cmake --build $(BUILD_ASAN) -j $(JOBS)
	cd $(BUILD_ASAN) && ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
	  UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

# vorla.exe for 64-bit Windows, one statically linked file: cross-built with mingw-w64
# against SDL2 and FreeType built from Debian's sources into a cache (scripts/windows-deps,
# which also installs the toolchain and wine). test-windows adds the test programs and runs
# them under wine.
windows-configure: deps
	@scripts/windows-deps
	cmake -S . -B $(BUILD_WINDOWS) --toolchain cmake/toolchain-mingw-w64-x86_64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DVORLA_WERROR=$(WINDOWS_WERROR)

windows: WINDOWS_WERROR = OFF
windows: windows-configure
	cmake --build $(BUILD_WINDOWS) -j $(JOBS) --target vorla
	@echo "$(BUILD_WINDOWS)/app/vorla.exe"

test-windows: WINDOWS_WERROR = $(WERROR)
test-windows: windows-configure
	cmake --build $(BUILD_WINDOWS) -j $(JOBS)
	cd $(BUILD_WINDOWS) && ctest --output-on-failure -j $(JOBS)

bench: deps
	cmake -S . -B $(BUILD_BENCH) -DCMAKE_BUILD_TYPE=Release -DVORLA_BENCH=ON -DVORLA_TESTS=OFF
	cmake --build $(BUILD_BENCH) -j $(JOBS)
	@for b in $(BUILD_BENCH)/bench/*_bench; do echo "== $$b"; $$b --benchmark_repetitions=5 --benchmark_report_aggregates_only=true || exit 1; done

fuzz: deps
	@if ! command -v clang++ >/dev/null; then echo "fuzz: clang++ is not installed"; exit 1; fi
	CC=clang CXX=clang++ cmake -S . -B $(BUILD_FUZZ) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLA_FUZZ=ON -DVORLA_TESTS=OFF
	cmake --build $(BUILD_FUZZ) -j $(JOBS) --target worldfile_fuzz
	mkdir -p $(BUILD_FUZZ)/corpus
	$(BUILD_FUZZ)/fuzz/worldfile_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 $(BUILD_FUZZ)/corpus fuzz/seeds

# The web build: emscripten, with SDL2, FreeType and GoogleTest built for it from Debian's
# sources into the dependency cache (scripts/web-deps, once). Emscripten's tools need
# Debian's node modules, whichever node is installed; pkg-config must see the cache only.
WEB_DEPS   = $(or $(VORLA_DEPS_CACHE),$(or $(XDG_CACHE_HOME),$(HOME)/.cache)/vorla-deps)/wasm32-emscripten
WEB_ENV    = NODE_PATH=/usr/share/nodejs$(if $(NODE_PATH),:$(NODE_PATH)) \
             PKG_CONFIG_LIBDIR=$(WEB_DEPS)/lib/pkgconfig PKG_CONFIG_PATH=
WEB_CONFIG = $(WEB_ENV) emcmake cmake -S . -B $(BUILD_WEB) -DCMAKE_BUILD_TYPE=Release \
             -DCMAKE_FIND_ROOT_PATH=$(WEB_DEPS) -DCMAKE_CROSSCOMPILING_EMULATOR=node

web-build:
	@scripts/install-deps --web
	scripts/web-deps
	$(WEB_CONFIG)
	$(WEB_ENV) cmake --build $(BUILD_WEB) -j $(JOBS) --target vorla

# The page in $(WEB)/: index.html, vorla.js, vorla.wasm and the icon; any static file
# server serves it.
web: web-build
	rm -rf $(WEB)
	cp -r $(BUILD_WEB)/web $(WEB)

# The unit tests under node, and the page in headless Chromium.
test-web:
	@scripts/install-deps --web
	scripts/web-deps
	$(WEB_CONFIG) -DVORLA_WERROR=$(WERROR)
	$(WEB_ENV) cmake --build $(BUILD_WEB) -j $(JOBS)
	cd $(BUILD_WEB) && $(WEB_ENV) ctest --output-on-failure -j $(JOBS)

# The page's use of a processor core while idle, over 60 s in headless Chromium.
web-idle: web-build
	tests/web/chromium.sh $(BUILD_WEB)/web $(BUILD_WEB)/tests/web/idle idle_cpu.mjs 60

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(BUILD_ASAN) $(BUILD_RELEASE) $(BUILD_BENCH) $(BUILD_FUZZ) $(BUILD_RUN) build-package \
	  $(BUILD_WINDOWS) $(BUILD_WEB) $(WEB)
