# The models declare exactly what the HDL writer instantiates: for every
# primitive of the clock and DSP data, the module header (Verilog) and the
# entity (VHDL) of the model equal, character for character, the black-box
# declaration that `olmwiz hdl --stubs` writes for it (names, directions,
# widths, parameter kinds and default values).
#   cmake -DOLMWIZ=... -DMODELS=<sim folder> -DEXAMPLES=<examples folder> -DWORK=<scratch>
#         -P ModelsMatchStubs.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
endfunction()

# One design with a block of every clock primitive, one with the DSP block,
# two of the PLL wizard with each of its clock buffers.
file(WRITE "${WORK}/clocks.opt" "")
foreach(prim TKL TKL_SP TKL_ADV RKO_BASE RKO_ADV KDIV)
  file(APPEND "${WORK}/clocks.opt" "BlockProp: ${prim}.*.OLMW_ONLY_INST_COUNT=1;\n")
endforeach()
run("${OLMWIZ}" run --batch --silent --wizard generic --type tkl_any --family korvo5 --design clocks
    --options "${WORK}/clocks.opt" --outdir "${WORK}/clocks")
run("${OLMWIZ}" run --batch --silent --wizard dsp_mult --family korvo5 --design mult --outdir "${WORK}/mult")
run("${OLMWIZ}" run --batch --silent --wizard tkl_pll --family korvo5 --design clkgen
    --options "${EXAMPLES}/tkl_pll_clkgen.opt" --outdir "${WORK}/clkgen")
file(WRITE "${WORK}/muxout.opt" "BlockProp: RKO_ADV.*.OLMW_ONLY_CLKOUT1_USED=TRUE;
TklClkBuf: RKO_ADV.*.CLKOUT0=Clock Mux;
TklClkBuf: RKO_ADV.*.CLKOUT1=Output Buffer;
")
run("${OLMWIZ}" run --batch --silent --wizard tkl_pll --family korvo5 --design muxout
    --options "${WORK}/muxout.opt" --outdir "${WORK}/muxout")
set(stubs_v "")
set(stubs_vhd "")
foreach(design clocks mult clkgen muxout)
  run("${OLMWIZ}" hdl --kfz "${WORK}/${design}/${design}.kfz" --lang verilog -o "${WORK}/${design}_w.v"
      --stubs "${WORK}/${design}_stubs.v")
  run("${OLMWIZ}" hdl --kfz "${WORK}/${design}/${design}.kfz" --lang vhdl -o "${WORK}/${design}_w.vhd"
      --stubs "${WORK}/${design}_stubs.vhd")
  file(READ "${WORK}/${design}_stubs.v" text)
  string(APPEND stubs_v "${text}")
  file(READ "${WORK}/${design}_stubs.vhd" text)
  string(APPEND stubs_vhd "${text}")
endforeach()

# The text of 'text' from 'first' up to and including 'last' (searched after
# 'first'); empty when either is missing.
function(slice text first last out)
  set(${out} "" PARENT_SCOPE)
  string(FIND "${text}" "${first}" begin)
  if(begin EQUAL -1)
    return()
  endif()
  string(SUBSTRING "${text}" ${begin} -1 rest)
  string(FIND "${rest}" "${last}" end)
  if(end EQUAL -1)
    return()
  endif()
  string(LENGTH "${last}" n)
  math(EXPR end "${end} + ${n}")
  string(SUBSTRING "${rest}" 0 ${end} part)
  set(${out} "${part}" PARENT_SCOPE)
endfunction()

set(failures "")
foreach(prim TKL TKL_SP TKL_ADV RKO_BASE RKO_ADV KDIV KBUFG KBUFGCE KBUFGMUX KOBUF DSP)
  slice("${stubs_v}" "module ${prim} " "\n);\n" stub)
  file(READ "${MODELS}/verilog/${prim}.v" model)
  slice("${model}" "module ${prim} " "\n);\n" decl)
  if(stub STREQUAL "" OR NOT decl STREQUAL stub)
    string(APPEND failures "verilog/${prim}.v declares\n${decl}\nthe stub is\n${stub}\n")
  endif()
  slice("${stubs_vhd}" "entity ${prim} is\n" "end entity ${prim};\n" stub)
  file(READ "${MODELS}/vhdl/${prim}.vhd" model)
  slice("${model}" "entity ${prim} is\n" "end entity ${prim};\n" decl)
  if(stub STREQUAL "" OR NOT decl STREQUAL stub)
    string(APPEND failures "vhdl/${prim}.vhd declares\n${decl}\nthe stub is\n${stub}\n")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
