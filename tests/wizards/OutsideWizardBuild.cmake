# Installs the built project into a scratch prefix, then configures, builds
# and runs examples/outside_wizard against it.
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK}/prefix"
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed")
endif()
# olmwiz-hdl is installed beside olmwiz, where `olmwiz run` looks for it.
execute_process(COMMAND "${WORK}/prefix/bin/olmwiz-hdl" --help RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "Usage: olmwiz hdl")
  message(FATAL_ERROR "olmwiz-hdl is not installed beside olmwiz (${rc}): ${out}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S "${SOURCE_DIR}/examples/outside_wizard" -B "${WORK}/build"
  -G Ninja -DCMAKE_PREFIX_PATH=${WORK}/prefix RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the outside wizard failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build "${WORK}/build" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the outside wizard failed")
endif()
execute_process(COMMAND "${WORK}/build/outside_wizard" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "WIDTH = 8")
  message(FATAL_ERROR "the outside wizard failed (${rc}): ${out}\n${err}")
endif()
