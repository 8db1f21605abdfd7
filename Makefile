# The two commands of the README: `make run` and `make test`. Both install what is missing first.
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
RUN_DIR    := $(BUILD)/bin

.PHONY: all deps build build-asan test run bench package clean format

all: build

deps:
	@bash scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD) -j $(JOBS)

# The engine's unit tests again, built with AddressSanitizer and UBSan.
build-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVK_CORE_ONLY=ON -DVK_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS)

test: build build-asan
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	cd $(ASAN_BUILD) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j $(JOBS)

# Puts the sample library and the help pages beside the program and starts it.
run: build
	cp -f data/Library.bin $(RUN_DIR)/Library.bin
	rm -rf $(RUN_DIR)/docs && cp -r docs $(RUN_DIR)/docs
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ] && [ -z "$$QT_QPA_PLATFORM" ]; then \
	  echo "No display here: run the headless scanner instead: $(RUN_DIR)/velkorvan-cli scan --dir $(RUN_DIR)"; \
	else \
	  $(RUN_DIR)/velkorvan $(CURDIR)/$(RUN_DIR); \
	fi

# The Debian package $(BUILD)/velkorvan_<version>_<arch>.deb.
package: build
	cmake --build $(BUILD) --target package

bench: build
	@bash scripts/run-benchmarks $(BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')
