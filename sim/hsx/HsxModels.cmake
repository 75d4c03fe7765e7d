# Writes the models of the transceiver lanes HSX3, HSX10 and HSX11 from the
# templates HSX.v.in and HSX.vhd.in: the lanes behave alike and differ in
# their data widths and the defaults of their attributes.
#   cmake -DOUT=<sim folder> -P sim/hsx/HsxModels.cmake
# The build runs it into the build tree's sim folder (sim/CMakeLists.txt).
get_filename_component(here "${CMAKE_CURRENT_LIST_DIR}" ABSOLUTE)
include("${here}/../SimModelTemplate.cmake")
if(NOT OUT)
  message(FATAL_ERROR "HsxModels.cmake: give the sim folder to write into with -DOUT=<folder>")
endif()

# name | LINE_RATE | REFCLK_FREQ | data width default | widest data | PLL_MULT | PLL_REFDIV
set(lanes
    "HSX3|3.125|156.25|16|32|10|1"
    "HSX10|10.3125|312.5|32|64|33|2"
    "HSX11|6.500|250.0|32|40|13|1")

foreach(lane IN LISTS lanes)
  string(REPLACE "|" ";" fields "${lane}")
  list(GET fields 0 NAME)
  list(GET fields 1 LINE_RATE)
  list(GET fields 2 REFCLK_FREQ)
  list(GET fields 3 WIDTH)
  list(GET fields 4 MAXWIDTH)
  list(GET fields 5 PLL_MULT)
  list(GET fields 6 PLL_REFDIV)
  math(EXPR DMSB "${MAXWIDTH} - 1")
  math(EXPR CMSB "${MAXWIDTH} / 8 - 1")
  olm_sim_write_model("${here}/HSX.v.in" "${OUT}/verilog/${NAME}.v")
  olm_sim_write_model("${here}/HSX.vhd.in" "${OUT}/vhdl/${NAME}.vhd")
endforeach()
