#!/bin/bash
# The .deb installed into a scratch root with dpkg --root: the installed sorrel, started through
# its /usr/bin link, scans a small tree named relative to two different working directories and
# lists what it found; an upgrade keeps the operator's data, removal keeps it, purge removes it.
#   package_install_test.sh PACKAGE_DIR VERSION GUI(ON|OFF)
set -euo pipefail
package_dir=$1 version=$2
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: installing with dpkg --root and mounting the program directory need root"
  exit 77
fi
deb="$package_dir/sorrel_${version}_$(dpkg --print-architecture).deb"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
root="$work/root"
program_dir="$root/opt/sorrel"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
mode_of() { stat -c '%a %U:%G' "$1"; }

# An empty dpkg database in the scratch root. The maintainer scripts run outside it, with
# DPKG_ROOT naming it; the libraries the programs need are the host's.
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status" "$root/var/lib/dpkg/available"
# The host's packages are not in the scratch database, so every dependency is reported missing:
# dpkg's output is shown only when it fails.
dpkg_in_root() {
  dpkg --root="$root" --force-script-chrootless --force-depends --log=/dev/null "$@" >"$work/dpkg.log" 2>&1 ||
    { cat "$work/dpkg.log"; echo "FAIL: dpkg $*"; exit 1; }
}

# Runs a command in a private mount namespace where /opt/sorrel is the scratch root's program
# directory, so the absolute links in $root/usr/bin lead to it as they do on an installed system.
installed() {
  unshare --mount --propagation private bash -c '
    root=$1; shift
    mount -t tmpfs sorrel-test-opt /opt && mkdir /opt/sorrel && mount --bind "$root/opt/sorrel" /opt/sorrel
    exec "$@"' bash "$root" "$@"
}

echo "== install"
dpkg_in_root --install "$deb"
store="$program_dir/config/FileInfo.dat"
[ -f "$store" ] || fail "postinst made no store"
[ "$(mode_of "$store")" = "600 root:root" ] || fail "store is $(mode_of "$store")"
[ "$(sqlite3 "$store" 'select count(*) from fileinfo')" = 0 ] || fail "the new store is not empty"
[ ! -e "$root/etc/systemd/system/timers.target.wants/sorrel-scan.timer" ] || fail "the scan timer is enabled"

# The shipped scanner is stripped and its check-value file describes exactly these bytes.
scanner="$program_dir/Sorrelscan"
if readelf -S "$scanner" | grep -Eq '\.symtab|\.debug_info'; then fail "the installed scanner is not stripped"; fi
inner=$(md5sum <"$scanner" | cut -c1-32)
check_value=$(printf '%s_(x)qpwoeiru.tyz_1999_Sorrelscan' "$inner" | md5sum | cut -c1-32)
printf '[Sorrelscan]\r\nFileChkVal=%s\r\n' "$check_value" | cmp -s - "$program_dir/config/Sorrelscan.in" ||
  fail "config/Sorrelscan.in does not hold the check value $check_value of the installed scanner"

# The man page of sorrel holds a section for every command the installed program lists.
man_page=$(zcat "$root/usr/share/man/man1/sorrel.1.gz")
commands=$("$program_dir/sorrel" --help | awk '/^Commands:/ { listing = 1; next } listing && /^  [a-z]/ { print $1 }')
[ -n "$commands" ] || fail "sorrel --help lists no commands"
for command in $commands; do
  grep -q "^\.SS \"sorrel $command" <<<"$man_page" || fail "the man page has no section for sorrel $command"
done

echo "== scan and list through /usr/bin/sorrel"
site="$work/cwd/site"
mkdir -p "$site/prn" "$site/blog"
echo "<html></html>" >"$site/index.html"
echo "post" >"$site/blog/com10.txt"
for name in con.asp "a." "b "; do echo special >"$site/$name"; done
echo inside >"$site/prn/readme.txt"
special=("$site/con.asp" "$site/a." "$site/b " "$site/prn")

