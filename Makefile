# The whole set-up: `make run` to use Nookery, `make test` to check it.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

# The model and platform tests run a second time under ASan+UBSan; only their targets are built.
SANITIZE_BUILD ?= build-asan
SANITIZED_LABELS = model|platform
TSAN_BUILD ?= build-tsan
# `make fuzz`: each libFuzzer target for 60 s, seeded also with JSONTestSuite when it is there.
FUZZ_BUILD ?= build-fuzz
JSON_TEST_SUITE ?= $(CURDIR)/../shared/testdata/JSONTestSuite/test_parsing
# `make bench`: a Release build with the benchmarks, then one table of figures and baselines.
BENCH_BUILD ?= build-release
# `make lint`: the format check, then a quick unoptimised build with extra warnings as errors and,
# in the program and tools, no implicit casts from char strings.
LINT_BUILD ?= build-lint
# `make package`: the Debian package from a Release build with Debian's hardening flags, without
# the update checker; only the program and its installed files are built.
PACKAGE_BUILD ?= build-package
PACKAGE_FLAGS = DEB_BUILD_MAINT_OPTIONS=hardening=+all DEB_CXXFLAGS_MAINT_STRIP=-g dpkg-buildflags --get

.PHONY: deps configure build run test soak lint sanitized-test tsan-test fuzz bench demo package package-test stats

deps:
	@scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNOOKERY_WERROR=ON $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/nookery

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory sanitized-test
	@scripts/line-stats

# The random-gesture test at length; a failure prints the seed that replays it.
SOAK_GESTURES ?= 5000
soak: build
	@NOOKERY_GESTURES=$(SOAK_GESTURES) QTEST_FUNCTION_TIMEOUT=86400000 tests/harness/run-test xvfb-tray $(BUILD)/tests/app/tst_gestures

lint: deps
	@clang-format --dry-run -Werror $$(git ls-files '*.cpp' '*.h')
	@cmake -S . -B $(LINT_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DNOOKERY_WERROR=ON -DNOOKERY_LINT=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(LINT_BUILD) -j $(JOBS)

sanitized-test: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNOOKERY_WERROR=ON -DNOOKERY_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target \
		$$(cd $(SANITIZE_BUILD) && ctest -N -L '$(SANITIZED_LABELS)' | sed -n 's/^ *Test *#[0-9]*: //p')
	@cd $(SANITIZE_BUILD) && ctest --output-on-failure -j $(JOBS) -L '$(SANITIZED_LABELS)'

# The same tests under ThreadSanitizer; Debian's Qt is not instrumented, hence the suppressions.
tsan-test: deps
	@cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNOOKERY_WERROR=ON -DNOOKERY_TSAN=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS) --target \
		$$(cd $(TSAN_BUILD) && ctest -N -L '$(SANITIZED_LABELS)' | sed -n 's/^ *Test *#[0-9]*: //p')
	@cd $(TSAN_BUILD) && TSAN_OPTIONS="suppressions=$(CURDIR)/tests/robustness/tsan.supp die_after_fork=0" \
		ctest --output-on-failure -j $(JOBS) -L '$(SANITIZED_LABELS)'

fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
		-DNOOKERY_FUZZ=ON -DNOOKERY_FUZZ_SECONDS=60 -DNOOKERY_FUZZ_EXTRA_SEEDS="$(wildcard $(JSON_TEST_SUITE))" >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target run_fuzzers

bench: deps
	@cmake -S . -B $(BENCH_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DNOOKERY_WERROR=ON -DNOOKERY_BENCH=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS) --target benchmarks
	@bench/run $(BENCH_BUILD)

package: deps
	@cmake -S . -B $(PACKAGE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DNOOKERY_WERROR=ON -DNOOKERY_UPDATER=OFF \
		-DCMAKE_CXX_FLAGS="$$($(PACKAGE_FLAGS) CPPFLAGS) $$($(PACKAGE_FLAGS) CXXFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$($(PACKAGE_FLAGS) LDFLAGS)" $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(PACKAGE_BUILD) -j $(JOBS) --target nookery nookery_man_page nookery_changelog
	@rm -f $(PACKAGE_BUILD)/nookery_*.deb
	@cd $(PACKAGE_BUILD) && cpack

package-test: package
	@packaging/check-package $(PACKAGE_BUILD)/nookery_*.deb

demo: build
	@tools/demo $(BUILD)

# Lines of test code over lines of program code.
stats:
	@scripts/line-stats
