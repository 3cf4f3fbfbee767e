#!/usr/bin/env bash
# The bash, zsh and fish completions of tintwave-cli offer the options of --help, the
# values the program accepts for its choice options, and the scheme names of
# --list-schemes, a user scheme with a blank in its title among them.
#   completions.sh <tintwave-cli> <folder with bash/, zsh/ and fish/>
set -euo pipefail
cli=$1 dir=$2
PATH=$(dirname "$cli"):$PATH
XDG_CONFIG_HOME=$(mktemp -d)
export PATH XDG_CONFIG_HOME
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
mkdir "$XDG_CONFIG_HOME/tintwave"
printf '[general]\nnumSchemes=1\n[scheme1]\ntitle=My Dawn\nbox0=255\nbox1=16711680\n' \
  >"$XDG_CONFIG_HOME/tintwave/tintwave.ini"

failed=0
expect() { # what, expected lines, completed lines
  if [ "$2" != "$3" ]; then
    echo "FAIL: $1 (expected <, completed >)"
    diff <(echo "$2") <(echo "$3") || true
    failed=1
  fi
}

# What the program accepts: the options of --help; for a choice option the values its
# usage error lists ("--format '?' is not one of font, span, bbcode, ansi").
options=$(tintwave-cli --help | grep -oE '^  (-[a-zA-Z], )?--[a-z][a-z-]*' |
  grep -oE -- '-{1,2}[a-zA-Z][a-z-]*' | sort)
accepted() { # --from names its values only with --decode
  tintwave-cli $([ "$1" != from ] || echo --decode) "--$1" '?' 2>&1 |
    sed 's/.* is not one of //; s/, /\n/g' | sort
}
schemes=$(tintwave-cli --list-schemes | sort)
[[ $schemes == *"My Dawn"* ]] || { echo "FAIL: the user scheme is not listed"; exit 1; }

bash_complete() { # the words of the command line; the last one is completed
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _tintwave_cli
           printf "%s\n" "${COMPREPLY[@]}"' _ "$dir/bash/tintwave-cli" "$@" | sort
}
fish_complete() {
  fish -c "source '$dir/fish/tintwave-cli.fish'; complete -C '$1'" | cut -f1 | sort
}
expect "bash: options" "$options" "$(bash_complete tintwave-cli -)"
expect "fish: options" "$options" "$(fish_complete 'tintwave-cli -')"
for option in format from blend spread color-depth size; do
  expect "bash: --$option" "$(accepted $option)" "$(bash_complete tintwave-cli --$option '')"
  expect "fish: --$option" "$(accepted $option)" "$(fish_complete "tintwave-cli --$option ")"
done
expect "bash: --format=s" "span" "$(bash_complete tintwave-cli --format = s)"
expect "bash: --scheme" "$schemes" "$(bash_complete tintwave-cli --scheme '' | sed 's/\\//g')"
expect "bash: --scheme My\\ " "My\\ Dawn" "$(bash_complete tintwave-cli --scheme 'My\ ')"
expect "fish: --scheme" "$schemes" "$(fish_complete 'tintwave-cli --scheme ')"

# zsh completes only inside its line editor: check the syntax, and that the _arguments
# entries name every option and the program's values.
zsh_file=$dir/zsh/_tintwave-cli
zsh -n "$zsh_file"
# An option opens an entry or follows "{" or ","; exclusion lists "(...)" are not options.
expect "zsh: options" "$options" "$(sed "s/([^)]*)//g" "$zsh_file" | tr -d "'" |
  grep -oE -- "^  \{?-{1,2}[a-z][a-z-]*|,-{1,2}[a-z][a-z-]*" | grep -oE -- '-{1,2}[a-z-]+' | sort)"
for option in format from blend spread color-depth size; do
  expect "zsh: --$option" "$(accepted $option)" \
    "$(grep -oE -- "^  '--$option=.*\((.*)\)'" "$zsh_file" | sed 's/.*(\(.*\)).*/\1/' |
      tr ' ' '\n' | sort)"
done
exit $failed
