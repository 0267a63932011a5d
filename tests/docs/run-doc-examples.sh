#!/usr/bin/env bash
# Runs the shell examples of the guides and compares their output exactly.
#
#   run-doc-examples.sh INSTOPTS DOCUMENT.md...
#
# An example is a fenced block opened by ```console. Each line starting with
# "$ " is a command, run by bash with the given instopts first on PATH; the
# lines up to the next command or the end of the block are its expected
# output (standard output and standard error together). Every block runs in
# a new empty folder, its commands in order.
set -u
instopts=$(realpath "${1:?path of the instopts tool}"); shift
[ $# -gt 0 ] || { echo "usage: run-doc-examples.sh INSTOPTS DOCUMENT.md..." >&2; exit 2; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/bin"
ln -s "$instopts" "$scratch/bin/instopts"
export PATH="$scratch/bin:$PATH"

commands=0 failures=0 blocks=0

# Runs one command in the block's folder and compares its output.
check() {
  local doc=$1 line=$2 folder=$3 command=$4 expected=$5 actual
  commands=$((commands + 1))
  actual=$(cd "$folder" && bash -c "$command" 2>&1; printf x)
  actual=${actual%x}
  if [ "$actual" != "$expected" ]; then
    failures=$((failures + 1))
    echo "FAIL $doc:$line: \$ $command"
    diff <(printf '%s' "$expected") <(printf '%s' "$actual") | sed 's/^/    /'
  fi
}

for doc in "$@"; do
  in_block=0 number=0 command="" expected="" line=0 folder=""
  while IFS= read -r text || [ -n "$text" ]; do
    number=$((number + 1))
    if [ $in_block -eq 0 ]; then
      if [ "$text" = '```console' ]; then
        in_block=1 blocks=$((blocks + 1))
        folder="$scratch/block$blocks"
        mkdir "$folder"
      fi
      continue
    fi
    if [ "$text" = '```' ] || [[ "$text" == '$ '* ]]; then
      [ -n "$command" ] && check "$doc" "$line" "$folder" "$command" "$expected"
      command="" expected=""
      if [ "$text" = '```' ]; then
        in_block=0
      else
        command=${text#'$ '} line=$number
      fi
      continue
    fi
    expected+="$text"$'\n'
  done <"$doc"
  if [ $in_block -ne 0 ]; then
    echo "FAIL $doc: a console block is not closed"
    failures=$((failures + 1))
  fi
done

echo "$commands commands in $blocks examples, $failures failed"
[ $commands -gt 0 ] && [ $failures -eq 0 ]
