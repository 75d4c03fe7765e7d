# Small helpers shared by the project's CMake files.

# Adds a subdirectory when it holds a CMakeLists.txt.
function(olm_optional_subdirectory dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endfunction()

# Installs a library target and its public headers (a folder below include/).
function(olm_install_library target header_dir)
  install(TARGETS ${target} EXPORT OlmBaseTargets
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/olmw)
  install(DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${header_dir}
    DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/olmw FILES_MATCHING PATTERN "*.h")
endfunction()

# A GoogleTest executable registered with CTest.
#   olm_add_gtest(NAME name SOURCES ... LIBS ... [GUI])
# GUI tests run on Qt's offscreen platform. Every test of the calling folder
# (and of its subfolders) is labelled with the folder's path below tests/, so
# `ctest -L kfz` runs one area.
function(olm_add_gtest)
  cmake_parse_arguments(T "GUI" "NAME" "SOURCES;LIBS;LABELS" ${ARGN})
  file(RELATIVE_PATH area "${PROJECT_SOURCE_DIR}/tests" "${CMAKE_CURRENT_SOURCE_DIR}")
  get_property(area_labels DIRECTORY PROPERTY LABELS)
  if(area AND NOT area MATCHES "^\\.\\." AND NOT area IN_LIST area_labels)
    set_property(DIRECTORY APPEND PROPERTY LABELS "${area}")
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} olm_test_support GTest::gtest GTest::gtest_main)
  # Each property gets a single, non-empty value: the discovery script
  # flattens lists and drops empty values, so a second ENVIRONMENT entry or an
  # empty value would shift the property names.
  set(props ENVIRONMENT "OLMW_TEST_TMP=${CMAKE_CURRENT_BINARY_DIR}/tmp")
  if(T_GUI)
    list(APPEND props ENVIRONMENT_MODIFICATION "QT_QPA_PLATFORM=set:offscreen")
  endif()
  if(T_LABELS)
    string(REPLACE ";" "," labels "${T_LABELS}")
    list(APPEND props LABELS "${labels}")
  endif()
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES ${props})
endfunction()

# A shared library of the platform layer: sources, public headers below
# include/<header_dir>, an export macro switched on by <building_define>, the
# project's version, and install rules.
#   olm_platform_library(target OUTPUT_NAME name ALIAS alias
#                        BUILDING_DEFINE define HEADER_DIR dir SOURCES ...)
function(olm_platform_library target)
  cmake_parse_arguments(L "" "OUTPUT_NAME;ALIAS;BUILDING_DEFINE;HEADER_DIR" "SOURCES" ${ARGN})
  add_library(${target} SHARED ${L_SOURCES})
  add_library(${L_ALIAS} ALIAS ${target})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${L_OUTPUT_NAME}
    VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})
  target_include_directories(${target} PUBLIC
    $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}/include>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/olmw>)
  target_compile_definitions(${target} PRIVATE ${L_BUILDING_DEFINE})
  olm_install_library(${target} include/${L_HEADER_DIR})
endfunction()

# The data folder relative to the library folder (for example
# "../share/olmw"). The build tree mirrors the installed layout, so a library
# finds the data at this distance from itself in both.
function(olm_data_dir_relative_to_libdir out_var)
  cmake_path(ABSOLUTE_PATH CMAKE_INSTALL_LIBDIR BASE_DIRECTORY "/olm-prefix" OUTPUT_VARIABLE libdir)
  cmake_path(ABSOLUTE_PATH OLM_DATA_INSTALL_DIR BASE_DIRECTORY "/olm-prefix" OUTPUT_VARIABLE datadir)
  file(RELATIVE_PATH rel "${libdir}" "${datadir}")
  set(${out_var} "${rel}" PARENT_SCOPE)
endfunction()
