#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a while on its seed corpus.
#   fuzz/run.sh [seconds per target (default 60)] [target ...]
# New inputs go to fuzz/corpus-work/<target>/ (not committed); crashes to fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")"
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(id3v2 id3v1 mpeg listfile settings)

build=../build-fuzz
CXX=clang++ CC=clang cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build"

mkdir -p artifacts
for t in "${targets[@]}"; do
  mkdir -p "corpus-work/$t"
  echo "== fuzz_$t for ${seconds}s"
  "$build/fuzz_$t" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -artifact_prefix="artifacts/$t-" -print_final_stats=1 "corpus-work/$t" "corpus/$t"
done
