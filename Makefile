# The two commands:  make run   and   make test
# Both install what is missing (scripts/setup), configure and build.

BUILD   := build
JOBS    ?= $(shell nproc)
CMAKE   := cmake -G Ninja -Wno-dev

.PHONY: run test dist bench coverage fuzz setup configure build clean

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

# The release package dist/y8-win32.zip: the i686 y8.exe, y8.chm, Y8.ini and the samples.
dist: configure
	cmake --build $(BUILD)/win32 -j $(JOBS) --target y8 y8_help
	cmake --build $(BUILD)/native -j $(JOBS) --target y8_ini_template
	scripts/dist $(BUILD)

# The editor's operations beside the GNU tools, in callgrind instructions per
# byte; prints the table and writes it into docs/PERFORMANCE.md.
bench: configure
	cmake --build $(BUILD)/native -j $(JOBS) --target y8_measure
	bench/run-bench.sh $(BUILD)/native

# Line and branch coverage of src/ by the native unit tests (docs/TESTING.md).
coverage: setup
	@[ -f $(BUILD)/coverage/CMakeCache.txt ] || $(CMAKE) -S . -B $(BUILD)/coverage -DY8_COVERAGE=ON -DCMAKE_BUILD_TYPE=Debug
	cmake --build $(BUILD)/coverage -j $(JOBS) --target y8_unit_tests
	find $(BUILD)/coverage -name '*.gcda' -delete
	cd $(BUILD)/coverage && ./y8_unit_tests --gtest_brief=1 >unit-tests.log 2>&1 || { tail -30 unit-tests.log; exit 1; }
	gcovr --root . --filter 'src/' --exclude-throw-branches --exclude-unreachable-branches \
	      --txt $(BUILD)/coverage/coverage.txt --print-summary $(BUILD)/coverage | tail -3

# The long fuzzing campaign (docs/RELIABILITY.md): RUNS keys of the key model, RUNS executions a target.
fuzz: build
	scripts/fuzz-campaign $(RUNS)

clean:
	rm -rf $(BUILD)
