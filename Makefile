# The two commands of the README: `make test` and `make run`.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
CTEST_FLAGS ?= --output-on-failure --timeout 600

.PHONY: all deps build build-sanitize test run clean

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

run: build
	@echo "Built the package: $(BUILD_DIR)/Varno.app"
	@find $(BUILD_DIR)/Varno.app -type f | sort
	@echo "The Varno application itself comes in a later version; the package holds its root tools so far."

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR)
