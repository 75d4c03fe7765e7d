# One case of the testbench suite: runs a wizard in batch mode with
# --testbench, optionally changes one text of the written wrapper (a
# mutation the testbench must catch), then runs `olmwiz sim` and expects the
# testbench to pass or to fail.
#   -DOLMWIZ=... -DWORK=dir -DDESIGN=name -DHDL=verilog|vhdl -DEXPECT=PASS|FAIL
#   -DRUN_ARGS="--wizard|tkl_pll|--family|korvo5|..."  (the arguments, "|" between)
#   [-DMUTATE_FROM=text -DMUTATE_TO=text]
# Prints "SKIP: ..." (the test is then skipped) when the simulator is missing.
if(HDL STREQUAL "vhdl")
  find_program(sim_program ghdl)
  set(sim_package ghdl)
else()
  find_program(sim_program iverilog)
  find_program(sim_runner vvp)
  if(NOT sim_runner)
    set(sim_program sim_program-NOTFOUND)
  endif()
  set(sim_package iverilog)
endif()
if(NOT sim_program)
  message("SKIP: the simulator of ${HDL} is not installed (Debian package ${sim_package})")
  return()
endif()

file(REMOVE_RECURSE ${WORK})
string(REPLACE "|" ";" RUN_ARGS "${RUN_ARGS}")
execute_process(COMMAND ${OLMWIZ} run ${RUN_ARGS} --design ${DESIGN} --hdl ${HDL} --batch --silent --testbench
                        --outdir ${WORK}
                RESULT_VARIABLE run_result OUTPUT_VARIABLE run_out ERROR_VARIABLE run_err)
if(NOT run_result EQUAL 0)
  message(FATAL_ERROR "olmwiz run failed (${run_result}):\n${run_out}${run_err}")
endif()
if(HDL STREQUAL "vhdl")
  set(ext vhd)
else()
  set(ext v)
endif()
foreach(file ${DESIGN}.kfz ${DESIGN}.${ext} ${DESIGN}_tb.${ext})
  if(NOT EXISTS ${WORK}/${file})
    message(FATAL_ERROR "olmwiz run --testbench did not write ${file}")
  endif()
endforeach()

if(DEFINED MUTATE_FROM)
  file(READ ${WORK}/${DESIGN}.${ext} wrapper)
  string(FIND "${wrapper}" "${MUTATE_FROM}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the wrapper holds no '${MUTATE_FROM}' to change")
  endif()
  string(REPLACE "${MUTATE_FROM}" "${MUTATE_TO}" wrapper "${wrapper}")
  file(WRITE ${WORK}/${DESIGN}.${ext} "${wrapper}")
endif()

execute_process(COMMAND ${OLMWIZ} sim --kfz ${WORK}/${DESIGN}.kfz --hdl ${HDL} --time-limit 120
                RESULT_VARIABLE sim_result OUTPUT_VARIABLE sim_out ERROR_VARIABLE sim_err)
message("${sim_out}${sim_err}")
if(EXPECT STREQUAL "PASS")
  if(NOT sim_result EQUAL 0 OR NOT sim_out MATCHES "(^|\n)PASS ${DESIGN}: [0-9]+ checks")
    message(FATAL_ERROR "expected the testbench to pass; olmwiz sim exited with ${sim_result}")
  endif()
  if(sim_out MATCHES "(^|\n)FAIL ")
    message(FATAL_ERROR "a FAIL line beside the PASS line")
  endif()
else()
  if(NOT sim_result EQUAL 1 OR NOT sim_out MATCHES "(^|\n)FAIL ${DESIGN}: ")
    message(FATAL_ERROR "expected the testbench to fail with a FAIL line; olmwiz sim exited with ${sim_result}")
  endif()
endif()
