#!/usr/bin/env bash
# Mutation check: applies each planted fault of this folder to a scratch copy
# of the tree, builds, runs the tests and reports the faults no test caught.
# Run by hand; ./test.sh does not run it.
#
# usage: scripts/mutants/run.sh [name-filter ...]
#   MUTANT_DIR   scratch folder outside any git checkout (default
#                $TMPDIR/kaldero-mutants); the copy and its build folder are
#                kept, so later runs build only what changed
#   MUTANT_TIMEOUT  seconds a test program may run (default 300)
#
# A fault counts as caught when a test program fails on it (a crash or a
# time-out included). The test program of the folder it is planted in runs
# first; when that passes, those of the folders above it run too. The table
# also goes to $MUTANT_DIR/results.txt.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
scratch=${MUTANT_DIR:-${TMPDIR:-/tmp}/kaldero-mutants}
timeout_s=${MUTANT_TIMEOUT:-300}
src=$scratch/src
build=$scratch/build
logs=$scratch/logs
jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
mkdir -p "$src" "$build" "$logs"

# Copy the working tree (tracked and untracked, not ignored) into the scratch
# folder. Only files whose content differs are copied; a copied file gets a
# new time, so the build sees it even where the copy it replaces was newer.
sync_tree() {
  local list=$scratch/files.txt
  (cd "$repo" && git ls-files -co --exclude-standard) | sort >"$list"
  while IFS= read -r f; do
    [ -f "$repo/$f" ] || continue
    if ! cmp -s "$repo/$f" "$src/$f"; then
      mkdir -p "$src/$(dirname "$f")"
      cp "$repo/$f" "$src/$f"
      touch "$src/$f"
    fi
  done <"$list"
  (cd "$src" && find . -type f | sed 's|^\./||' | sort) | comm -23 - "$list" |
    while IFS= read -r f; do rm -f "$src/$f"; done
}

# Test program of a folder, and the folders whose programs link it.
program_of() {
  case $1 in
    tools) echo kal_worldsrc ;;
    *) echo "$1" ;;
  esac
}
folders_above() {
  case $1 in
    platform) echo foundation mapdata plot projection tools ;;
    foundation) echo mapdata plot projection tools ;;
    mapdata) echo tools ;;
    *) echo ;;
  esac
}

# Builds and runs the test program of a folder: 0 when every test passes,
# 200 when it does not build, else what the program or timeout returned.
run_tests() {
  local folder=$1 log=$2 prog
  prog=$(program_of "$folder")
  cmake --build "$build" -j"$jobs" --target "${prog}_tests" >>"$log" 2>&1 || return 200
  (cd "$build/$folder" && timeout "$timeout_s" "$build/tests/${prog}_tests" --gtest_brief=1) >>"$log" 2>&1
}

echo "== Copying the tree to $src"
sync_tree
echo "== Configuring and building the unchanged tree"
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAL_BENCH=OFF >"$logs/configure.log" 2>&1 ||
  { echo "configure failed: $logs/configure.log"; exit 2; }
for folder in platform foundation mapdata plot projection tools; do
  if ! run_tests "$folder" "$logs/baseline-$folder.log"; then
    echo "the unchanged tree fails in $folder: $logs/baseline-$folder.log"
    exit 2
  fi
done

patches=()
for p in "$here"/*.patch; do
  name=$(basename "$p" .patch)
  if [ $# -gt 0 ]; then
    keep=0
    for f in "$@"; do [[ $name == *$f* ]] && keep=1; done
    [ $keep = 1 ] || continue
  fi
  patches+=("$p")
done

results=$scratch/results.txt
: >"$results"
caught=0 missed=0 stale=0 broken=0
missed_list=() stale_list=() broken_list=()
echo "== ${#patches[@]} planted faults"
for p in "${patches[@]}"; do
  name=$(basename "$p" .patch)
  log=$logs/$name.log
  : >"$log"
  if ! (cd "$src" && git apply --check "$p") >>"$log" 2>&1; then
    result="does not apply"
    stale=$((stale + 1)); stale_list+=("$name")
  else
    (cd "$src" && git apply "$p")
    folder=$(sed -n 's|^+++ b/\([^/]*\)/.*|\1|p' "$p" | head -n1)
    result=
    for f in "$folder" $(folders_above "$folder"); do
      run_tests "$f" "$log" 2>/dev/null   # the shell's own note of a crash
      rc=$?
      if [ $rc = 200 ]; then result="does not build"; break; fi
      if [ $rc = 124 ]; then result="caught by $f (time-out)"; break; fi
      if [ $rc != 0 ]; then result="caught by $f"; break; fi
    done
    (cd "$src" && git apply -R "$p")
    case $result in
      "") result="NOT CAUGHT"; missed=$((missed + 1)); missed_list+=("$name") ;;
      "does not build") broken=$((broken + 1)); broken_list+=("$name") ;;
      *) caught=$((caught + 1)) ;;
    esac
  fi
  printf '%-40s %s\n' "$name" "$result" | tee -a "$results"
done

echo
echo "== $caught caught, $missed not caught, $stale do not apply, $broken do not build (of ${#patches[@]})"
if [ $missed -gt 0 ]; then
  echo "Not caught by any test:"
  for n in "${missed_list[@]}"; do printf '  %-40s %s\n' "$n" "$(head -n1 "$here/$n.patch")"; done
fi
if [ $stale -gt 0 ]; then
  echo "No longer apply (the code changed; update or drop them):"
  for n in "${stale_list[@]}"; do echo "  $n"; done
fi
if [ $broken -gt 0 ]; then
  echo "Do not build:"
  for n in "${broken_list[@]}"; do echo "  $n"; done
fi
[ $missed -eq 0 ] && [ $stale -eq 0 ] && [ $broken -eq 0 ]
