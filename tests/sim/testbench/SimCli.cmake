# The command line of `olmwiz sim`: wrong usage exits 2, a missing simulator
# or model and a time-out exit 1 with the reason, and a design file without
# a testbench beside it gets one for the run.
#   -DOLMWIZ=... -DWORK=dir
function(expect_exit code pattern)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL code OR NOT "${out}${err}" MATCHES "${pattern}")
    message(FATAL_ERROR "${ARGN}\nexited with ${result}, expected ${code} and '${pattern}':\n${out}${err}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/no_models)
expect_exit(2 "--kfz is required" ${OLMWIZ} sim)
expect_exit(2 "unknown simulator 'modelsim'" ${OLMWIZ} sim --kfz x.kfz --simulator modelsim)
expect_exit(2 "ghdl simulates vhdl, not verilog" ${OLMWIZ} sim --kfz x.kfz --simulator ghdl --hdl verilog)
expect_exit(2 "--hdl must be verilog or vhdl" ${OLMWIZ} sim --kfz x.kfz --hdl systemc)
expect_exit(2 "--time-limit takes a number of seconds, not '-3'" ${OLMWIZ} sim --kfz x.kfz --time-limit=-3)
expect_exit(1 "the simulator verilator is not on PATH; install the Debian package verilator"
            ${CMAKE_COMMAND} -E env PATH=${WORK}/no_models ${OLMWIZ} sim --kfz x.kfz --simulator verilator)

find_program(iverilog iverilog)
if(NOT iverilog)
  message("SKIP: iverilog is not installed (Debian package iverilog)")
  return()
endif()
execute_process(COMMAND ${OLMWIZ} run --wizard dsp_mult --family korvo5 --design mult --batch --silent --outdir ${WORK}/mult
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "olmwiz run failed")
endif()
expect_exit(1 "no simulation model of DSP \\(DSP.v\\) in the folders searched: ${WORK}/no_models\n"
            ${OLMWIZ} sim --kfz ${WORK}/mult/mult.kfz --models ${WORK}/no_models)
expect_exit(1 "mult: compiling took longer than 0.001 s and was stopped" ${OLMWIZ} sim --kfz ${WORK}/mult/mult.kfz --time-limit 0.001)
# No testbench beside the design file: one is written for the run, none is left.
expect_exit(0 "the testbench is written from the design file for this run.*PASS mult: [0-9]+ checks"
            ${OLMWIZ} sim --kfz ${WORK}/mult/mult.kfz)
if(EXISTS ${WORK}/mult/mult_tb.v)
  message(FATAL_ERROR "olmwiz sim left a testbench beside the design file")
endif()
