# Fails when a file of the core includes a layer above its own, a Qt header or the platform
# adapters. Run by the build before the core libraries are compiled:
#   cmake -DSOURCE_DIR=<src> -DSTAMP=<file> -P CheckLayers.cmake
# Each folder may include itself and the folders listed after it.
set(layers
  "common:common"
  "numerology:numerology,common"
  "calculator:calculator,common"
  "batch:batch,numerology,common"
  "report/format:report/format,common"
  "report/engine:report/engine,report/format,common"
  "report/content:report/content,report/engine,report/format,numerology,common"
  "report/export:report/export,report/engine,report/format,common")

set(failures "")
foreach(layer IN LISTS layers)
  string(REPLACE ":" ";" parts "${layer}")
  list(GET parts 0 folder)
  list(GET parts 1 allowed)
  string(REPLACE "," "|" allowedPattern "${allowed}")
  file(GLOB_RECURSE files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(file IN LISTS files)
    file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
      if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
        set(target "${CMAKE_MATCH_1}")
        if(NOT target MATCHES "^(${allowedPattern})/")
          list(APPEND failures "${file}: ${folder} may not include \"${target}\"")
        endif()
      elseif(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]*|Qt[A-Za-z]*/[^>]*)>")
        list(APPEND failures "${file}: ${folder} is free of Qt, but includes <${CMAKE_MATCH_1}>")
      endif()
    endforeach()
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Includes that point the wrong way:\n  ${text}")
endif()
file(WRITE "${STAMP}" "layers checked\n")
