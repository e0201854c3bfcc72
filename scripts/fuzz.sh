#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UBSan) into
# build-fuzz/ and runs each for SECONDS (default 30) from the corpus in fuzz/.
# A crash stops with the input that caused it in build-fuzz/crash-*.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
"$(dirname "$0")/install-deps.sh"
secondi="${1:-30}"
shift || true
bersagli=("$@")
if [ ${#bersagli[@]} -eq 0 ]; then bersagli=(traduttore criteri testi layout); fi
cmake -S fuzz -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-fuzz -j "${JOBS:-2}"
for b in "${bersagli[@]}"; do
  # New inputs go to a scratch copy: the corpus in the repository stays as it is.
  lavoro="build-fuzz/corpus-$b"
  mkdir -p "$lavoro"
  cp -n fuzz/corpus/"$b"/* "$lavoro"/ 2>/dev/null || true
  echo "fuzz $b: ${secondi}s"
  (cd build-fuzz && ./"${b}_fuzz" -max_total_time="$secondi" -rss_limit_mb=2048 \
     -print_final_stats=0 "corpus-$b" 2>&1 | tail -n 3)
done
