#!/usr/bin/env bash
# Mutation check, run by hand: plants each fault of scripts/mutants.txt in a
# scratch copy of the tree, one at a time, and expects the tests to fail.
#
#   bash scripts/mutate.sh [--keep] [--no-baseline] [PATTERN]
#
#   PATTERN        only the faults whose file matches this extended regex (e.g. src/oem)
#   --keep         keep the scratch copy (/tmp/mutate.XXXXXX) and its logs
#   --no-baseline  skip the check that the unchanged tree passes the tests it needs
#
# Which tests run for a fault (the Windows tests under the Wine this host
# runs, scripts/windows-target.sh; where that is the x86_64 test build, a
# fault that survives them meets the i686 binary check as well, which needs no
# Wine):
#   - in a file the native build compiles: the whole native suite
#     (ctest --preset native, seconds). When the fault survives it and the
#     Windows build compiles the file too, the Windows tests below run as well.
#   - in a file only the Windows build compiles: the Windows tests covering
#     its folder. A Windows test that covers src/X or tools/X carries the
#     CTest label X (src/oem: "oem", tools/instopts: "instopts"); when no
#     Windows test carries that label, the whole Windows suite runs.
# Tests run with --stop-on-failure, so a caught fault ends at its first
# failing test. Each fault has MUTANT_TIME_LIMIT seconds (default 900) for
# its builds and tests; a fault that runs out of time is reported as caught
# by the time limit, apart from the others.
#
# The list: one fault a line, "file | exact text | replacement | why", the
# text occurring exactly once in the file; "\|" stands for a "|" inside a
# field. Blank lines and lines starting with "#" are skipped.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=$root/scripts/mutants.txt
time_limit=${MUTANT_TIME_LIMIT:-900}
source "$root/scripts/windows-target.sh"

keep=false baseline=true pattern=""
while [ $# -gt 0 ]; do
  case $1 in
    --keep) keep=true ;;
    --no-baseline) baseline=false ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    -*) echo "usage: $0 [--keep] [--no-baseline] [PATTERN]" >&2; exit 2 ;;
    *) [ -z "$pattern" ] || { echo "usage: $0 [--keep] [--no-baseline] [PATTERN]" >&2; exit 2; }
       pattern=$1 ;;
  esac
  shift
done

