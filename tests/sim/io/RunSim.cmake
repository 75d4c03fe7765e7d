# Compiles and runs one simulation, then judges its output.
#   cmake -DLANG=verilog|vhdl -DTOOL=<iverilog|ghdl> [-DVVP=<vvp>] -DWORK=<dir>
#         -DSOURCES=<a|b> -DTOP=<unit> [-DSETTINGS=<name=value|...>]
#         [-DEXPECT=<regex>] -P RunSim.cmake
# Passes when the output has a line matching EXPECT (default "PASS:") and no
# line starting "FAIL" other than the one EXPECT asks for. Without the tool
# it prints "SKIPPED: no simulator" (the test's skip expression).
if(NOT TOOL)
  message("SKIPPED: no simulator")
  return()
endif()
if(NOT EXPECT)
  set(EXPECT "PASS:")
endif()
file(MAKE_DIRECTORY "${WORK}")
string(REPLACE "|" ";" SOURCES "${SOURCES}")
string(REPLACE "|" ";" SETTINGS "${SETTINGS}")

set(args)
if(LANG STREQUAL "verilog")
  foreach(setting IN LISTS SETTINGS)
    list(APPEND args "-P${TOP}.${setting}")
  endforeach()
  execute_process(COMMAND "${TOOL}" -g2005 -o "${WORK}/${TOP}.vvp" ${args} ${SOURCES}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "iverilog failed:\n${out}")
  endif()
  execute_process(COMMAND "${VVP}" -n "${WORK}/${TOP}.vvp"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
else()
  foreach(setting IN LISTS SETTINGS)
    list(APPEND args "-g${setting}")
  endforeach()
  execute_process(COMMAND "${TOOL}" -a --std=08 --workdir=${WORK} ${SOURCES}
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "ghdl -a failed:\n${out}")
  endif()
  execute_process(COMMAND "${TOOL}" --elab-run --std=08 --workdir=${WORK} ${TOP} ${args}
                  WORKING_DIRECTORY "${WORK}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
endif()
message("${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the simulation ended with ${rc}")
endif()
if(NOT out MATCHES "${EXPECT}")
  message(FATAL_ERROR "no line matching '${EXPECT}'")
endif()
string(REGEX REPLACE "${EXPECT}" "" rest "${out}")
if(rest MATCHES "FAIL")
  message(FATAL_ERROR "the simulation reported a failure")
endif()
