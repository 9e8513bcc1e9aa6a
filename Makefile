BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all build test demo check-asan clean format

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

format:
	clang-format -i $$(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h')

clean:
	rm -rf $(BUILD) build-asan
