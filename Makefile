# Thin wrapper over CMake so a fresh Debian 12 machine needs two commands:
#   make run    build Lumasio and start it
#   make test   build and run every test
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
CMAKE_FLAGS ?=
CTEST_FLAGS ?= --output-on-failure --parallel 2

.PHONY: all deps configure build run test clean

all: build

deps:
	@bash scripts/install-deps

configure: deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DLUMASIO_WERROR=ON $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR)

run: build
	$(BUILD_DIR)/app/lumasio

test: build
	ctest --test-dir $(BUILD_DIR) $(CTEST_FLAGS)

clean:
	rm -rf $(BUILD_DIR)
