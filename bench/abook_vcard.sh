#!/usr/bin/env bash
# Times abook's conversion of the cards tabrel_bench's BM_CliExportVcard and
# BM_CliImportVcard write and read (the generated data set of 32,767
# records), on this machine, then runs those two benchmarks for comparison.
#
#   bench/abook_vcard.sh [RUNS]     (default 5 runs of each conversion)
#
# Import: abook --convert from the vCard file to its own file. Export: from
# its own file of the same cards to vCard. abook writes without fsync;
# Tabrel's figures include it. BUILD_DIR (default: build) must hold
# tabrel-cli, tabrel_sample and tabrel_bench. Installs abook when missing;
# CI does not need it.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="${BUILD_DIR:-$ROOT/build}"
RUNS="${1:-5}"

if ! command -v abook >/dev/null; then
  sudo=()
  ((EUID != 0)) && sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends abook
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$BUILD_DIR/tabrel_sample" "$work/data" 32767 >/dev/null
"$BUILD_DIR/tabrel-cli" --data "$work/data" export vcard -o "$work/cards.vcf" 2>/dev/null
abook --convert --informat vcard --infile "$work/cards.vcf" --outformat abook \
  --outfile "$work/book"

# The median of RUNS wall-clock times of "$@" in milliseconds, as
# tabrel_bench's median below; OUT is removed before each run, as abook
# refuses to write over a file.
median_ms() {
  local out="$1" start end times=()
  shift
  for ((i = 0; i < RUNS; i++)); do
    rm -f "$out"
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    times+=($(((end - start) / 1000000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((RUNS + 1) / 2))p"
}

echo "abook --convert, $(grep -c '^BEGIN:VCARD' "$work/cards.vcf") cards, median of $RUNS:"
echo "  import (vcard -> abook): $(median_ms "$work/book2" abook --convert --informat vcard \
  --infile "$work/cards.vcf" --outformat abook --outfile "$work/book2") ms"
echo "  export (abook -> vcard): $(median_ms "$work/out.vcf" abook --convert --informat abook \
  --infile "$work/book" --outformat vcard --outfile "$work/out.vcf") ms"
echo "Tabrel (tabrel_bench):"
"$BUILD_DIR/tabrel_bench" --benchmark_filter='BM_Cli(Export|Import)Vcard' \
  --benchmark_repetitions="$RUNS" --benchmark_report_aggregates_only=true 2>/dev/null |
  grep -E '_median' || true
