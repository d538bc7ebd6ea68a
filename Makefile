# The two commands of the README: `make run` and `make test`.
# Both install missing packages, configure and build first.

CI ?=
WERROR := $(if $(CI),ON,OFF)
JOBS ?= $(shell nproc 2>/dev/null || sysctl -n hw.ncpu 2>/dev/null || echo 2)
# Leak detection exists only in the Linux runtime of AddressSanitizer; Apple's aborts with it.
ASAN_LEAKS := $(if $(filter Linux,$(shell uname -s)),detect_leaks=1,)

.PHONY: run test bundle deps build build-asan build-tsan test-default test-asan test-tsan bench package format clean

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

test-default: build
	ctest --preset default -j $(JOBS)

test-asan: build-asan
	ASAN_OPTIONS=$(ASAN_LEAKS) UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j $(JOBS)

test-tsan: build-tsan
	TSAN_OPTIONS=halt_on_error=1 ctest --preset tsan -j $(JOBS)

test: test-default test-asan test-tsan

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
