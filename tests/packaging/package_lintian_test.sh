#!/bin/bash
# lintian finds no error in the .deb. Its warnings are printed; the ones that stay, and why, are
# listed in packaging/README.md.
#   package_lintian_test.sh PACKAGE_DIR VERSION GUI(ON|OFF)
set -euo pipefail
package_dir=$1 version=$2
deb="$package_dir/sorrel_${version}_$(dpkg --print-architecture).deb"

# lintian refuses to run as root unless told; it only reads the package. (With --show-overrides
# it also fails on the overridden tags.)
lintian --allow-root --fail-on error --display-info "$deb"
echo "lintian: no errors"
