# make run   - install what is missing, build the programs, stage build/dist, run the demo scan
# make test  - install what is missing, build, stage build/dist, run every test
# make bench - build and run the benchmarks
# make package - build the Debian package $(BUILD_DIR)/sorrel_<version>_<arch>.deb
# SANITIZE=1 builds in build-sanitize/ with AddressSanitizer and UndefinedBehaviorSanitizer.

# The one list of Debian packages the project needs to build, test and run.
PACKAGES := build-essential cmake pkg-config libgtest-dev libgmock-dev \
            libsqlite3-dev sqlite3 libssl-dev zlib1g-dev \
            qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n \
            fonts-wqy-microhei xvfb xauth util-linux mount xdg-utils \
            dpkg-dev help2man lintian desktop-file-utils init-system-helpers

# The project's own builds treat warnings as errors; a plain CMake build does not.
CMAKE_FLAGS += -DSORREL_WERROR=ON

ifeq ($(SANITIZE),1)
BUILD_DIR ?= build-sanitize
CMAKE_FLAGS += -DSORREL_SANITIZE=ON
else
BUILD_DIR ?= build
endif
DIST := $(BUILD_DIR)/dist
JOBS ?= $(shell nproc)
SCAN ?=

.PHONY: all deps configure build programs test run bench package clean

all: build

# apt runs only for packages that are not installed yet; without root it runs through sudo.
deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  sudo=; \
	  if [ "$$(id -u)" -ne 0 ]; then \
	    if ! command -v sudo >/dev/null 2>&1; then \
	      echo "Missing packages:" $$missing >&2; \
	      echo "Installing them needs root: run this as root, or install sudo." >&2; \
	      exit 1; \
	    fi; \
	    sudo=sudo; \
	    echo "Not running as root: installing the missing packages through sudo."; \
	  fi; \
	  echo "Installing:" $$missing; \
	  $$sudo apt-get update -qq && $$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Only what the demo runs: the three programs and the staged program directory.
programs: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target sorrel_stage

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

run: programs
	./scripts/demo-scan.sh $(DIST) $(BUILD_DIR)/demo "$(SCAN)"

bench: build
	cmake --build $(BUILD_DIR) -j $(JOBS) --target benches
	@for b in $(BUILD_DIR)/bench/bench_*; do echo "== $$b"; "$$b" || exit 1; done

package: build
	cmake --build $(BUILD_DIR) --target package

clean:
	rm -rf build build-sanitize
