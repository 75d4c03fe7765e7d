#!/bin/sh
# Runs one check of the simulation models with one HDL tool. Exit 77 (the
# test is skipped) when the tool is not installed.
#   run_sim.sh iverilog-lint MODEL.v...        each model compiles alone, silently
#   run_sim.sh verilator-lint MODEL.v...       each model passes the linter
#   run_sim.sh ghdl-lint WORK MODEL.vhd...     each model analyses and elaborates, silently
#   run_sim.sh iverilog-tb TOP FILE.v...       the testbench TOP prints PASS
#   run_sim.sh ghdl-tb WORK TOP FILE.vhd...    the testbench TOP prints PASS
# A testbench passes when it prints a PASS line and no FAIL or ERROR line
# (the models report a value they cannot honour with ERROR at time 0).
set -u
mode=$1
shift

need() {
    command -v "$1" >/dev/null 2>&1 || { echo "$1 is not installed"; exit 77; }
}

check_output() {
    echo "$1"
    if echo "$1" | grep -q -E 'FAIL|ERROR|error'; then
        exit 1
    fi
    echo "$1" | grep -q -E '(^|: )PASS$' || { echo "no PASS line"; exit 1; }
}

case $mode in
iverilog-lint)
    need iverilog
    for f in "$@"; do
        out=$(iverilog -g2005 -Wall -t null "$f" 2>&1) || { echo "$out"; exit 1; }
        [ -z "$out" ] || { echo "$f: $out"; exit 1; }
    done
    ;;
verilator-lint)
    need verilator
    # Every warning class is on but two: BLKSEQ (the models use blocking
    # assignments for their own state variables in clocked processes, on
    # purpose) and UNUSED (pins and parameters that shape only the silicon,
    # such as LOC, are declared to match the primitive but not read). The
    # models are behavioural, with delays: --timing makes Verilator accept
    # them instead of refusing every delay.
    for f in "$@"; do
        verilator --lint-only --timing --language 1364-2005 -Wall -Wno-BLKSEQ -Wno-UNUSED "$f" || exit 1
    done
    ;;
ghdl-lint)
    need ghdl
    work=$1
    shift
    rm -rf "$work" && mkdir -p "$work" || exit 1
    for f in "$@"; do
        case $f in /*) ;; *) f=$PWD/$f ;; esac
        out=$(cd "$work" && ghdl -a --std=08 "$f" 2>&1 && ghdl -e --std=08 "$(basename "$f" .vhd)" 2>&1) ||
            { echo "$out"; exit 1; }
        [ -z "$out" ] || { echo "$f: $out"; exit 1; }
    done
    ;;
iverilog-tb)
    need iverilog
    top=$1
    shift
    tmp=$(mktemp -d) || exit 1
    trap 'rm -rf "$tmp"' EXIT
    iverilog -g2005 -o "$tmp/$top.vvp" -s "$top" "$@" || exit 1
    check_output "$(vvp -n "$tmp/$top.vvp" 2>&1)"
    ;;
ghdl-tb)
    need ghdl
    work=$1
    top=$2
    shift 2
    rm -rf "$work" && mkdir -p "$work" || exit 1
    files=
    for f in "$@"; do
        case $f in /*) ;; *) f=$PWD/$f ;; esac
        files="$files $f"
    done
    # shellcheck disable=SC2086
    (cd "$work" && ghdl -a --std=08 $files) || exit 1
    check_output "$(cd "$work" && ghdl --elab-run --std=08 "$top" 2>&1)"
    ;;
*)
    echo "unknown mode $mode"
    exit 2
    ;;
esac