# The list's reader, the fault's writer and the build membership test.
helper() {
  python3 - "$@" <<'PY'
import os, subprocess, sys

def parse(path):
    entries = []
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            fields = [x.replace("\0", "|") for x in line.replace("\\|", "\0").split(" | ")]
            entries.append((number, fields))
    return entries

def check(root, number, fields):
    if len(fields) != 4:
        return "expected 4 fields separated by ' | ', found %d" % len(fields)
    name, text, replacement, why = fields[0].strip(), fields[1].strip(), fields[2].strip(), fields[3].strip()
    if not name or not text or not why:
        return "empty file, text or reason"
    if text == replacement:
        return "the replacement equals the text"
    if "\t" in name + why:
        return "a tab in the file or the reason"
    path = os.path.join(root, name)
    if not os.path.isfile(path):
        return "no such file: " + name
    content = open(path, encoding="utf-8", newline="").read()
    count = content.count(text)
    if count != 1:
        return "the text occurs %d times in %s, not once: %s" % (count, name, text)
    return None

def fields_of(path, number):
    for n, fields in parse(path):
        if n == number:
            return [fields[0].strip(), fields[1].strip(), fields[2].strip(), fields[3].strip()]
    sys.exit("no fault on line %d" % number)

def deps_of(build):
    out = subprocess.run(["ninja", "-C", build, "-t", "deps"], capture_output=True, text=True).stdout
    return {os.path.normpath(os.path.join(build, l.strip())) for l in out.splitlines() if l.startswith("    ")}

command = sys.argv[1]
if command == "list":
    # list LIST ROOT PATTERN: checks every line, prints the chosen ones as
    # "list-line TAB file TAB file-line TAB reason".
    import re
    path, root, pattern = sys.argv[2], sys.argv[3], sys.argv[4]
    entries = parse(path)
    bad = 0
    for number, fields in entries:
        problem = check(root, number, fields)
        if problem:
            print("%s:%d: %s" % (os.path.relpath(path, root), number, problem), file=sys.stderr)
            bad += 1
    if bad:
        sys.exit(2)
    for number, fields in entries:
        name, text, why = fields[0].strip(), fields[1].strip(), fields[3].strip()
        if pattern and not re.search(pattern, name):
            continue
        content = open(os.path.join(root, name), encoding="utf-8", newline="").read()
        line = content[:content.index(text)].count("\n") + 1
        print("%d\t%s\t%d\t%s" % (number, name, line, why))
elif command == "apply":
    # apply LIST ROOT LIST-LINE: plants the fault in ROOT.
    path, root, number = sys.argv[2], sys.argv[3], int(sys.argv[4])
    name, text, replacement, _ = fields_of(path, number)
    target = os.path.join(root, name)
    content = open(target, encoding="utf-8", newline="").read()
    assert content.count(text) == 1, "stale fault on line %d" % number
    with open(target, "w", encoding="utf-8", newline="") as f:
        f.write(content.replace(text, replacement))
elif command == "show":
    # show LIST LIST-LINE: "text  ->  replacement".
    name, text, replacement, _ = fields_of(sys.argv[2], int(sys.argv[3]))
    print("%s  ->  %s" % (text, replacement if replacement else "(removed)"))
elif command == "members":
    # members ROOT FILE...: "FILE TAB native|- TAB windows|-": whether each
    # build compiles the file, from its dependency log (sources and the
    # headers they include) or its build graph.
    root, names = sys.argv[2], sys.argv[3:]
    builds = {p: deps_of(os.path.join(root, "build", p)) for p in ("native", "windows")}
    def compiles(preset, full):
        if full in builds[preset]:
            return True
        # A direct input that no dependency log names (a resource script).
        query = subprocess.run(["ninja", "-C", os.path.join(root, "build", preset), "-t", "query", full],
                               capture_output=True, text=True)
        return query.returncode == 0 and "  outputs:\n    " in query.stdout
    for name in names:
        full = os.path.normpath(os.path.join(root, name))
        print("\t".join([name] + [p if compiles(p, full) else "-" for p in ("native", "windows")]))
PY
}

