#!/bin/bash
# The .deb as dpkg-deb shows it: control fields and dependencies, every shipped file with its
# mode, owner and link target, and nothing of the operator's data.
#   package_contents_test.sh PACKAGE_DIR VERSION GUI(ON|OFF)
set -euo pipefail
package_dir=$1 version=$2 gui=$3
arch=$(dpkg --print-architecture)
deb="$package_dir/sorrel_${version}_${arch}.deb"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

[ -f "$deb" ] || { echo "FAIL: no $deb"; ls -l "$package_dir"; exit 1; }
info=$(dpkg-deb --info "$deb")
echo "$info"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = sorrel ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"

# Dependencies come from the programs' libraries (dpkg-shlibdeps), with versions: every package
# that holds a library a shipped program loads is named. Qt's platform plugin, which is loaded at
# run time, is named by hand.
depends=$(field Depends)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
dpkg-deb -x "$deb" "$scratch"
# Libraries of this architecture only: libc6-i386 holds a libm.so.6 too.
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
required=()
for program in "$scratch"/opt/sorrel/*; do
  [ -f "$program" ] && [ -x "$program" ] || continue
  for library in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    owner=$(dpkg -S "*/$multiarch/$library" 2>/dev/null | sed -n '1s/:.*//p')
    [ -n "$owner" ] && required+=("$owner") || fail "no package holds $library, loaded by $program"
  done
done
if [ "$gui" = ON ]; then required+=(qt6-qpa-plugins pkexec); fi
named=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for package in $(printf '%s\n' "${required[@]}" | sort -u); do
  grep -qxF -- "$package" <<<"$named" || fail "Depends lacks $package: $depends"
done
grep -Eq 'libc6 \(>= [0-9.]+\)' <<<"$depends" || fail "libc6 without a version: $depends"
if grep -Eq -- '-dev\b' <<<"$depends"; then fail "Depends names a development package: $depends"; fi

# Maintainer scripts and no conffiles: nothing is installed below /etc, the operator's data is
# made by postinst and never shipped.
for script in postinst prerm postrm md5sums; do
  grep -Eq "^ +[0-9]+ bytes, +[0-9]+ lines +[*]? +$script( |$)" <<<"$info" || fail "control member $script missing"
done
if grep -q conffiles <<<"$info"; then fail "the package has conffiles"; fi

# Every entry: "mode owner path[ -> target]".
listing=$(dpkg-deb --contents "$deb" | awk '{ line = $1 " " $2 " " $6; for (i = 7; i <= NF; i++) line = line " " $i; print line }')
expected=(
  "drwxr-xr-x root/root ./opt/sorrel/"
  "drwxr-xr-x root/root ./opt/sorrel/config/"
  "-rwxr-xr-x root/root ./opt/sorrel/Sorrelscan"
  "-rwxr-xr-x root/root ./opt/sorrel/sorrel"
  "-rw-r--r-- root/root ./opt/sorrel/config/Sorrelscan.in"
  "lrwxrwxrwx root/root ./usr/bin/Sorrelscan -> /opt/sorrel/Sorrelscan"
  "lrwxrwxrwx root/root ./usr/bin/sorrel -> /opt/sorrel/sorrel"
  "-rw-r--r-- root/root ./usr/share/sorrel/FileInfo.empty.dat"
  "-rw-r--r-- root/root ./lib/systemd/system/sorrel-scan.service"
  "-rw-r--r-- root/root ./lib/systemd/system/sorrel-scan.timer"
  "-rw-r--r-- root/root ./usr/share/man/man1/sorrel.1.gz"
  "-rw-r--r-- root/root ./usr/share/man/man1/Sorrelscan.1.gz"
  "-rw-r--r-- root/root ./usr/share/doc/sorrel/copyright"
  "-rw-r--r-- root/root ./usr/share/doc/sorrel/changelog.gz"
  "-rw-r--r-- root/root ./usr/share/lintian/overrides/sorrel"
)
if [ "$gui" = ON ]; then
  expected+=(
    "-rwxr-xr-x root/root ./opt/sorrel/Sorrelmede"
    "lrwxrwxrwx root/root ./usr/bin/Sorrelmede -> /opt/sorrel/Sorrelmede"
    "-rw-r--r-- root/root ./usr/share/man/man1/Sorrelmede.1.gz"
    "-rw-r--r-- root/root ./usr/share/applications/sorrelmede.desktop"
    "-rw-r--r-- root/root ./usr/share/icons/hicolor/scalable/apps/sorrel.svg"
    "-rw-r--r-- root/root ./usr/share/polkit-1/actions/org.sorrel.sorrelmede.policy"
  )
fi
for entry in "${expected[@]}"; do
  grep -qxF -- "$entry" <<<"$listing" || fail "missing or different: $entry"
done

# The operator's data and the systemd enable links are never shipped; nothing is writable by
# anyone but root, and nothing belongs to anyone else.
while read -r mode owner path rest; do
  case "$path" in
    ./opt/sorrel/config/FileInfo.dat* | ./opt/sorrel/Sorrelscan.ini | ./opt/sorrel/config/*.txt | ./etc/*)
      fail "ships $path" ;;
  esac
  [ "$owner" = root/root ] || fail "$path belongs to $owner"
  case "$mode" in
    l*) ;;
    ?????w???? | ????????w?) fail "$path is writable by others than root ($mode)" ;;
  esac
done <<<"$listing"

# The desktop entry passes the freedesktop validator and starts the desktop program through
# pkexec with the path the polkit action names.
if [ "$gui" = ON ]; then
  desktop="$scratch/usr/share/applications/sorrelmede.desktop"
  desktop-file-validate "$desktop" || fail "desktop-file-validate: $desktop"
  grep -qx 'Exec=pkexec /usr/bin/Sorrelmede' "$desktop" || fail "Exec line: $(grep ^Exec "$desktop")"
  grep -q '^Name\[zh_CN\]=' "$desktop" || fail "no Chinese name in the desktop entry"
  grep -q '<annotate key="org.freedesktop.policykit.exec.path">/usr/bin/Sorrelmede</annotate>' \
    "$scratch/usr/share/polkit-1/actions/org.sorrel.sorrelmede.policy" || fail "polkit action names another path"
fi

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "package contents as expected"
