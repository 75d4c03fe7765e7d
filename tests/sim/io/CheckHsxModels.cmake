# Writes the lane models from their templates into WORK and compares them
# with the ones in MODELS: an edit of a model instead of its template fails.
#   cmake -DMODELS=<sim folder> -DWORK=<dir> -P CheckHsxModels.cmake
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND "${CMAKE_COMMAND}" -DOUT=${WORK} -P "${MODELS}/hsx/HsxModels.cmake" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "HsxModels.cmake failed")
endif()
foreach(file IN ITEMS verilog/HSX3.v verilog/HSX10.v verilog/HSX11.v vhdl/HSX3.vhd vhdl/HSX10.vhd vhdl/HSX11.vhd)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK}/${file}" "${MODELS}/${file}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(SEND_ERROR "sim/${file} differs from its template; run cmake -P sim/hsx/HsxModels.cmake")
  endif()
endforeach()
