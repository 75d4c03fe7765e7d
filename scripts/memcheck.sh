#!/usr/bin/env bash
# valgrind memcheck on a built tree: the model tests, the GUI tests and the
# end-to-end batch runs of the wizards.
# Any invalid access or leak of ours fails the script.
#   scripts/memcheck.sh [BUILD_DIR]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
export QT_QPA_PLATFORM=offscreen
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 0700 "$XDG_RUNTIME_DIR"

memcheck() {
  local name="$1"
  shift
  local start=$SECONDS
  if ! valgrind --quiet --trace-children=yes --leak-check=full \
      --errors-for-leak-kinds=definite,indirect,possible --error-exitcode=99 \
      --suppressions="$here/.ci/valgrind.supp" "$@" >"$work/$name.log" 2>&1; then
    cat "$work/$name.log"
    echo "memcheck: $name FAILED"
    return 1
  fi
  echo "memcheck: $name clean ($((SECONDS - start)) s)"
}

for t in model_tests gui_nx_tests wizard_tests kit_tests ref_wizard_pages_tests; do
  memcheck "$t" "$build/bin/$t" --gtest_brief=1
done
memcheck "tkl_pll batch run" "$build/bin/olmwiz" run --wizard tkl_pll --family korvo5 --design clkgen \
  --options "$here/examples/tkl_pll_clkgen.opt" --outdir "$work/tkl_pll" --batch --silent
memcheck "dsp_mult batch run" "$build/bin/olmwiz" run --wizard dsp_mult --family korvo5 --design mult \
  --options "$here/examples/dsp_mult_small.opt" --hdl vhdl --outdir "$work/dsp_mult" --batch --silent
memcheck "hsx batch run" "$build/bin/olmwiz" run --wizard hsx --family korvo4 --design dual \
  --options "$here/examples/hsx_korvo4_bonded.opt" --outdir "$work/hsx" --batch --silent
for w in rx tx; do
  memcheck "ssio_$w batch run" "$build/bin/olmwiz" run --wizard "ssio_$w" --family korvo5 --design "lvds_$w" \
    --options "$here/examples/ssio_${w}_lvds8.opt" --outdir "$work/ssio_$w" --batch --silent
done
memcheck "generic batch run" "$build/bin/olmwiz" run --wizard generic --type tkl_any --family korvo5 --design clocks \
  --options "$here/examples/generic_tkl.opt" --outdir "$work/generic" --batch --silent
for f in generic/clocks.v tkl_pll/clkgen.kfz tkl_pll/clkgen.v dsp_mult/mult.kfz dsp_mult/mult.vhd hsx/dual.kfz hsx/dual.v ssio_rx/lvds_rx.v ssio_tx/lvds_tx.v; do
  [ -s "$work/$f" ] || { echo "memcheck: the batch run did not write $f"; exit 1; }
done
