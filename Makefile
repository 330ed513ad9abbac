# Thin wrapper over CMake so a fresh Debian 12 or 13 machine needs two
# commands:
#   make run    build Lumasio and start it
#   make test   build and run every test: sanitized, short fuzz runs, plain
# and, for development:
#   make deps            install the Debian packages that all this needs
#   make build           build, in build/
#   make test-plain      the tests of that build
#   make test-sanitized  the tests built with AddressSanitizer and UBSan
#   make lint   clang-format (dry run) and clang-tidy on every source, the
#               Windows-only ones read for Windows (make lint-windows, below)
#   make fuzz   each fuzz target for FUZZ_SECONDS seconds (default 60)
#   make bench  the benchmarks, with their ratios
#   make bench-windows  the start-up benchmark under Wine, against Windows'
#                       own floor too
#   make install PREFIX=/usr/local    install Lumasio under PREFIX
#   make package                      a Debian package, in build/
#   make clean                        remove every build folder
# and, for Windows, cross-built with Debian 13's MinGW-w64 and Qt and tested
# under its Wine. On another release these five run in a Debian 13 root that
# scripts/debian13 makes and keeps in the cache, with the same folders:
#   make windows-configure  configure build-windows/, building Qt first
#   make lint-windows       clang-tidy on the Windows-only sources, with
#                       no need of Qt for Windows
#   make windows            the zip and the installer, in build-windows/
#   make test-windows       the tests, built for Windows and run under Wine
#   make release            a release, built from the last commit in a folder
#                       of its own, the same bytes on every run (see
#                       docs/releasing.md): the zip, the installer and the
#                       Debian package, with SHA256SUMS, in release/; signed
#                       with the publisher's certificate when given
#                       SIGN_PKCS12=cert.p12 SIGN_PASSWORD_FILE=file
#                       [SIGN_TIMESTAMP_URL=url]
#   make test-debian13      on another release: the Linux build and its plain
#                       tests, the package checks among them, in the root,
#                       in build-debian13/
# A release is built in the root on every host, Debian 13 too, so its
# build-info lists the root's packages, and built again from that alone:
#   make rebuild BUILDINFO=release/lumasio_VERSION.buildinfo
#                       a fresh root with exactly the packages it lists,
#                       Qt built afresh, the commit built into rebuild/ and
#                       compared with its checksums (docs/releasing.md)

# Each build's folder. CMakePresets.json says how each is configured and
# names these same folders for a plain `cmake --preset`; make hands its own
# folder to cmake with -B, so the folder it configures is always the one it
# builds and tests, including one given as make BUILD_DIR=x.
BUILD_DIR ?= build
SANITIZE_DIR ?= build-sanitize
FUZZ_DIR ?= build-fuzz
WINDOWS_DIR ?= build-windows
DEBIAN13_DIR ?= build-debian13
RELEASE_DIR ?= release
REBUILD_DIR ?= rebuild
CMAKE_FLAGS ?=
CPACK ?= cpack
CTEST_FLAGS ?= --output-on-failure --parallel 2
FUZZ_SECONDS ?= 60

