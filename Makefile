BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Sources under clang-format: the program, the tests, the fuzz target and the benchmark.
FORMAT_DATEIEN = $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'bench/*.cpp')

FUZZ_BUILD ?= build-fuzz
FUZZ_SEKUNDEN ?= 600

.PHONY: all build test demo check-asan fuzz clean format check-format

all: build

$(BUILD)/Makefile:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: $(BUILD)/Makefile
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: $(BUILD)/Makefile
	cmake --build $(BUILD) --target mpm -j $(JOBS)
	cd examples && ../$(BUILD)/mpm balken
	@echo "Ergebnisse: examples/balken.* (Kontrollprotokoll examples/balken.kt1.txt, Fehlerprotokoll examples/balken.flr.txt)"

check-asan:
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMPM_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS)

# libFuzzer run (clang++) of FUZZ_SEKUNDEN seconds over the seed corpus
# fuzz/korpus; new inputs go to $(FUZZ_BUILD)/korpus, findings to
# $(FUZZ_BUILD)/funde. The run files live in memory where /dev/shm exists.
fuzz:
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" -DMPM_FUZZ=ON \
	  -DBUILD_TESTING=OFF
	cmake --build $(FUZZ_BUILD) --target mpm-fuzz -j $(JOBS)
	mkdir -p $(FUZZ_BUILD)/korpus $(FUZZ_BUILD)/funde
	TMPDIR=$$(if [ -d /dev/shm ] && [ -w /dev/shm ]; then echo /dev/shm; else echo $${TMPDIR:-/tmp}; fi) \
	$(FUZZ_BUILD)/mpm-fuzz $(FUZZ_BUILD)/korpus fuzz/korpus -dict=fuzz/mpm.dict -max_len=4096 -timeout=30 \
	  -rss_limit_mb=2048 -malloc_limit_mb=256 -max_total_time=$(FUZZ_SEKUNDEN) \
	  -artifact_prefix=$(FUZZ_BUILD)/funde/ -print_final_stats=1

format:
	clang-format -i $(FORMAT_DATEIEN)

check-format:
	clang-format --dry-run --Werror $(FORMAT_DATEIEN)

clean:
	rm -rf $(BUILD) build-asan $(FUZZ_BUILD)
