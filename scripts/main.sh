#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the main job: the
# single-PLL wizard in batch mode on the bundled example, writing the design
# file, the HDL wrapper and the constraint template into a fresh output folder.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/setup.sh"
"$here/scripts/build.sh" "$here/build"

out="$here/out/clkgen"
rm -rf "$out"
mkdir -p "$out"
echo "== olmwiz run --wizard tkl_pll (batch) on examples/tkl_pll_clkgen.opt"
"$here/build/bin/olmwiz" run --wizard tkl_pll --family korvo5 --design clkgen \
  --options "$here/examples/tkl_pll_clkgen.opt" --hdl verilog \
  --outdir "$out" --batch --log "$out/clkgen.log"
echo
echo "== $out/clkgen_olmw.pkx"
cat "$out/clkgen_olmw.pkx"
