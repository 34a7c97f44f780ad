# The two commands of the README: `make test` and `make run`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
CTEST_FLAGS ?= --output-on-failure --timeout 600

.PHONY: all deps build build-sanitize test run bench clean

all: build

deps:
	@sh scripts/deps.sh

build: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)

build-sanitize: deps
	cmake -S . -B $(SANITIZE_DIR) $(CMAKE_FLAGS) -DVARNO_SANITIZE=ON
	cmake --build $(SANITIZE_DIR)

test: build build-sanitize
	ctest --test-dir $(BUILD_DIR) $(CTEST_FLAGS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir $(SANITIZE_DIR) $(CTEST_FLAGS)

# Until the application has its window, and where there is no display, the main job
# runs from the command line: a sample tree cloned with varno-cli, and its report.
run: build
	@sh scripts/run-sample.sh $(BUILD_DIR)

# Benchmarks (not tests): varno-cli beside cp -a and rsync on loop-mounted volumes.
bench: build
	sh bench/clone_bench.sh $(BUILD_DIR)

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
