# Entry points: `make test` installs what is missing, builds and runs every
# test; `make run` starts the window.
BUILD ?= build
JOBS ?= 2
DEPS = scripts/install-deps.sh

.PHONY: all build test run sanitize fuzz bench package clean web

all: build

# CI (where CI is set) treats compiler warnings as errors.
$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABLOMAT_WERROR=$(if $(CI),ON,OFF)

build: $(BUILD)/deps.stamp $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# The packages are checked once per build folder, and again when the list changes.
$(BUILD)/deps.stamp: $(DEPS)
	$(DEPS) build window cli
	mkdir -p $(BUILD) && touch $@

test: build $(BUILD)/test-deps.stamp web
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

$(BUILD)/test-deps.stamp: $(DEPS)
	$(DEPS) test
	mkdir -p $(BUILD) && touch $@

# The Debian package of both programs; its desktop files checked by the
# desktop's own tools, the package by lintian (errors fail it).
package: build
	$(DEPS) package
	cmake $(BUILD)
	cd $(BUILD) && cpack -G DEB
	packaging/validate_test.sh packaging/org.tablomat.Tablomat.desktop \
	  $(BUILD)/packaging/staged/org.tablomat.Tablomat.metainfo.xml packaging/org.tablomat.Tablomat.mime.xml
	lintian --fail-on error $(BUILD)/tablomat_*.deb

# The web edition: the library compiled to WebAssembly by Debian's emscripten,
# the command-line tool for Node.js and the static site in $(WEB_BUILD)/site.
WEB_BUILD ?= build-web
# Debian's emscripten runs its JavaScript tools with Debian's node modules
# (acorn), which a nodejs from elsewhere does not look for.
WEB_ENV = NODE_PATH=/usr/share/nodejs
web: $(WEB_BUILD)/deps.stamp web/node_modules/.package-lock.json $(WEB_BUILD)/CMakeCache.txt
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS) --target tablomat-cli tablomat-web
	cd web && node scripts/build.mjs ../$(WEB_BUILD)/web ../$(WEB_BUILD)/site

$(WEB_BUILD)/deps.stamp: $(DEPS)
	$(DEPS) web
	mkdir -p $(WEB_BUILD) && touch $@

# The npm packages exactly as the lock file pins them; never a browser download.
web/node_modules/.package-lock.json: web/package-lock.json
	cd web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund

$(WEB_BUILD)/CMakeCache.txt: web/node_modules/.package-lock.json
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG"

run: $(BUILD)/deps.stamp $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target tablomat
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "make run: Tablomat is a window and needs a display, but neither DISPLAY nor WAYLAND_DISPLAY is set."; \
	  echo "Run it on a desktop, or under a virtual display: xvfb-run -a make run"; \
	  exit 1; \
	fi
	$(BUILD)/ui/tablomat

# Every test again, built with AddressSanitizer (leaks included) and
# UndefinedBehaviorSanitizer.
SANITIZE_FLAGS = -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer
sanitize: build-sanitize/deps.stamp
	cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS=$(SANITIZE_FLAGS)" \
	  "-DCMAKE_EXE_LINKER_FLAGS=$(SANITIZE_FLAGS)"
	cmake --build build-sanitize -j $(JOBS)
	cd build-sanitize && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 ctest --output-on-failure -j $(JOBS)

build-sanitize/deps.stamp: $(DEPS)
	$(DEPS) build window cli
	mkdir -p build-sanitize && touch $@

# Fuzzes each target for its share of FUZZ_SECONDS from the kept corpus,
# with the dictionary of the notation, trying inputs up to the target's
# largest (name:bytes); an input that fails is written to
# fuzz/corpus/regression, which `make test` runs through every target.
# Each target ends with its rate and the largest input of its corpus.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = reading:65536 sets:32768 ll1:16384 writers:16384 trees:8192 transform:256 analysis:4096
FUZZ_FLAGS = -fsanitize=address,undefined,fuzzer-no-link -fno-sanitize-recover=all -fno-omit-frame-pointer
fuzz:
	$(DEPS) build fuzz
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABLOMAT_WINDOW=OFF \
	  -DTABLOMAT_CLI=OFF -DTABLOMAT_FUZZ=ON "-DCMAKE_CXX_FLAGS=$(FUZZ_FLAGS)"
	cmake --build build-fuzz -j $(JOBS) --target $(foreach t,$(FUZZ_TARGETS),tablomat_fuzz_$(firstword $(subst :, ,$(t))))
	share=$$(( $(FUZZ_SECONDS) / $(words $(FUZZ_TARGETS)) )); [ $$share -ge 5 ] || share=5; \
	for spec in $(FUZZ_TARGETS); do \
	  name=$${spec%%:*}; bytes=$${spec##*:}; corpus=build-fuzz/corpus/$$name; \
	  mkdir -p $$corpus && cp fuzz/corpus/seed/* $$corpus/ && \
	  find fuzz/corpus/regression -type f ! -name '.*' -exec cp {} $$corpus/ \; && \
	  echo "== $$name: $$share s, inputs up to $$bytes bytes" && \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp build-fuzz/fuzz/tablomat_fuzz_$$name -max_total_time=$$share \
	    -max_len=$$bytes -len_control=0 -dict=fuzz/notation.dict -timeout=30 -rss_limit_mb=4096 -print_final_stats=1 \
	    -artifact_prefix=fuzz/corpus/regression/$$name- $$corpus > build-fuzz/$$name.log 2>&1; \
	  status=$$?; grep -E '^stat::|SUMMARY|property failed|artifact|ERROR' build-fuzz/$$name.log; \
	  echo "$$name: largest input $$(find $$corpus -type f -printf '%s\n' | sort -n | tail -1) bytes"; \
	  [ $$status -eq 0 ] || exit $$status; \
	done

# Times every command on the benchmark grammars against bison.
bench:
	$(DEPS) build cli bench
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABLOMAT_WINDOW=OFF -DTABLOMAT_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target tablomat-bench
	build-bench/bench/tablomat-bench bench/grammars

clean:
	rm -rf $(BUILD) build-bench build-sanitize build-fuzz $(WEB_BUILD)