PREFIX ?= /usr/local
BENCH_DIR ?= build-bench
WINDOWS_BENCH_DIR ?= build-windows-bench
STARTUP_RUNS ?= 30
BENCH_CONFIGURE = cmake -S . -B $(BENCH_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	-DLUMASIO_BENCH=ON -DBUILD_TESTING=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON $(CMAKE_FLAGS)

.PHONY: all deps build run test test-plain test-sanitized fuzz lint bench install package clean \
	windows-configure windows test-windows bench-windows release rebuild test-debian13 lint-windows


all: build

deps:
	@bash scripts/install-deps

build: deps
	cmake --preset default -B $(BUILD_DIR) $(CMAKE_FLAGS)
	cmake --build $(BUILD_DIR)

run: build
	$(BUILD_DIR)/app/lumasio

# The full suite runs last so its summary closes the output.
test: deps
	$(MAKE) --no-print-directory test-sanitized
	$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=10
	$(MAKE) --no-print-directory test-plain

test-plain: build
	ctest --test-dir $(BUILD_DIR) $(CTEST_FLAGS)

# AddressSanitizer and UndefinedBehaviorSanitizer; the first report fails.
test-sanitized: deps
	cmake --preset sanitize -B $(SANITIZE_DIR) $(CMAKE_FLAGS)
	cmake --build $(SANITIZE_DIR)
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
		ctest --test-dir $(SANITIZE_DIR) $(CTEST_FLAGS)

fuzz: deps
	cmake --preset fuzz -B $(FUZZ_DIR) $(CMAKE_FLAGS)
	cmake --build $(FUZZ_DIR) --target fuzzers
	FUZZ_SECONDS=$(FUZZ_SECONDS) ctest --test-dir $(FUZZ_DIR) -L fuzz --output-on-failure

install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

package: build
	cd $(BUILD_DIR) && $(CPACK) -G DEB

clean:
	rm -rf $(BUILD_DIR) $(SANITIZE_DIR) $(FUZZ_DIR) $(BENCH_DIR) $(WINDOWS_DIR) $(DEBIAN13_DIR) \
		$(WINDOWS_BENCH_DIR)

# The Windows side needs Debian 13; elsewhere its targets run again in the
# root, as the user who runs make, with the same folders, as the checkout is
# seen at the same path there. A release takes Debian's newest fixes first.
WINDOWS_TARGETS = windows-configure windows test-windows bench-windows
DEBIAN_RELEASE := $(shell . /etc/os-release 2>/dev/null && echo "$$ID $$VERSION_ID")
ifneq ($(DEBIAN_RELEASE),debian 13)
$(WINDOWS_TARGETS):
	bash scripts/debian13 $(MAKE) --no-print-directory $@
test-debian13:
	bash scripts/debian13 $(MAKE) --no-print-directory test-plain BUILD_DIR=$(DEBIAN13_DIR)
lint-windows:
	bash scripts/debian13 $(MAKE) --no-print-directory $@ BUILD_DIR=$(DEBIAN13_DIR)
else
test-debian13: test-plain

# Qt for Windows is built once from Debian's sources and cached. When its
# options or the packages that build it change it lands in a new prefix, and
# a build folder configured for it starts from a fresh cache so no path into
# the old one survives.
#   $(call configure_windows,FOLDER,CMAKE ARGUMENTS)
define configure_windows
@bash scripts/install-deps windows
@qt=$$(bash scripts/build-qt-windows) && \
if grep -qx "CMAKE_PREFIX_PATH:PATH=$$qt" $(1)/CMakeCache.txt 2>/dev/null; \
	then fresh=; else fresh=--fresh; fi && \
cmake --preset windows -B $(1) $$fresh -DCMAKE_PREFIX_PATH:PATH="$$qt" $(2) $(CMAKE_FLAGS)
endef

windows-configure:
	$(call configure_windows,$(WINDOWS_DIR))

windows: windows-configure
	cmake --build $(WINDOWS_DIR) --target lumasio
	cd $(WINDOWS_DIR) && $(CPACK)

# The Wine prefix is made before ctest starts timing the test listings.
test-windows: windows-configure
	cmake --build $(WINDOWS_DIR)
	$(WINDOWS_DIR)/wine-run
	ctest --test-dir $(WINDOWS_DIR) $(CTEST_FLAGS)
	@n=$$(grep -c 'starting it again' $(WINDOWS_DIR)/wine/wine-run.log 2>/dev/null || true); \
	if [ "$${n:-0}" -gt 0 ]; then echo "test-windows: $$n program(s) needed a second start under Wine"; fi

# Lumasio, its start-up yardsticks and Windows' own floor, built for Windows
# and timed under Wine (scripts/bench-windows).
bench-windows:
	$(call configure_windows,$(WINDOWS_BENCH_DIR),-DLUMASIO_BENCH=ON -DBUILD_TESTING=OFF)
	cmake --build $(WINDOWS_BENCH_DIR)
	bash scripts/bench-windows $(WINDOWS_BENCH_DIR) $(STARTUP_RUNS)

# The Linux build's configuration gives the compile commands: no Qt for
# Windows is needed to lint its Windows-only sources.
lint-windows:
	@bash scripts/install-deps windows
	cmake --preset default -B $(BUILD_DIR) $(CMAKE_FLAGS)
	BUILD_DIR=$(BUILD_DIR) bash scripts/lint windows

endif

# SIGN_* reach scripts/release through the environment, as make exports
# variables given on its command line.
ifeq ($(LUMASIO_IN_ROOT),)
release:
	@bash scripts/install-deps
	LUMASIO_ROOT_UPGRADE=1 bash scripts/debian13 $(MAKE) --no-print-directory $@
else
release:
	bash scripts/release $(RELEASE_DIR)
endif

rebuild:
	@test -n "$(BUILDINFO)" || { echo "usage: make rebuild BUILDINFO=path/lumasio_VERSION.buildinfo" >&2; exit 2; }
	@bash scripts/install-deps
	bash scripts/rebuild $(BUILDINFO) $(REBUILD_DIR)

lint: build
	cmake --preset fuzz -B $(FUZZ_DIR) $(CMAKE_FLAGS)
	$(BENCH_CONFIGURE)
	cmake --build $(BENCH_DIR) --target startup_plain_form_autogen
	BUILD_DIR=$(BUILD_DIR) FUZZ_DIR=$(FUZZ_DIR) BENCH_DIR=$(BENCH_DIR) bash scripts/lint
	$(MAKE) --no-print-directory lint-windows


bench: deps
	$(BENCH_CONFIGURE)
	cmake --build $(BENCH_DIR)
	$(BENCH_DIR)/bench/bench_limit_text
	$(BENCH_DIR)/bench/bench_startup $(STARTUP_RUNS) $(BENCH_DIR)/bench/startup_lumasio \
		$(BENCH_DIR)/bench/startup_plain_form $(BENCH_DIR)/bench/startup_bare
	xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" env BENCH_FRAME=x11 QT_QPA_PLATFORM=xcb \
		$(BENCH_DIR)/bench/bench_startup $(STARTUP_RUNS) $(BENCH_DIR)/app/lumasio \
		$(BENCH_DIR)/bench/startup_plain_form $(BENCH_DIR)/bench/startup_bare
