#!/usr/bin/env bash
# Installs the built project into a scratch prefix, builds the installed
# block-RAM FIFO plugin example against it, and runs its wizard through
# OLMW_WIZARD_PATH and OLMW_DATA_PATH: olmwiz list, run in batch mode and in
# its window (drawn offscreen), regen (and regen --check), check-opt,
# hdl --stubs (compiled with Icarus Verilog) and check --kfz; then olmwiz sim
# on its core with Icarus and GHDL, taking the example's models of BRAM_FIFO
# from beside its data file and its testbench from the plugin: it must pass,
# and fail on a core changed behind the design file's back.
#   scripts/installed-example.sh [BUILD_DIR [WORK_DIR]]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
work="${2:-$build/installed-example}"
rm -rf "$work"
mkdir -p "$work"
work="$(cd "$work" && pwd)"
fail() { echo "installed-example: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null
olmwiz="$work/prefix/bin/olmwiz"
"$work/prefix/bin/olmwiz-hdl" --help >/dev/null
[ -d "$work/prefix/lib/olmw/wizards" ] || fail "no installed plugin folder lib/olmw/wizards"
for internal in model/Olm_NameLookup.h model/Olm_AttributeListOps.h kfz/Olm_KfzCommands.h datafiles/Olm_DumpWriter.h; do
  [ ! -e "$work/prefix/include/olmw/$internal" ] || fail "the internal header $internal is installed"
done

example="$work/prefix/share/doc/olmw/examples/bram_fifo"
[ -f "$example/olm_bram.dev" ] || fail "the example is not installed in $example"
lines=$(grep -cvE '^\s*($|//)' "$example/bram_fifo.cpp")
[ "$lines" -le 150 ] || fail "the example has $lines lines of C++, more than 150"
cmake -S "$example" -B "$work/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/build" >/dev/null

export OLMW_WIZARD_PATH="$work/build" OLMW_DATA_PATH="$example"
unset OLMW_DATA_DIR
cd "$work"

"$olmwiz" list --verbose >list.txt
grep -q "^  bram_fifo .*from: $work/build/" list.txt || fail "olmwiz list names no bram_fifo plugin: $(cat list.txt)"
grep -q "^  bram .*olm_bram.dev .*at: $example/olm_bram.dev" list.txt || fail "no data type bram: $(cat list.txt)"

# Batch run, then the same wizard again with nothing changed: regen --check.
"$olmwiz" run --wizard bram_fifo --family korvo5 --design fifo --options "$example/fifo.opt" --outdir out \
  --batch >run.txt
grep -q "dual-clock FIFO: 2048 words of 18 bits, first word falls through" run.txt \
  || fail "no feature line: $(cat run.txt)"
for f in fifo.kfz fifo.v fifo_olmw.pkx; do [ -s "out/$f" ] || fail "out/$f not written"; done
grep -q "input wire \[17:0\] wr_data" out/fifo.v || fail "the ports are not as configured: $(cat out/fifo.v)"

# The window, drawn offscreen page by page (it needs no display).
QT_QPA_PLATFORM=offscreen "$olmwiz" run --wizard bram_fifo --family korvo5 --design fifo \
  --options "$example/fifo.opt" --render-pages pages >pages.txt 2>pages.err
grep -q "01-fifo-setup.png" pages.txt || fail "no page drawn: $(cat pages.txt)"
# The window walked to Finish unattended (Next on every page, then Finish):
# the files of the batch run.
QT_QPA_PLATFORM=offscreen "$olmwiz" run --wizard bram_fifo --family korvo5 --design fifo \
  --options "$example/fifo.opt" --outdir walked --walk >walk.txt 2>walk.err || fail "the walk failed: $(cat walk.err)"
for f in fifo.kfz fifo.v fifo_olmw.pkx; do
  grep -qx "$work/walked/$f" walk.txt || fail "the walk names no $f: $(cat walk.txt)"
  cmp -s "walked/$f" "out/$f" || fail "the walk wrote another $f than the batch run"
done

printf -- '--wizard bram_fifo --family korvo5 --design fifo2 --options %s/fifo.opt --outdir cores/fifo2\n' \
  "$example" >cores.txt
"$olmwiz" regen cores.txt >regen.txt || fail "regen failed: $(cat regen.txt)"
"$olmwiz" regen cores.txt --check >regen-check.txt || fail "regen --check failed: $(cat regen-check.txt)"
cmp -s <(sed 's/fifo2/fifo/g' cores/fifo2/fifo2.v) out/fifo.v || fail "regen wrote another HDL file than run"
# Under ninja a plugin's job reruns when the plugin or its data file changes.
"$olmwiz" regen cores.txt --ninja regen.ninja >/dev/null
grep -q "olmwiz_run .*$example/olm_bram.dev $work/build/libbram_fifo.so " regen.ninja \
  || fail "the ninja edge does not follow the plugin and its data file: $(cat regen.ninja)"

"$olmwiz" check-opt --wizard bram_fifo --family korvo5 "$example/fifo.opt" | grep -q ": OK" \
  || fail "check-opt finds fault with the example's option file"
printf 'BlockProp: BRAM_FIFO.*.DATA_WIDTH=17;\n' >bad.opt
if "$olmwiz" check-opt --wizard bram_fifo --family korvo5 bad.opt 2>/dev/null; then
  fail "check-opt accepts a width the data does not allow"
fi

"$olmwiz" hdl --kfz out/fifo.kfz --lang verilog -o again.v --stubs stubs.v
cmp -s again.v out/fifo.v || fail "olmwiz hdl writes another wrapper than the run"
grep -q "module BRAM_FIFO" stubs.v || fail "no black box of BRAM_FIFO: $(cat stubs.v)"
iverilog -g2005 -o fifo.vvp out/fifo.v stubs.v

"$olmwiz" check --kfz out/fifo.kfz | grep -q "meets the design rules" || fail "the design breaks the design rules"

# An unknown data type names the folders searched.
if "$olmwiz" dump --wizard nosuch --family korvo5 >/dev/null 2>dump.txt; then fail "dump of an unknown type succeeded"; fi
grep -q "the data folders searched: $example" dump.txt || fail "the unknown type names no folder: $(cat dump.txt)"

# olmwiz sim on the plugin's core: the models of BRAM_FIFO beside olm_bram.dev
# (found through OLMW_DATA_PATH) and the testbench the plugin writes, in both
# languages. A changed core must fail the bench with a non-zero exit code.
for model in sim/verilog/BRAM_FIFO.v sim/vhdl/BRAM_FIFO.vhd; do
  [ -f "$example/$model" ] || fail "the example's model $model is not installed"
done
expect_sim() {  # expect_sim PASS|FAIL LOG olmwiz-sim-arguments...
  local want="$1" log="$2"; shift 2
  if "$olmwiz" sim "$@" >"$log" 2>&1; then got=PASS; else got=FAIL; fi
  [ "$got" = "$want" ] && grep -q "^$want fifo: " "$log" || fail "olmwiz sim $*: expected $want: $(tail -5 "$log")"
}
for hdl in verilog vhdl; do
  "$olmwiz" run --wizard bram_fifo --family korvo5 --design fifo --options "$example/fifo.opt" --hdl "$hdl" \
    --outdir "sim-$hdl" --batch --testbench >"sim-$hdl.txt" || fail "run --testbench ($hdl) failed: $(cat "sim-$hdl.txt")"
done
[ -s sim-verilog/fifo_tb.v ] && [ -s sim-vhdl/fifo_tb.vhd ] || fail "the plugin wrote no testbench"
expect_sim PASS sim-icarus.txt --kfz sim-verilog/fifo.kfz --simulator icarus
expect_sim PASS sim-ghdl.txt --kfz sim-vhdl/fifo.kfz --simulator ghdl
# The written wrapper with another data width (Icarus) or without the first
# word falling through (GHDL).
mkdir -p mutant-width mutant-fwft mutant-doreg
cp sim-verilog/fifo.kfz sim-verilog/fifo_tb.v mutant-width/
sed 's/\.DATA_WIDTH(18)/.DATA_WIDTH(9)/' sim-verilog/fifo.v >mutant-width/fifo.v
! cmp -s mutant-width/fifo.v sim-verilog/fifo.v || fail "no DATA_WIDTH(18) in the wrapper: $(cat sim-verilog/fifo.v)"
expect_sim FAIL mutant-width.txt --kfz mutant-width/fifo.kfz --simulator icarus
cp sim-vhdl/fifo.kfz sim-vhdl/fifo_tb.vhd mutant-fwft/
sed 's/FIRST_WORD_FALL_THROUGH => "TRUE"/FIRST_WORD_FALL_THROUGH => "FALSE"/' sim-vhdl/fifo.vhd >mutant-fwft/fifo.vhd
! cmp -s mutant-fwft/fifo.vhd sim-vhdl/fifo.vhd || fail "no FIRST_WORD_FALL_THROUGH in the wrapper: $(cat sim-vhdl/fifo.vhd)"
expect_sim FAIL mutant-fwft.txt --kfz mutant-fwft/fifo.kfz --simulator ghdl
# The design file asks for the output register the wrapper lacks: the bench,
# written from it for the run, must see the latency.
cp sim-verilog/fifo.v mutant-doreg/
sed 's/"DO_REG": "0"/"DO_REG": "1"/' sim-verilog/fifo.kfz >mutant-doreg/fifo.kfz
! cmp -s mutant-doreg/fifo.kfz sim-verilog/fifo.kfz || fail "no DO_REG 0 in the design file"
expect_sim FAIL mutant-doreg.txt --kfz mutant-doreg/fifo.kfz --simulator icarus
echo "installed-example: the bram_fifo plugin builds and runs against the installed package"