status=0
(cd "$work/cwd" && installed "$root/usr/bin/sorrel" scan site </dev/null) || status=$?
[ "$status" = 3 ] || fail "sorrel scan site from $work/cwd: exit status $status, not 3"
printf '%s\r\n' "$site" | cmp -s - "$program_dir/config/ScanDir.txt" ||
  fail "scan list is '$(cat -A "$program_dir/config/ScanDir.txt")', not $site"

status=0
(cd / && installed "$root/usr/bin/sorrel" scan "${site#/}" </dev/null) || status=$?
[ "$status" = 3 ] || fail "sorrel scan ${site#/} from /: exit status $status, not 3"

listing=$(cd / && installed "$root/usr/bin/sorrel" list)
echo "$listing"
for path in "${special[@]}"; do
  grep -qF -- "$path" <<<"$listing" || fail "sorrel list lacks '$path'"
done
for path in "$site/index.html" "$site/blog/com10.txt" "$site/prn/readme.txt"; do
  if grep -qF -- "$path" <<<"$listing"; then fail "sorrel list shows the ordinary entry $path"; fi
done
rows=$(sqlite3 "$store" 'select count(*) from fileinfo')
[ "$rows" = "${#special[@]}" ] || fail "the store holds $rows rows, not ${#special[@]}"

# The scan left the store readable by root alone and no file writable by others.
for file in "$store" "$store-wal" "$store-shm"; do
  [ ! -e "$file" ] || [ "$(mode_of "$file")" = "600 root:root" ] || fail "$file is $(mode_of "$file")"
done
writable=$(find "$program_dir" \( -perm -g+w -o -perm -o+w \) -print)
[ -z "$writable" ] || fail "writable by others than root: $writable"

echo "== upgrade to ${version}+1, the timer enabled by the administrator"
mkdir -p "$root/etc/systemd/system/timers.target.wants"
ln -s /lib/systemd/system/sorrel-scan.timer "$root/etc/systemd/system/timers.target.wants/sorrel-scan.timer"
echo "FMReportUrl" >"$program_dir/config/FMReportUrl.dat"
data_files=("$store" "$program_dir/config/ScanDir.txt" "$program_dir/Sorrelscan.ini" "$program_dir/config/FMReportUrl.dat")
before=$(md5sum "${data_files[@]}")
dpkg-deb --raw-extract "$deb" "$work/next"
sed -i "s/^Version: .*/Version: ${version}+1/" "$work/next/DEBIAN/control"
dpkg-deb --root-owner-group --build "$work/next" "$work/next.deb" >/dev/null
dpkg_in_root --install "$work/next.deb"
[ "$(md5sum "${data_files[@]}")" = "$before" ] || fail "the upgrade changed the operator's data"
[ "$(mode_of "$store")" = "600 root:root" ] || fail "after the upgrade the store is $(mode_of "$store")"
[ -L "$root/etc/systemd/system/timers.target.wants/sorrel-scan.timer" ] || fail "the upgrade disabled the timer"
listing=$(installed "$root/usr/bin/sorrel" list)
grep -qF -- "$site/con.asp" <<<"$listing" || fail "after the upgrade sorrel list lacks $site/con.asp"

echo "== remove"
dpkg_in_root --remove sorrel
for program in Sorrelscan sorrel Sorrelmede; do
  [ ! -e "$program_dir/$program" ] && [ ! -L "$root/usr/bin/$program" ] || fail "remove left $program"
done
[ "$(md5sum "${data_files[@]}")" = "$before" ] || fail "remove changed the operator's data"

echo "== purge"
dpkg_in_root --purge sorrel
[ ! -e "$program_dir" ] || fail "purge left $(find "$program_dir")"
leftovers=$(find "$root/etc/systemd" -name 'sorrel-scan.*' 2>/dev/null)
[ -z "$leftovers" ] || fail "purge left $leftovers"

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "installed, used, upgraded, removed and purged as expected"
