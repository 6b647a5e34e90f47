#!/usr/bin/env bash
# Builds the fuzzing targets of the file readers (clang, libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) in a clean build/fuzz and runs each for SEKUNDEN seconds
# with a single worker, as many targets at a time as there are cores. Fails when a target
# crashes or asks for too much memory; the input that did it lands in
# <build>/funde/<target>/, the log beside it.
# TILVENDO_FUZZ_BUILD names a build folder configured with -DTILVENDO_FUZZ=ON whose
# targets are built already (the test command's); it is used as it stands.
#   werkzeuge/fuzzen.sh [SEKUNDEN]   (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."

sekunden=${1:-30}
ordner=${TILVENDO_FUZZ_BUILD:-build/fuzz}
# The same bound as the replay of stored inputs under the sanitizer (tests/fuzz/CMakeLists.txt).
malloc_grenze_mb=512
rss_grenze_mb=2048
ziele=(bmp jpeg fremdbild profil katalog signaturen)
declare -A woerterbuch=([bmp]=bmp.dict [jpeg]=jpeg.dict [fremdbild]=fremdbild.dict
                        [profil]=profil.dict [katalog]=profil.dict)

if [ -z "${TILVENDO_FUZZ_BUILD:-}" ]; then
  rm -rf "$ordner"
  # -O1 with line tables builds quickly and still names file and line in every report.
  cmake -S . -B "$ordner" -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DCMAKE_CXX_FLAGS="-O1 -gline-tables-only" -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_EXE_LINKER_FLAGS="-fuse-ld=lld" \
    -DTILVENDO_FUZZ=ON -DTILVENDO_TESTS=OFF -DTILVENDO_UI=OFF >/dev/null
fi
cmake --build "$ordner" -j "$(nproc)" --target "${ziele[@]/#/fuzz_}"

# The targets write every input as a file: keep that in memory where possible, and
# remove what a crashed process leaves there.
arbeit=$(mktemp -d "$( [ -w /dev/shm ] && echo /dev/shm || echo "${TMPDIR:-/tmp}" )/tilvendo-fuzzen.XXXXXX")
trap 'rm -rf "$arbeit"' EXIT

# Fuzzes one target into its log; the exit status is the fuzzer's.
fuzzen() {
  local ziel=$1
  local korpus="$ordner/korpus/$ziel"
  local funde="$ordner/funde/$ziel"
  mkdir -p "$korpus" "$funde"
  # The targets read small pictures only, so no reader needs much memory: one block above
  # the malloc limit, or a process above the RSS limit, is a finding like a crash (a header
  # that makes a library allocate what it claims).
  local optionen=(-max_total_time="$sekunden" -timeout=25 -malloc_limit_mb="$malloc_grenze_mb"
                  -rss_limit_mb="$rss_grenze_mb" -print_final_stats=1 -artifact_prefix="$funde/")
  if [ -n "${woerterbuch[$ziel]:-}" ]; then
    optionen+=(-dict="tests/fuzz/woerterbuch/${woerterbuch[$ziel]}")
  fi
  # The inputs that once made a reader fail start every run, so they meet the limits too.
  local saaten=("tests/fuzz/korpus/$ziel")
  if [ -d "tests/fuzz/regression/$ziel" ]; then saaten+=("tests/fuzz/regression/$ziel"); fi
  TMPDIR="$arbeit" "$ordner/tests/fuzz/fuzz_$ziel" "${optionen[@]}" "$korpus" \
    "${saaten[@]}" >"$funde/log.txt" 2>&1
}

# As many targets at a time as there are cores, each with one worker; the reports follow
# in the targets' order once all are done.
parallel=$(nproc)
laufend=0
for ziel in "${ziele[@]}"; do
  if [ "$laufend" -ge "$parallel" ]; then
    wait -n || true
    laufend=$((laufend - 1))
  fi
  echo "== $ziel: $sekunden s"
  (if fuzzen "$ziel"; then echo 0; else echo 1; fi >"$arbeit/$ziel.status") &
  laufend=$((laufend + 1))
done
wait

fehlgeschlagen=()
for ziel in "${ziele[@]}"; do
  funde="$ordner/funde/$ziel"
  if [ "$(cat "$arbeit/$ziel.status")" = 0 ]; then
    echo "-- $ziel"
    grep -E '^stat::number_of_executed_units|^stat::average_exec_per_sec|^#[0-9]+[[:space:]]+DONE' \
      "$funde/log.txt" || true
  else
    echo "   FEHLER: $ziel ist abgestürzt oder brauchte zu viel Speicher; Eingabe und Bericht in $funde/"
    grep -E '^(==[0-9]+== ?ERROR|SUMMARY)' "$funde/log.txt" || tail -5 "$funde/log.txt"
    fehlgeschlagen+=("$ziel")
  fi
done

if [ ${#fehlgeschlagen[@]} -gt 0 ]; then
  echo "Abgestürzt: ${fehlgeschlagen[*]}"
  exit 1
fi
echo "Kein Leser ist abgestürzt."
