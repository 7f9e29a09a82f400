# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# Runs an asset generator into a scratch folder and compares every file it
# makes with the committed copy under SOURCE (resources/ by default naming).
#   -DTOOL=tools/desktopicons -DSHOWN=resources/desktop/icons  names in messages
if(NOT DEFINED TOOL)
  set(TOOL tools/assetgen)
endif()
if(NOT DEFINED SHOWN)
  set(SHOWN resources)
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${GENERATOR} ${WORK} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "asset generator failed: ${rc}")
endif()
file(GLOB_RECURSE made RELATIVE ${WORK} ${WORK}/*)
list(LENGTH made count)
if(count EQUAL 0)
  message(FATAL_ERROR "asset generator made no files")
endif()
foreach(f ${made})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${f} ${SOURCE}/${f} RESULT_VARIABLE diff)
  if(NOT diff EQUAL 0)
    message(FATAL_ERROR "${SHOWN}/${f} differs from what ${TOOL} makes")
  endif()
endforeach()
message(STATUS "${count} asset files match")
