# The two everyday commands: `make run` and `make test`. Each installs what is
# missing first (Debian packages, as root or through sudo).
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test install package package-check sanitize valgrind check fuzz format format-check clean bench bench-check

all: build

# The tests also run the program on an X display of their own (Xvfb).
deps:
	scripts/install-deps build x11

configure: deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/orvanta

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Installs the programs and their files under PREFIX (DESTDIR=/some/folder
# to stage them there instead).
PREFIX ?= /usr/local
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package, build/orvanta_<version>_<arch>.deb, made from the same
# build as the tests, under /usr; docs/packaging.md says what is in it.
package: build
	scripts/install-deps package
	cd $(BUILD) && cpack -G DEB

# The package checked with desktop-file-validate, appstreamcli, man and
# lintian, and its files, modes and icons checked one by one.
package-check: package
	scripts/check-package $(BUILD)

# Every test again, the end-to-end tests included, built with
# AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZE_BUILD ?= build-asan
sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -DORVANTA_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_BUILD) -j $(JOBS) \
	  --target logic_tests qt_tests nm_tests client_tests prometheus_tests orvanta orvanta-client navctrl_ocx \
	    icons compressed_docs
	cd $(SANITIZE_BUILD) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --output-on-failure -j $(JOBS)

# The logic's unit tests under valgrind's memcheck: any error or leak fails.
valgrind: build
	scripts/install-deps build valgrind
	valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite,indirect \
	  --quiet ./$(BUILD)/logic_tests --gtest_brief=1

# What CI runs: the tests, the sanitizer build, valgrind, the fuzzers, the
# Release build with the benchmark's tests and the format check.
check: test sanitize valgrind fuzz bench-check format-check

# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS.
FUZZ_SECONDS ?= 30
fuzz:
	scripts/install-deps build fuzz
	scripts/run-fuzzers $(FUZZ_SECONDS)

# The whole Release configuration (-O3 shows warnings that the other builds
# do not), the benchmark with it, and the benchmark's own tests.
BENCH_BUILD ?= build-bench
bench-check: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS)
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target orvanta_bench bench_tests
	$(BENCH_BUILD)/bench_tests

# Orvanta's speed and footprint beside minimal baselines, in that Release
# build: its checks first, then one table (docs/performance.md explains it).
bench: bench-check
	$(BENCH_BUILD)/orvanta_bench

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

format-check:
	git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(BENCH_BUILD) build-fuzz