selected=$(helper list "$list" "$root" "$pattern") || exit 2
mapfile -t chosen <<<"$selected"
[ -n "$selected" ] || chosen=()
if [ ${#chosen[@]} -eq 0 ]; then
  echo "no fault in $list matches '${pattern}'" >&2
  exit 2
fi

started=$SECONDS
duration() { printf '%dm%02ds' $(($1 / 60)) $(($1 % 60)); }

scratch=$(mktemp -d /tmp/mutate.XXXXXX)
mutated=""
logs=$scratch/.mutate/logs
pristine=$scratch/.mutate/pristine
mkdir -p "$logs" "$pristine"

# Stops the wineservers of the scratch copy's own prefixes, if any live on.
stop_own_wineservers() {
  local prefix
  for prefix in "$scratch/$windows_build"/wine/template "$scratch/$windows_build"/wine/run.*; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
  done
}
restore() {
  if [ -n "$mutated" ]; then
    cp "$pristine/$mutated" "$scratch/$mutated"  # a new time stamp: the next build recompiles it
    mutated=""
  fi
}
finish() {
  restore
  stop_own_wineservers
  if $keep; then
    echo "scratch copy kept: $scratch (logs in $logs)"
  else
    rm -rf "$scratch"
  fi
}
trap finish EXIT
child=""
interrupted() {
  if [ -n "$child" ]; then
    kill -TERM "$child" 2>/dev/null || true
    wait "$child" 2>/dev/null || true
  fi
  exit 130
}
trap interrupted INT TERM

# bounded SECONDS LOG COMMAND...: runs the command with its output in LOG,
# ended (with every process it started) after SECONDS; its exit status, 124
# when it ran out of time. Waited for in the background, so that an
# interrupt reaches this script at once.
bounded() {
  local budget=$1 log=$2 rc=0
  shift 2
  timeout -k 30 "$budget" "$@" >"$log" 2>&1 &
  child=$!
  wait "$child" || rc=$?
  child=""
  [ $rc -ne 137 ] || rc=124
  return $rc
}

echo "scratch copy $scratch; ${#chosen[@]} faults from ${list#"$root"/}"
echo "$windows_reason"
tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$scratch" -xf -
cd "$scratch"

# The i686 build is always made: which files the Windows build compiles is
# read from it, and its binary check needs no Wine.
wine_presets=(windows)
[ "$windows_preset" = windows ] || wine_presets=(windows "$windows_preset")
for preset in native "${wine_presets[@]}"; do
  echo "building the $preset preset (logs/$preset-build.log) ..."
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j 2; } >"$logs/$preset-build.log" 2>&1; then
    echo "the unchanged tree does not build with the $preset preset:" >&2
    tail -n 30 "$logs/$preset-build.log" >&2
    exit 1
  fi
done

# Which build compiles each file, read before any file changes.
declare -A in_native in_windows
mapfile -t files < <(printf '%s\n' "${chosen[@]}" | cut -f2 | sort -u)
while IFS=$'\t' read -r file native windows; do
  in_native[$file]=$native
  in_windows[$file]=$windows
  if [ "$native$windows" = "--" ]; then
    echo "$file: neither build compiles it; drop its faults from the list" >&2
    exit 2
  fi
  mkdir -p "$pristine/$(dirname "$file")"
  cp -p "$file" "$pristine/$file"
done < <(helper members "$scratch" "${files[@]}")

# The Windows tests for a folder's label, or the whole suite.
windows_selection() {
  local label=$1
  if ctest --preset "$windows_preset" -N -L "^${label}\$" 2>/dev/null | grep -q '^Total Tests: [1-9]'; then
    echo "-L ^${label}\$"
  fi
}

needs_native=false needs_windows=false
for file in "${files[@]}"; do
  [ "${in_native[$file]}" = native ] && needs_native=true
  [ "${in_windows[$file]}" = windows ] && needs_windows=true
done
# baseline_tests PRESET: the tests a fault may meet in that build.
baseline_tests() {
  if [ "$1" = windows ] && [ "$windows_preset" != windows ]; then
    ctest --preset windows -R '^setup_binary_fits_windows_98$'
  else
    ctest --preset "$1"
  fi
}
if $baseline; then
  for preset in native "${wine_presets[@]}"; do
    [ $preset = native ] && ! $needs_native && continue
    [ $preset != native ] && ! $needs_windows && continue
    echo "checking that the unchanged tree passes the $preset tests ..."
    if ! baseline_tests $preset >"$logs/$preset-baseline.log" 2>&1; then
      echo "the unchanged tree fails its $preset tests; see $logs/$preset-baseline.log" >&2
      keep=true
      exit 1
    fi
  done
fi
echo "setup done after $(duration $((SECONDS - started)))"
echo

# run_tests NAME PRESET SECONDS [--target T] [CTEST ARGUMENTS...]: builds the
# preset (or its target T) and runs the tests; sets `outcome` to
# built-failed, passed, failed or timeout, and `failure` to the first failing
# test.
run_tests() {
  local name=$1 preset=$2 budget=$3 target=()
  shift 3
  if [ "${1:-}" = --target ]; then target=(--target "$2"); shift 2; fi
  outcome="" failure=""
  if [ "$budget" -le 0 ]; then outcome=timeout; return; fi
  local rc=0 begun=$SECONDS
  bounded "$budget" "$logs/$name-$preset-build.log" cmake --build --preset "$preset" -j 2 "${target[@]}" || rc=$?
  if [ $rc -ne 0 ]; then
    if [ $rc -eq 124 ]; then outcome=timeout; else outcome=build-failed; fi
    return
  fi
  budget=$((budget - (SECONDS - begun)))
  [ "$budget" -gt 0 ] || { outcome=timeout; return; }
  bounded "$budget" "$logs/$name-$preset-tests.log" ctest --preset "$preset" --stop-on-failure "$@" || rc=$?
  if [ $rc -eq 0 ]; then
    outcome=passed
  elif [ $rc -eq 124 ]; then
    outcome=timeout
  else
    # The first failing test; a skipped one (listed among those that did not run) is none.
    failure=$(sed -n 's/^[[:space:]]*[0-9]* - \(.*\) (\(.*\))$/\1 (\2)/p' "$logs/$name-$preset-tests.log" |
              { grep -v ' (Skipped)$' || true; } | head -n 1)
    case $failure in
      *"(Timeout)") outcome=timeout ;;
      *) outcome=failed ;;
    esac
    [ -n "$failure" ] || failure="ctest exit $rc"
  fi
}

