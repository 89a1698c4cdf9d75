#!/bin/bash
# Builds the .deb of a build tree into a directory of its own, as `make package` does into build/.
#   build_package.sh CPACK BUILD_DIR PACKAGE_DIR
set -euo pipefail
cpack=$1 build_dir=$2 package_dir=$3

rm -rf "$package_dir"
mkdir -p "$package_dir"
"$cpack" -G DEB --config "$build_dir/CPackConfig.cmake" -B "$package_dir" > "$package_dir/cpack.log" 2>&1 ||
  { cat "$package_dir/cpack.log"; exit 1; }
ls "$package_dir"/sorrel_*.deb
