#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for SECONDS (default 60).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build-fuzz" -DVX_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$root/build-fuzz" -j "$(nproc)"
for binary in "$root"/build-fuzz/bin/*_fuzz; do
  target=$(basename "$binary" _fuzz)
  corpus="$root/build-fuzz/corpus/$target"
  mkdir -p "$corpus"
  dict=()
  [ -f "$root/tests/fuzz/$target.dict" ] && dict=(-dict="$root/tests/fuzz/$target.dict")
  echo "fuzzing $target for ${seconds}s"
  if ! "$binary" "${dict[@]}" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$root/build-fuzz/$target-" "$corpus" >"$root/build-fuzz/$target.log" 2>&1; then
    grep -E 'ERROR|SUMMARY|runtime error' "$root/build-fuzz/$target.log" | head -20
    echo "fuzzing $target found a fault: see build-fuzz/$target.log and the artifact beside it"
    exit 1
  fi
  grep -E '^(Done|stat::peak_rss_mb)' "$root/build-fuzz/$target.log"
done
echo "fuzzing: no findings"
