#!/usr/bin/env bash
# Installs a build into an empty folder and checks the tree: exactly the files below, a
# valid launcher entry and AppStream metainfo, manual pages without a groff warning.
#   scripts/check-install.sh [build folder, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cmake --install "$build" --prefix "$dir" >/dev/null

id=example.tintwave.Tintwave
expected=(
  bin/tintwave
  bin/tintwave-cli
  share/applications/$id.desktop
  share/metainfo/$id.metainfo.xml
  share/icons/hicolor/scalable/apps/$id.svg
  share/man/man1/tintwave.1
  share/man/man1/tintwave-cli.1
  share/bash-completion/completions/tintwave-cli
  share/zsh/vendor-completions/_tintwave-cli
  share/fish/vendor_completions.d/tintwave-cli.fish
)
for size in 16 24 32 48 64 128 256; do
  expected+=("share/icons/hicolor/${size}x$size/apps/$id.png")
done
if ! diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$dir" && find . -type f | cut -c3- | sort)
then
  echo "The install tree differs from the expected one (<: missing, >: unexpected)."
  exit 1
fi
echo "install tree: ${#expected[@]} files, as expected"

desktop-file-validate "$dir/share/applications/$id.desktop"
echo "desktop-file-validate: passed"
appstreamcli validate --no-net "$dir/share/metainfo/$id.metainfo.xml"
for page in "$dir"/share/man/man1/*.1; do
  warnings=$(groff -man -ww -z "$page" 2>&1)
  if [ -n "$warnings" ]; then
    echo "groff warns about ${page##*/}:"
    echo "$warnings"
    exit 1
  fi
  echo "groff -man -ww -z ${page##*/}: no warning"
done
