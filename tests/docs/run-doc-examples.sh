#!/usr/bin/env bash
# run-doc-examples.sh INSTOPTS DOCUMENT.md...: runs the guides' examples and
# compares their output exactly. In each ```console block a line "$ COMMAND"
# is run by bash in the block's own new folder, with INSTOPTS first on PATH;
# the lines up to the next command or the block's end are its output.
set -u
scratch=$(mktemp -d) && trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/bin" && ln -s "$(realpath "${1:?path of the instopts tool}")" "$scratch/bin/instopts" && shift
export PATH="$scratch/bin:$PATH"
commands=0 failures=0

check() {
  [ -n "$command" ] || return 0
  commands=$((commands + 1))
  actual=$(cd "$folder" && bash -c "$command" 2>&1; printf x)
  [ "${actual%x}" = "$expected" ] && return 0
  failures=$((failures + 1))
  echo "FAIL $where: \$ $command"
  diff <(printf '%s' "$expected") <(printf '%s' "${actual%x}") | sed 's/^/    /'
}

for doc in "$@"; do
  folder="" number=0 command="" expected=""
  while IFS= read -r text || [ -n "$text" ]; do
    number=$((number + 1))
    if [ -z "$folder" ]; then
      [ "$text" = '```console' ] && folder=$(mktemp -d -p "$scratch")
    elif [ "$text" = '```' ] || [[ "$text" == '$ '* ]]; then
      check
      command="" expected="" where=$doc:$number
      if [ "$text" = '```' ]; then folder=""; else command=${text#'$ '}; fi
    else
      expected+="$text"$'\n'
    fi
  done <"$doc"
  check
done
echo "$commands commands run, $failures failed"
[ "$commands" -gt 0 ] && [ "$failures" -eq 0 ]
