# Installs BUILD_DIR into WORK, then checks the documentation there: each
# document is installed, and every file the guide names is in the prefix.
#
# What counts as naming a file in the guide (outside fenced code blocks):
# - a link [text](target) that is not a web address: a file beside the guide;
# - a code span that is a path: one with a "/" (read from the prefix, with
#   "<prefix>/" dropped; a name like kit/Olm_KitGui.h is a header under
#   include/olmw), or a file name ending in .h (a header), .md (a document
#   beside the guide), .dev or .map (an installed data file).
# Code spans with blanks or placeholders (<design>.kfz) name no file.
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK}"
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}): ${err}")
endif()

set(docs "${WORK}/${DOC_DIR}")
set(problems "")
foreach(doc writing-a-wizard.md data-file-format.md kfz-format.md regen.md simulation.md limits.md)
  if(NOT EXISTS "${docs}/${doc}")
    string(APPEND problems "${DOC_DIR}/${doc} is not installed\n")
  endif()
endforeach()

file(READ "${docs}/writing-a-wizard.md" guide)
string(REGEX REPLACE "```[^`]*```" "" prose "${guide}")
# Square brackets would hold list elements together in CMake's lists, and
# semicolons would split them.
string(REPLACE "](" "@LINK@(" prose "${prose}")
string(REPLACE "[" "{" prose "${prose}")
string(REPLACE "]" "}" prose "${prose}")
string(REPLACE ";" "," prose "${prose}")

string(REGEX MATCHALL "@LINK@\\([^) ]+\\)" links "${prose}")
set(named "")
foreach(link IN LISTS links)
  string(REGEX REPLACE "^@LINK@\\(([^)#]*).*$" "\\1" target "${link}")
  if(target AND NOT target MATCHES "^[a-z]+:")
    list(APPEND named "${DOC_DIR}/${target}")
  endif()
endforeach()

string(REGEX MATCHALL "`[^`\n]+`" spans "${prose}")
foreach(span IN LISTS spans)
  string(REGEX REPLACE "^`(.*)`$" "\\1" text "${span}")
  string(REGEX REPLACE "^<prefix>/" "" text "${text}")
  if(text MATCHES "[ <>*(){}\"]" OR text MATCHES "^\\$")
    continue()
  endif()
  if(text MATCHES "^(include|share|lib|bin)/")
    list(APPEND named "${text}")
  elseif(text MATCHES "\\.h$")
    list(APPEND named "include/olmw/${text}")
  elseif(text MATCHES "/")
    string(APPEND problems "the guide names `${text}`, which is no path in the installation\n")
  elseif(text MATCHES "\\.md$")
    list(APPEND named "${DOC_DIR}/${text}")
  elseif(text MATCHES "\\.(dev|map)$")
    list(APPEND named "${DATA_DIR}/${text}")
  endif()
endforeach()

list(REMOVE_DUPLICATES named)
list(LENGTH named count)
if(count LESS 10)
  string(APPEND problems "the guide names only ${count} installed files: ${named}\n")
endif()
foreach(path IN LISTS named)
  if(NOT EXISTS "${WORK}/${path}")
    string(APPEND problems "the guide names ${path}, which is not installed\n")
  endif()
endforeach()
if(problems)
  message(FATAL_ERROR "${problems}")
endif()
