# The two commands of the README, plus benchmarks.
#   make test                  install what is missing, build, run every test
#   make run                   install what is missing, build, start the application
#   make bench                 build and run the benchmarks, and Tavrin's
#                              propagation and idle figures (as root)
#   make test SANITIZE=address the same under a sanitizer, in its own build folder
SANITIZE ?=
BUILD ?= build$(if $(SANITIZE),-$(SANITIZE))
JOBS ?= $(shell nproc)
# The leak check at exit does not work under the i386 emulator and only slows
# every sanitized program (test discovery included) to a crawl. A failed
# allocation must return null, as without the sanitizer, so that the runtime's
# own out-of-memory policies are what the tests see. The quarantine of freed
# blocks is kept at 16 MB: at its default of 256 MB, beside the shadow memory,
# programs that allocate much run out of the 4 GB i386 address space and the
# sanitizer's own allocator stops with a failed internal check. Sanitized
# programs run several times slower: TIME_FACTOR stretches the tests' time-out.
ifneq ($(SANITIZE),)
export TIME_FACTOR := 4
export ASAN_OPTIONS := $(or $(ASAN_OPTIONS),detect_leaks=0:allocator_may_return_null=1:quarantine_size_mb=16)
endif

.PHONY: deps configure build test run bench clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_TOOLCHAIN_FILE=cmake/i386.cmake \
	  -DSANITIZE=$(SANITIZE) >/dev/null

build: configure
	@cmake --build $(BUILD) -j$(JOBS)

test: build
	@bash scripts/run-tests.sh $(BUILD)

run: build
	@bash scripts/run-app.sh $(BUILD)

bench: build
	@for b in $(BUILD)/bin/bench_*; do echo "== $$b"; scripts/i386-launcher.sh $$b; done
	@echo "== Tavrin between two network namespaces"; bash bench/tavrin_propagation.sh $(BUILD); \
	  status=$$?; [ $$status -eq 0 ] || [ $$status -eq 77 ]

clean:
	rm -rf build build-*
