# Installs the built project into a scratch prefix, then configures, builds
# and runs examples/outside_wizard against it in batch mode, and checks the
# Verilog it writes with Icarus Verilog.
file(REMOVE_RECURSE "${WORK}")
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(last_out "${out}" PARENT_SCOPE)
endfunction()

run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK}/prefix")
# olmwiz-hdl is installed beside olmwiz, where the toolkit looks for it.
run("${WORK}/prefix/bin/olmwiz-hdl" --help)
# Internal headers stay out of the package.
foreach(internal model/Olm_NameLookup.h model/Olm_AttributeListOps.h kfz/Olm_KfzCommands.h datafiles/Olm_DumpWriter.h)
  if(EXISTS "${WORK}/prefix/include/olmw/${internal}")
    message(FATAL_ERROR "the internal header ${internal} is installed")
  endif()
endforeach()
run(${CMAKE_COMMAND} -S "${SOURCE_DIR}/examples/outside_wizard" -B "${WORK}/build" -G Ninja
    -DCMAKE_PREFIX_PATH=${WORK}/prefix)
run(${CMAKE_COMMAND} --build "${WORK}/build")
run("${WORK}/build/outside_wizard" --design adder --options "${SOURCE_DIR}/examples/outside_wizard/adder.opt"
    --outdir "${WORK}/out" --batch)
if(NOT last_out MATCHES "adder/subtractor \\(SUBTRACT\\): 17-bit result")
  message(FATAL_ERROR "no feature line: ${last_out}")
endif()
foreach(f adder.kfz adder.v adder_olmw.pkx)
  if(NOT EXISTS "${WORK}/out/${f}")
    message(FATAL_ERROR "${f} not written")
  endif()
endforeach()
file(READ "${WORK}/out/adder.v" verilog)
if(NOT verilog MATCHES "input wire \\[11:0\\] subtrahend" OR NOT verilog MATCHES "output wire \\[16:0\\] difference")
  message(FATAL_ERROR "the ports are not as configured:\n${verilog}")
endif()
run("${WORK}/prefix/bin/olmwiz" hdl --kfz "${WORK}/out/adder.kfz" --lang verilog -o "${WORK}/check.v"
    --stubs "${WORK}/stubs.v")
run(iverilog -g2005 -o "${WORK}/adder.vvp" "${WORK}/out/adder.v" "${WORK}/stubs.v")
