# Entry points: `make test` installs what is missing, builds and runs every
# test; `make run` starts the window.
BUILD ?= build
JOBS ?= 2
DEPS = scripts/install-deps.sh

.PHONY: all build test run bench clean

all: build

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: deps-test $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

.PHONY: deps-test
deps-test:
	$(DEPS) build window cli

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

run: deps-test $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target tablomat
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
	  echo "make run: Tablomat is a window and needs a display, but neither DISPLAY nor WAYLAND_DISPLAY is set."; \
	  echo "Run it on a desktop, or under a virtual display: xvfb-run -a make run"; \
	  exit 1; \
	fi
	$(BUILD)/ui/tablomat

# Times every command on the benchmark grammars against bison.
bench:
	$(DEPS) build cli bench
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTABLOMAT_WINDOW=OFF -DTABLOMAT_BENCH=ON
	cmake --build build-bench -j $(JOBS) --target tablomat-bench
	build-bench/bench/tablomat-bench bench/grammars

clean:
	rm -rf $(BUILD) build-bench
