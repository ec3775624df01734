# Fails when a source folder includes a folder above its own floor, or when a folder that is free
# of Qt includes a Qt header. Run by the build before any library is compiled:
#   cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P CheckLayers.cmake
# With -DLIST=ON it prints every include between two folders, with their count, and checks nothing
# into a stamp: the drawing of the floors as the code has them.
#
# Each entry: a folder, whether Qt may be used there, and the folders its files may include
# besides its own. An include names a file by its path under src/; the folder of a file is the
# path without its name, so "windows" is the folder windows/ alone, not its sub-folders.
cmake_policy(SET CMP0007 NEW)
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
set(core_report "report/format,report/engine,report/content,report/export")
set(layers
  "common|no|"
  "numerology|no|common"
  "calculator|no|common"
  "batch|no|numerology,common"
  "report/format|no|common"
  "report/engine|no|report/format,common"
  "report/content|no|report/engine,report/format,numerology,common"
  "report/export|no|report/engine,report/format,common"
  "help|no|common"
  "platform|qt|${core_report},numerology,common"
  "windows|qt|platform,${core_report},numerology,common"
  "windows/report|qt|windows,platform,${core_report},common"
  "windows/help|qt|windows,platform,help,common"
  "windows/links|qt|windows,platform,common"
  "windows/calculator|qt|windows,platform,calculator,common"
  "windows/analysis|qt|windows/report,windows/help,windows/links,windows/calculator,windows,platform,help,${core_report},calculator,numerology,common"
  "cli|qt|windows/analysis,windows/report,windows/help,windows/links,windows/calculator,windows,platform,help,batch,${core_report},calculator,numerology,common"
  ".|qt|cli,windows/analysis,windows/report,windows/help,windows/links,windows/calculator,windows,platform,help,batch,${core_report},calculator,numerology,common")

set(failures "")
set(edges "")
set(known "")
foreach(layer IN LISTS layers)
  string(REPLACE "|" ";" parts "${layer}")
  list(GET parts 0 folder)
  list(GET parts 1 qt)
  list(GET parts 2 allowed)
  string(REPLACE "," ";" allowed "${allowed}")
  # A folder stands on floors listed before it, so that no two folders can include each other.
  foreach(below IN LISTS allowed)
    list(FIND known "${below}" at)
    if(at EQUAL -1)
      list(APPEND failures "cmake/CheckLayers.cmake: ${folder} stands on ${below}, which is not listed before it")
    endif()
  endforeach()
  list(APPEND known "${folder}")
  list(APPEND allowed "${folder}")
  if(folder STREQUAL ".")
    file(GLOB files "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
  else()
    file(GLOB files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp" "${SOURCE_DIR}/${folder}/*.h.in")
  endif()
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
        get_filename_component(target "${CMAKE_MATCH_1}" DIRECTORY)
        if(target STREQUAL "")
          set(target ".")
        endif()
        if(NOT target STREQUAL folder)
          list(APPEND edges "${folder} -> ${target}")
        endif()
        list(FIND allowed "${target}" at)
        if(at EQUAL -1)
          list(APPEND failures "${file}: ${folder} may not include \"${CMAKE_MATCH_1}\"")
        endif()
      elseif(qt STREQUAL "no" AND line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*|Qt[A-Za-z]*/[^>]*)>")
        list(APPEND failures "${file}: ${folder} is free of Qt, but includes <${CMAKE_MATCH_1}>")
      endif()
    endforeach()
  endforeach()
endforeach()

# A folder nobody listed has no floor: it must be given one above.
file(GLOB_RECURSE all_sources "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
foreach(file IN LISTS all_sources)
  file(RELATIVE_PATH relative "${SOURCE_DIR}" "${file}")
  get_filename_component(folder "${relative}" DIRECTORY)
  if(folder STREQUAL "")
    set(folder ".")
  endif()
  list(FIND known "${folder}" at)
  if(at EQUAL -1)
    list(APPEND failures "${file}: the folder ${folder} has no floor in cmake/CheckLayers.cmake")
  endif()
endforeach()

if(LIST)
  list(SORT edges)
  set(previous "")
  set(count 0)
  foreach(edge IN LISTS edges ITEMS "")
    if(edge STREQUAL previous)
      math(EXPR count "${count} + 1")
    else()
      if(NOT previous STREQUAL "")
        message("${previous} (${count})")
      endif()
      set(previous "${edge}")
      set(count 1)
    endif()
  endforeach()
endif()

if(failures)
  list(REMOVE_DUPLICATES failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Includes that point the wrong way:\n  ${text}")
endif()
if(STAMP)
  file(WRITE "${STAMP}" "layers checked\n")
endif()
