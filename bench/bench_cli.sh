#!/usr/bin/env bash
# Times tintwave-cli end to end on text from standard input: the median wall time of several
# runs for the code line and the saved page, each format, the ansi format against a peer
# library, and the size --merge saves; output thrown away.
# Usage: bench/bench_cli.sh [path/to/tintwave-cli] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/cli/tintwave-cli}
runs=${2:-9}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# 1 MB (1,048,576 bytes) of ASCII prose with a final line break.
head -c 1048575 >"$work/input.txt" \
    < <(yes 'The quick brown fox jumps over the lazy dog; 0123456789 <&> "quoted".')
printf '\n' >>"$work/input.txt"
# The same size with mixed scripts: Latin-1 letters, euro signs and emoji.
head -c 1048576 >"$work/mixed.txt" < <(yes 'Grüße aus Köln € 5 😀 naïve café ')

median_ms() { # label, then the command line after the input file
    local label=$1 input=$2
    shift 2
    local times=()
    for ((i = 0; i < runs; i++)); do
        local start end
        start=$(date +%s%N)
        "$cli" "$@" <"$input" >/dev/null
        end=$(date +%s%N)
        times+=($(((end - start) / 1000)))
    done
    local sorted
    sorted=$(printf '%s\n' "${times[@]}" | sort -n | tr '\n' ' ')
    local mid
    mid=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$((runs / 2 + 1))p")
    printf '%-42s median %6.1f ms   (all, us: %s)\n' "$label" "$(awk -v us="$mid" 'BEGIN { print us / 1000 }')" "$sorted"
}

printf 'code line for 1 MB ASCII: %s bytes\n' "$("$cli" --scheme Spectrum <"$work/input.txt" | wc -c)"
median_ms "1 MB ASCII, code line, Spectrum" "$work/input.txt" --scheme Spectrum
median_ms "1 MB ASCII, code line, 2 colours + styles" "$work/input.txt" \
    --colors '#000000,,,,,#FFFFFF' --bold --italic --face Arial --size +2
median_ms "1 MB ASCII, whole page" "$work/input.txt" --scheme Spectrum --page
median_ms "1 MB mixed UTF-8, code line" "$work/mixed.txt" --scheme Copper
median_ms "1 MB mixed UTF-8, whole page" "$work/mixed.txt" --scheme Copper --page
median_ms "1 MB ASCII, -o file" "$work/input.txt" --scheme Spectrum -o "$work/out.html"

# Every format over 1,000,000 ASCII characters, and the ansi format against the best-known
# terminal gradient library for Node (about 6 s for 100,000 characters; a stack overflow
# at 1,000,000, measured on this machine).
head -c 1000000 "$work/input.txt" >"$work/million.txt"
head -c 100000 "$work/input.txt" >"$work/hundredk.txt"
for format in font span bbcode ansi mc-hex mc-x mc-section minimessage json; do
    median_ms "1,000,000 chars, --format $format" "$work/million.txt" --scheme Spectrum \
        --format "$format"
done
median_ms "1,000,000 chars, --format template" "$work/million.txt" --scheme Spectrum \
    --format template --template '[c/{hex}:{c}]'
median_ms "1,000,000 chars, mc-hex skip-blanks merge" "$work/million.txt" --scheme Spectrum \
    --format mc-hex --skip-blanks --merge
median_ms "1,000,000 chars, span oklch even merge" "$work/million.txt" --scheme Spectrum \
    --format span --blend oklch --spread even --merge
for input in hundredk million; do
    line=$(median_ms "ansi, $input" "$work/$input.txt" --scheme Spectrum --format ansi)
    echo "$line"
    ms=$(sed -E 's/.*median +([0-9.]+) ms.*/\1/' <<<"$line")
    if [[ $input == hundredk ]]; then
        awk -v ms="$ms" 'BEGIN { printf "  peer: 6000 ms for 100,000 chars -> %.0fx faster\n", 6000 / ms }'
    else
        echo "  peer: fails (stack overflow) at 1,000,000 chars; tintwave-cli: ${ms} ms"
    fi
done

# --merge on a smooth two-colour gradient: the merged size against the unmerged one.
for format in span bbcode ansi; do
    plain=$("$cli" --colors '#2040C0,#C08020' --format "$format" <"$work/million.txt" | wc -c)
    merged=$("$cli" --colors '#2040C0,#C08020' --format "$format" --merge <"$work/million.txt" | wc -c)
    awk -v f="$format" -v p="$plain" -v m="$merged" \
        'BEGIN { printf "merge, %-6s 1,000,000 chars: %d -> %d bytes (%.3f of unmerged)\n", f, p, m, m / p }'
done
