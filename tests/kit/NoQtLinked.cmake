# Fails when PROGRAM loads a Qt library, directly or through another library
# (ldd lists every library loaded), or when it cannot be listed.
execute_process(COMMAND ldd "${PROGRAM}" RESULT_VARIABLE rc OUTPUT_VARIABLE libs ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT libs MATCHES "libOlm_Config")
  message(FATAL_ERROR "ldd ${PROGRAM} failed or lists no libOlm_Config (${rc}):\n${libs}${err}")
endif()
if(libs MATCHES "libQt6")
  message(FATAL_ERROR "${PROGRAM} loads Qt:\n${libs}")
endif()