total=${#chosen[@]}
index=0 caught=0 by_timeout=0 not_built=0
survivors=() broken=()
for entry in "${chosen[@]}"; do
  IFS=$'\t' read -r number file line why <<<"$entry"
  index=$((index + 1))
  mutant_started=$SECONDS
  name=$(printf 'm%03d' "$number")
  folder=$(echo "$file" | cut -d/ -f2)
  helper apply "$list" "$scratch" "$number"
  mutated=$file

  verdict="" detail=""
  if [ "${in_native[$file]}" = native ]; then
    run_tests "$name" native $((time_limit - (SECONDS - mutant_started)))
    case $outcome in
      failed) verdict=caught detail="native: $failure" ;;
      timeout) verdict=timeout detail="native: ${failure:-time limit}" ;;
      build-failed) verdict=build-failed detail="native build" ;;
      passed) detail="native suite" ;;
    esac
  fi
  if [ -z "$verdict" ] && [ "${in_windows[$file]}" = windows ]; then
    selection=$(windows_selection "$folder")
    # shellcheck disable=SC2086  # the selection is two words or none
    run_tests "$name" "$windows_preset" $((time_limit - (SECONDS - mutant_started))) $selection
    scope=${selection:+label $folder}
    if [ "$outcome" = passed ] && [ "$windows_preset" != windows ]; then
      run_tests "$name" windows $((time_limit - (SECONDS - mutant_started))) \
        --target setup -R '^setup_binary_fits_windows_98$'
      scope="${scope:-whole suite}, i686 binary check"
    fi
    case $outcome in
      failed) verdict=caught detail="windows: $failure" ;;
      timeout) verdict=timeout detail="windows: ${failure:-time limit}" ;;
      build-failed) verdict=build-failed detail="windows build" ;;
      passed) verdict=survived detail="${detail:+$detail, }windows ${scope:-whole suite}" ;;
    esac
  fi
  [ -n "$verdict" ] || verdict=survived
  restore

  spent=$((SECONDS - mutant_started))
  where="$file:$line"
  case $verdict in
    caught) caught=$((caught + 1)); label="caught" ;;
    timeout) caught=$((caught + 1)); by_timeout=$((by_timeout + 1)); label="caught (time)" ;;
    build-failed) not_built=$((not_built + 1)); label="did not build"; broken+=("#$number $where  ($why)") ;;
    survived) label="SURVIVED"; survivors+=("#$number $where  ($why): $(helper show "$list" "$number")") ;;
  esac
  printf '[%2d/%d] %-14s %6s  #%-3s %s  (%s)  [%s]\n' "$index" "$total" "$label" "$(duration "$spent")" \
    "$number" "$where" "$why" "$detail"
done

echo
summary="caught $caught of $total"
[ $by_timeout -eq 0 ] || summary="$summary ($by_timeout of them by a time limit)"
[ $not_built -eq 0 ] || summary="$summary; $not_built did not build"
echo "$summary, in $(duration $((SECONDS - started)))"
if [ ${#survivors[@]} -gt 0 ]; then
  echo "survivors:"
  printf '  %s\n' "${survivors[@]}"
fi
if [ ${#broken[@]} -gt 0 ]; then
  echo "did not build (fix these lines of the list):"
  printf '  %s\n' "${broken[@]}"
fi
[ ${#survivors[@]} -eq 0 ] && [ $not_built -eq 0 ]
