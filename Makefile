# The whole set-up: `make run` to use Nookery, `make test` to check it.
BUILD ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

# The model and platform tests run a second time under ASan+UBSan; only their targets are built.
SANITIZE_BUILD ?= build-asan
SANITIZED_LABELS = model|platform
# `make fuzz`: each libFuzzer target for 60 s, seeded also with JSONTestSuite when it is there.
FUZZ_BUILD ?= build-fuzz
JSON_TEST_SUITE ?= /work/shared/testdata/JSONTestSuite/test_parsing

.PHONY: deps configure build run test sanitized-test fuzz

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

sanitized-test: deps
	@cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DNOOKERY_WERROR=ON -DNOOKERY_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target \
		$$(cd $(SANITIZE_BUILD) && ctest -N -L '$(SANITIZED_LABELS)' | sed -n 's/^ *Test *#[0-9]*: //p')
	@cd $(SANITIZE_BUILD) && ctest --output-on-failure -j $(JOBS) -L '$(SANITIZED_LABELS)'

fuzz: deps
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
		-DNOOKERY_FUZZ=ON -DNOOKERY_FUZZ_SECONDS=60 -DNOOKERY_FUZZ_EXTRA_SEEDS="$(wildcard $(JSON_TEST_SUITE))" >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target run_fuzzers
