#!/usr/bin/env bash
# Makes the Debian package and checks it: no lintian error, installs with apt-get, both
# installed programs run, and a purge leaves none of its files behind. Installs into the
# real system, so it is meant for CI or a machine where that is fine.
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(bash scripts/package.sh | tail -n 1)
echo "== $deb"
dpkg-deb --field "$deb" Package Version Section Depends
lintian --fail-on error --info "$deb"
echo "lintian: no error"

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
scratch=$(mktemp -d)
purge() { $sudo apt-get purge -y -qq tintwave >/dev/null; }
trap 'purge; rm -rf "$scratch"' EXIT
$sudo apt-get install -y -qq "$deb" >/dev/null
echo "installed"

# The installed programs, with settings of their own.
export XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch
code=$(/usr/bin/tintwave-cli --text Hi --colors '#FF0000,#0000FF' --format span)
expected='<div style="text-align:center"><span style="color:#FF0000">H</span><span style="color:#AA0055">i</span></div>'
[ "$code" = "$expected" ] || { echo "tintwave-cli wrote: $code"; exit 1; }
echo "tintwave-cli: colours an example"
man -w tintwave-cli >/dev/null && man -w tintwave >/dev/null
echo "man: finds both pages"
# The splash window waits for a click, so the program is still running when the
# timeout ends it (status 124); any other status is a failed start or a crash.
status=0
QT_QPA_PLATFORM=offscreen timeout 3 /usr/bin/tintwave 2>"$scratch/stderr" || status=$?
if [ $status -ne 124 ]; then
  echo "tintwave ended with status $status:"
  cat "$scratch/stderr"
  exit 1
fi
echo "tintwave: ran offscreen until stopped"

files=$(dpkg-query -L tintwave)
trap 'rm -rf "$scratch"' EXIT
purge
if dpkg-query -W -f='${Status}\n' tintwave 2>/dev/null | grep -qv not-installed; then
  echo "tintwave is still known to dpkg after the purge"
  exit 1
fi
left=$(while read -r path; do
  # Shared folders such as /usr/share stay; the package's own files and folders must go.
  if [ -f "$path" ] || [ -L "$path" ] || { [ -d "$path" ] && [[ $path == *tintwave* ]]; }; then
    echo "$path"
  fi
done <<<"$files")
if [ -n "$left" ]; then
  echo "left behind after the purge:"
  echo "$left"
  exit 1
fi
echo "purged: none of its $(wc -l <<<"$files") paths left"
