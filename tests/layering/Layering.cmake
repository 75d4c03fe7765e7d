# Checks who includes whom, per layer of the library and per wizard family:
#   cmake -DSOURCE_DIR=<project> -P Layering.cmake
# Fails with one line per include that crosses a layer the wrong way:
#   - src/shared includes nothing of the library but src/shared;
#   - src/model and src/datafiles (the lowest layer) include nothing from
#     above them: no bridge, toolkit, wizard layer, proof, GUI or Qt header;
#   - src/wizard (the wizard main, its pages and the summary) includes no
#     toolkit (src/kit) or proof header and no umbrella header;
#   - no file under src/ includes a header of a wizard (wizards/<family>);
#   - a wizard includes no header of another wizard family.

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "SOURCE_DIR is not set")
endif()
set(src "${SOURCE_DIR}/src")
set(wizards "${SOURCE_DIR}/wizards")
set(umbrella "OlmBase.h;OlmKit.h;OlmConfig.h")
set(findings "")

# The quoted and angled includes of a file, as "name" one an item.
function(includes_of file out)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
  set(names "")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]*)[\">].*$" "\\1" name "${line}")
    list(APPEND names "${name}")
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# Every wizard header by family: the family of a name is the folder that
# holds a header of that name.
file(GLOB families RELATIVE "${wizards}" "${wizards}/*")
set(wizard_headers "")
foreach(family IN LISTS families)
  if(IS_DIRECTORY "${wizards}/${family}")
    file(GLOB_RECURSE headers RELATIVE "${wizards}/${family}" "${wizards}/${family}/*.h")
    foreach(header IN LISTS headers)
      list(APPEND wizard_headers "${header}")
      set(family_of_${header} "${family}")
    endforeach()
  endif()
endforeach()

# The library's layers: a folder and the include prefixes it must not use.
set(layer_shared_forbidden "model/;datafiles/;kfz/;kit/;wizard/;proof/;gui_nx/;translator/;${umbrella}")
set(layer_model_forbidden "kfz/;kit/;wizard/;proof/;gui_nx/;${umbrella};Q")
set(layer_datafiles_forbidden "${layer_model_forbidden}")
set(layer_wizard_forbidden "kit/;proof/;${umbrella}")
foreach(layer shared model datafiles wizard kit kfz proof)
  file(GLOB_RECURSE files "${src}/${layer}/*.h" "${src}/${layer}/*.cpp")
  foreach(file IN LISTS files)
    file(RELATIVE_PATH where "${SOURCE_DIR}" "${file}")
    includes_of("${file}" names)
    foreach(name IN LISTS names)
      foreach(prefix IN LISTS layer_${layer}_forbidden)
        string(FIND "${name}" "${prefix}" at)
        if(at EQUAL 0)
          list(APPEND findings "${where} includes ${name}: the ${layer} layer must not include it")
        endif()
      endforeach()
      if(NOT EXISTS "${src}/${name}" AND DEFINED family_of_${name})
        list(APPEND findings "${where} includes ${name} of the wizard ${family_of_${name}}")
      endif()
    endforeach()
  endforeach()
endforeach()

# The generic wizard belongs to no family: it configures the installed data
# of every family, and takes a family's own arithmetic (the I/O clock plan)
# from that family's wizard rather than a copy of it.
set(family_free generic)
foreach(family IN LISTS families)
  if(family STREQUAL "${family_free}")
    continue()
  endif()
  file(GLOB_RECURSE files "${wizards}/${family}/*.h" "${wizards}/${family}/*.cpp")
  foreach(file IN LISTS files)
    file(RELATIVE_PATH where "${SOURCE_DIR}" "${file}")
    get_filename_component(dir "${file}" DIRECTORY)
    includes_of("${file}" names)
    foreach(name IN LISTS names)
      if(NOT EXISTS "${dir}/${name}" AND NOT EXISTS "${src}/${name}" AND DEFINED family_of_${name}
         AND NOT family_of_${name} STREQUAL family)
        list(APPEND findings "${where} includes ${name} of the wizard ${family_of_${name}}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(findings)
  list(JOIN findings "\n" text)
  message(FATAL_ERROR "Includes across layers:\n${text}")
endif()
message(STATUS "layering: every include stays in its layer")
