# The two commands of the README: `make run` and `make test`.
# Both install missing packages, configure and build first.

CI ?=
WERROR := $(if $(CI),ON,OFF)
JOBS ?= $(shell nproc 2>/dev/null || sysctl -n hw.ncpu 2>/dev/null || echo 2)
# Leak detection exists only in the Linux runtime of AddressSanitizer; Apple's aborts with it.
ASAN_LEAKS := $(if $(filter Linux,$(shell uname -s)),detect_leaks=1,)

.PHONY: run test bundle deps build build-asan build-tsan build-fuzz test-default test-asan \
	test-tsan test-fuzz fuzz bench package format clean

# Seconds each fuzz target runs: in `make test` (a smoke run) and in `make fuzz`.
FUZZ_SMOKE_SECONDS ?= 10
FUZZ_SECONDS ?= 600

deps:
	@scripts/install-deps

build: deps
	cmake --preset default -DORVANE_WERROR=$(WERROR) >/dev/null
	cmake --build --preset default -j $(JOBS)

build-asan: deps
	cmake --preset asan -DORVANE_WERROR=$(WERROR) >/dev/null
	cmake --build --preset asan -j $(JOBS)

build-tsan: deps
	cmake --preset tsan -DORVANE_WERROR=$(WERROR) >/dev/null
	cmake --build --preset tsan -j $(JOBS)

build-fuzz: deps
	cmake --preset fuzz -DORVANE_WERROR=$(WERROR) >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

test-default: build
	ctest --preset default -j $(JOBS)

test-asan: build-asan
	ASAN_OPTIONS=$(ASAN_LEAKS) UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j $(JOBS)

test-tsan: build-tsan
	TSAN_OPTIONS=halt_on_error=1 ctest --preset tsan -j $(JOBS)

# The fuzz targets need clang with libFuzzer; without it (Apple's clang) the smoke run is skipped.
test-fuzz: deps
	@if fuzz/can-build; then \
		$(MAKE) --no-print-directory build-fuzz && fuzz/run --smoke $(FUZZ_SMOKE_SECONDS); \
	else \
		echo "No clang with libFuzzer here: the fuzz smoke run is skipped"; \
	fi

fuzz: build-fuzz
	fuzz/run $(FUZZ_SECONDS)

test: test-default test-asan test-tsan test-fuzz

run: build
	@scripts/run

# A Debian package in build/default: `apt install ./build/default/orvane_*.deb`.
package: build
	cmake --build --preset default --target package

# macOS: a self-contained, ad-hoc signed Orvane.app (scripts/bundle).
bundle: build
	@scripts/bundle

bench: build
	@scripts/bench

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h' '*.mm')

clean:
	rm -rf build
