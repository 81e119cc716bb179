# Everything starts here. `make demo` and `make test` set up a fresh Debian
# machine (packages, cross build, Wine prefix) before they run.

BUILD := build
X64 := $(BUILD)/x86_64
X86 := $(BUILD)/i686
JOBS := $(shell nproc)

.PHONY: all deps build build-i686 prefix register demo test bench fuzz docs dist clean

all: build

deps:
	@tools/install-deps

$(X64)/CMakeCache.txt: | deps
	cmake -S . -B $(X64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release

$(X86)/CMakeCache.txt: | deps
	cmake -S . -B $(X86) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release

build: $(X64)/CMakeCache.txt
	cmake --build $(X64) -j $(JOBS)

build-i686: $(X86)/CMakeCache.txt
	cmake --build $(X86) -j $(JOBS)

prefix: deps
	@tools/wine-prefix

register: build build-i686 prefix
	@tools/register

# The gallery (gallery/index.html), then the C++ client that shows an
# effect's progress.
demo: register
	tools/wine-run cscript //nologo examples/gallery.vbs
	tools/wine-run $(X64)/bin/progress.exe "Z:$(CURDIR)/gallery/progress.png"

test: register
	tools/run-tests

# ImageMagick's convert, which the effects are measured against, is
# installed for the benchmarks only.
bench: register
	@tools/install-deps imagemagick
	tools/run-bench

# The dispatch fuzzer: make fuzz SEED=7 CALLS=1000000 (TRACE=n prints every
# call from number n on, to replay a failure).
SEED ?= 1
CALLS ?= 100000
fuzz: register
	tools/run-fuzz $(SEED) $(CALLS) $(TRACE)

# The reference, written from the type libraries of the built DLLs.
docs: register
	tools/wine-run $(X64)/bin/typelib-reference.exe "Z:$(CURDIR)/docs/reference.md"

# The release package: dist/kolorit-<version>.zip.
dist: build build-i686
	tools/make-dist

clean:
	rm -rf $(BUILD)
