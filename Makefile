# The two commands:  make run   and   make test
# Both install what is missing (scripts/setup), configure and build.

BUILD   := build
JOBS    ?= $(shell nproc)
CMAKE   := cmake -G Ninja -Wno-dev

.PHONY: run test setup configure build clean

run: build
	scripts/run

test: build
	@scripts/write-test-index $(BUILD)
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

setup:
	@scripts/setup

configure: setup
	@[ -f $(BUILD)/native/CMakeCache.txt ] || $(CMAKE) -S . -B $(BUILD)/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
	@[ -f $(BUILD)/fuzz/CMakeCache.txt ]   || $(CMAKE) -S . -B $(BUILD)/fuzz -DY8_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	@[ -f $(BUILD)/win32/CMakeCache.txt ]  || $(CMAKE) -S . -B $(BUILD)/win32 --toolchain cmake/toolchain-i686.cmake -DCMAKE_BUILD_TYPE=Release
	@[ -f $(BUILD)/win64/CMakeCache.txt ]  || $(CMAKE) -S . -B $(BUILD)/win64 --toolchain cmake/toolchain-x86_64.cmake -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD)/native -j $(JOBS)
	cmake --build $(BUILD)/fuzz -j $(JOBS)
	cmake --build $(BUILD)/win32 -j $(JOBS)
	cmake --build $(BUILD)/win64 -j $(JOBS)

clean:
	rm -rf $(BUILD)
