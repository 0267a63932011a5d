#!/usr/bin/env bash
# The reliability suite.
#
#   bash scripts/reliability.sh            short form (also part of scripts/test.sh):
#                                          corpus replays (every truncation and flipped
#                                          bit of the valid options files among them),
#                                          saves failing at every step and byte (natively
#                                          and through the Win32 back end), the longest
#                                          arguments, twenty launchers at once, the
#                                          source check that every library is loaded by
#                                          full path, setup.exe's binary check
#   bash scripts/reliability.sh --long [--runs N] [--max-time S] [--no-repro]
#                                          the short form, then every fuzz target
#                                          optimised with ASan+UBSan for N executions
#                                          each (default 10,000,000), or S seconds,
#                                          and the reproducible-build check
#
# The long form builds the fuzzers in build/fuzz; their corpus grows in
# build/fuzz/corpus, never in fuzz/corpus. The reproducible-build check clones
# the committed HEAD into two temporary folders of different path lengths,
# builds setup.exe and instopts (Windows i686, which needs no Wine, and
# native) in each and compares their hashes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

long=false runs=10000000 max_time=0 repro=true
while [ $# -gt 0 ]; do
  case $1 in
    --long) long=true ;;
    --runs) runs=${2:?--runs needs a count}; shift ;;
    --max-time) max_time=${2:?--max-time needs seconds}; shift ;;
    --no-repro) repro=false ;;
    *) echo "usage: $0 [--long [--runs N] [--max-time S] [--no-repro]]" >&2; exit 2 ;;
  esac
  shift
done

# The Windows tests run against the build scripts/windows-target.sh chooses;
# the i686 binary check, which needs no Wine, runs on every host.
short_form() {
  source scripts/windows-target.sh
  echo "$windows_reason"
  cmake --preset native >/dev/null
  cmake --build --preset native
  # The corpus replays.
  ctest --preset native -L fuzz
  # Saves failing at every step and byte, kept with the options tests.
  ctest --preset native -R 'SystemFiles\.'
  cmake --preset windows >/dev/null
  if [ "$windows_preset" != windows ]; then
    cmake --build --preset windows --target setup
    ctest --preset windows -R '^setup_binary_fits_windows_98$'
    cmake --preset "$windows_preset" >/dev/null
  fi
  cmake --build --preset "$windows_preset"
  ctest --preset "$windows_preset" -L 'reliability|options'
}

# Builds every fuzz target optimised, with the sanitizers, in build/fuzz.
build_fuzzers() {
  cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSETUP_SANITIZE=ON \
    -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" >/dev/null
  cmake --build build/fuzz --target options_load_fuzzer version_walk_fuzzer switch_parser_fuzz
}

# fuzz NAME CORPUS_NAME: runs one target on a working copy of its corpus;
# crash, leak and timeout inputs land in build/fuzz/findings/NAME.
fuzz() {
  local name=$1 corpus=build/fuzz/corpus/$2 findings=build/fuzz/findings/$1
  mkdir -p "$corpus" "$findings"
  cp -n "fuzz/corpus/$2/"* "$corpus/" 2>/dev/null || true
  local limits=(-runs="$runs")
  [ "$max_time" -gt 0 ] && limits+=(-max_total_time="$max_time")
  set +e
  "build/fuzz/bin/$name" "${limits[@]}" -print_final_stats=1 -artifact_prefix="$findings/" \
    "$corpus" >"build/fuzz/$name.log" 2>&1
  local rc=$?
  set -e
  local executions found
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "build/fuzz/$name.log" | tail -1)
  found=$(find "$findings" -type f | wc -l)
  echo "$name: ${executions:-0} executions, $found findings, exit $rc (log build/fuzz/$name.log)"
  [ "$rc" -eq 0 ] && [ "$found" -eq 0 ]
}

# Every target, side by side: NAME:CORPUS.
fuzz_targets=(options_load_fuzzer:options_load version_walk_fuzzer:version_walk switch_parser_fuzz:switch_parser)
long_fuzzing() {
  build_fuzzers
  local status=0 target pids=()
  for target in "${fuzz_targets[@]}"; do
    fuzz "${target%%:*}" "${target#*:}" >"build/fuzz/${target%%:*}.summary" &
    pids+=($!)
  done
  for target in "${pids[@]}"; do wait "$target" || status=1; done
  for target in "${fuzz_targets[@]}"; do cat "build/fuzz/${target%%:*}.summary"; done
  return "$status"
}

# build_clone FOLDER: clones HEAD into FOLDER and builds what ships there.
build_clone() {
  local folder=$1
  git clone -q --no-hardlinks "$root" "$folder"
  git -C "$folder" checkout -q "$(git -C "$root" rev-parse HEAD)"
  (
    cd "$folder"
    cmake --preset windows >/dev/null && cmake --build --preset windows --target setup instopts >/dev/null
    cmake --preset native >/dev/null && cmake --build --preset native --target instopts >/dev/null
  )
}

reproducible_builds() {
  if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "note: the worktree has uncommitted changes; the check builds the committed HEAD"
  fi
  local scratch short longer
  scratch=$(mktemp -d)
  short=$scratch/a
  longer=$scratch/a-much-longer-folder-name-for-the-second-build/src
  trap 'rm -rf "$scratch"' RETURN
  build_clone "$short"
  build_clone "$longer"
  local differ=0
  for binary in build/windows/bin/setup.exe build/windows/bin/instopts.exe build/native/bin/instopts; do
    local a b
    a=$(sha256sum "$short/$binary" | cut -d' ' -f1)
    b=$(sha256sum "$longer/$binary" | cut -d' ' -f1)
    if [ "$a" = "$b" ]; then
      echo "reproducible: $binary $a"
    else
      echo "DIFFERS: $binary $a / $b"
      differ=1
    fi
  done
  return "$differ"
}

short_form
if $long; then
  status=0
  long_fuzzing || status=1
  if $repro; then reproducible_builds || status=1; fi
  exit "$status"
fi
