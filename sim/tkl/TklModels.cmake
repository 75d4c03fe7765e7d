# Writes the models of the clock managers TKL, TKL_SP and TKL_ADV from the
# templates TKL.v.in and TKL.vhd.in: the three lock, divide and synthesize
# alike; TKL and TKL_ADV add the variable phase shift (SHIFT) and TKL_ADV the
# reconfiguration port and LOOP_FILTER (CFG).
#   cmake -DOUT=<sim folder> -P sim/tkl/TklModels.cmake
# The build runs it into the build tree's sim folder (sim/CMakeLists.txt).
get_filename_component(here "${CMAKE_CURRENT_LIST_DIR}" ABSOLUTE)
include("${here}/../SimModelTemplate.cmake")
if(NOT OUT)
  message(FATAL_ERROR "TklModels.cmake: give the sim folder to write into with -DOUT=<folder>")
endif()

# name | SHIFT | CFG
set(models
    "TKL|TRUE|FALSE"
    "TKL_SP|FALSE|FALSE"
    "TKL_ADV|TRUE|TRUE")

foreach(model IN LISTS models)
  string(REPLACE "|" ";" fields "${model}")
  list(GET fields 0 NAME)
  list(GET fields 1 SHIFT)
  list(GET fields 2 CFG)
  olm_sim_write_model("${here}/TKL.v.in" "${OUT}/verilog/${NAME}.v")
  olm_sim_write_model("${here}/TKL.vhd.in" "${OUT}/vhdl/${NAME}.vhd")
endforeach()
