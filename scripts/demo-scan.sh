#!/bin/sh
# Demo scan: builds a small site with entries the Windows shell cannot handle, names it in the
# scan list, runs the scanner on it and shows the rows it recorded.
#   demo-scan.sh <dist dir> <demo dir> "<scan dir or empty>"
set -eu

if [ $# -ne 3 ]; then
  echo "usage: $0 <dist dir> <demo dir> \"<scan dir or empty>\"" >&2
  exit 2
fi
dist=$(cd "$1" && pwd)
demo=$2
scan=$3

if [ -z "$scan" ]; then
  site="$demo/site"
  rm -rf "$site"
  mkdir -p "$site/images" "$site/prn" "$site/blog"
  echo "<html>home</html>" > "$site/index.html"
  echo "body {}" > "$site/style.css"
  echo "logo" > "$site/images/logo.png"
  echo "post" > "$site/blog/first-post.html"
  for name in con.asp aux nul.txt Com1 lpt9.php "a." "b "; do
    echo "special" > "$site/$name"
  done
  echo "inside a reserved directory" > "$site/prn/readme.txt"
  echo "<% %>" > "$site/prn/page.asp"
  echo "not special" > "$site/blog/com10.txt"
  scan=$(cd "$site" && pwd)
else
  scan=$(cd "$scan" && pwd)
fi

printf '%s\r\n' "$scan" > "$dist/config/ScanDir.txt"
echo "Scanning $scan with $dist/Sorrelscan"
status=0
"$dist/Sorrelscan" /FileScan < /dev/null || status=$?
printf '\n\nSorrelscan exit code: %s (1 = run completed)\n\n' "$status"

decode() {
  printf '%s' "$1" | base64 -d 2>/dev/null | iconv -f UTF-16LE -t UTF-8 2>/dev/null || printf '%s' "$1"
}

store="$dist/config/FileInfo.dat"
count=$(sqlite3 "$store" "select count(*) from fileinfo")
echo "Rows recorded in $store (table fileinfo): $count"
echo "type       size  filenameid                      path"
sqlite3 -separator ' ' "$store" \
  "select filetype, filesize, filenameid, filepath from fileinfo order by id" |
while read -r type size id path; do
  kind=file
  [ "$type" = 2 ] && kind=directory
  printf '%-9s %6s  %-30s  "%s"\n' "$kind" "$size" "$id" "$(decode "$path")"
done
