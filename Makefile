# Velmora front door: make run, make test, make check.
BUILD      ?= build
CHECKBUILD ?= build-check
FUZZBUILD  ?= build-fuzz
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

PREFIX     ?= /usr/local

.PHONY: all deps configure build run test check fuzz bench archives install deb clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

run: build
	cd $(BUILD)/game && ../velmora

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
check: deps
	cmake -S . -B $(CHECKBUILD) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF $(CMAKE_ARGS)
	cmake --build $(CHECKBUILD) -j$(JOBS)
	cd $(CHECKBUILD) && ASAN_OPTIONS=detect_leaks=0 ctest --output-on-failure -j$(JOBS)

# libFuzzer targets for the file readers; FUZZ_SECONDS each. Each starts
# from its seeds in fuzz/corpus/<target>/ (fuzz/make-corpus.sh), copied to
# $(FUZZBUILD)/corpus/<target>/, where the inputs it finds collect across
# runs; crash inputs land in $(FUZZBUILD)/artifacts/.
FUZZ_SECONDS ?= 30
fuzz: deps
	@tools/install-deps.sh tools/debian-packages-fuzz.txt
	CC=clang CXX=clang++ cmake -S . -B $(FUZZBUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DVELMORA_FUZZ=ON -DVELMORA_TESTS=OFF -DVELMORA_BENCH=OFF -DVELMORA_CONTENT=OFF \
	  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined"
	cmake --build $(FUZZBUILD) -j$(JOBS)
	mkdir -p $(FUZZBUILD)/artifacts
	for f in $(FUZZBUILD)/fuzz/fuzz_*; do [ -x "$$f" ] || continue; \
	  name=$${f##*/fuzz_}; work=$(FUZZBUILD)/corpus/$$name; mkdir -p "$$work"; \
	  if [ -d fuzz/corpus/$$name ]; then cp fuzz/corpus/$$name/* "$$work"/; fi; \
	  "$$f" -max_total_time=$(FUZZ_SECONDS) -artifact_prefix=$(FUZZBUILD)/artifacts/ "$$work" || exit 1; \
	done

bench: build
	for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

# Packs each data directory of the built game into an encrypted archive.
archives: build
	cd $(BUILD)/game && for d in Graphics Sounds Data; do \
	  if [ -d "$$d" ]; then ../velmora-pack "$$d" "$$d.dat" || exit 1; fi; done

# The game, its tools, data, desktop entry, icons and manual page under
# PREFIX (DESTDIR is honoured). VELMORA_INSTALL_ARCHIVES=ON in CMAKE_ARGS
# installs the data as encrypted archives.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# A Debian package of the same files for /usr, in $(BUILD)/.
deb: build
	cd $(BUILD) && cpack -G DEB

clean:
	rm -rf $(BUILD) $(CHECKBUILD) $(FUZZBUILD)

# Every built picture on one sheet, for looking at: $(BUILD)/contact-sheet.png.
.PHONY: contact-sheet
contact-sheet: configure
	cmake --build $(BUILD) --target contact-sheet -j$(JOBS)

# The first 20 seconds of every music number, in order, in one file for
# listening: $(BUILD)/music-preview.ogg.
.PHONY: music-preview
music-preview: configure
	cmake --build $(BUILD) --target content_audio -j$(JOBS)
	tools/music-preview.sh $(BUILD)/game $(BUILD)/music-preview.ogg
