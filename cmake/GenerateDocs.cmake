# Writes the man page and the bash completion from the program's command definitions:
#   cmake -DQUILLON=<program> -DPARTS=<packaging/man> -DHEADER=<configured header> -DOUTPUT_DIR=<dir>
#         -P GenerateDocs.cmake
# The page is the hand-written parts in the page's order with the COMMANDS and OPTIONS sections
# that "quillon --generate man" prints between DESCRIPTION and CALCULATOR KEYS.
foreach(kind man bash)
  execute_process(COMMAND "${QUILLON}" --generate ${kind} OUTPUT_VARIABLE generated_${kind} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${QUILLON} --generate ${kind} failed: ${result}")
  endif()
endforeach()

file(READ "${HEADER}" page)
foreach(part name synopsis description GENERATED calculator-keys exit-status environment files examples see-also)
  if(part STREQUAL "GENERATED")
    string(APPEND page "${generated_man}")
  else()
    file(READ "${PARTS}/${part}.troff" text)
    string(APPEND page "${text}")
  endif()
endforeach()
file(WRITE "${OUTPUT_DIR}/quillon.1" "${page}")
file(WRITE "${OUTPUT_DIR}/quillon.bash-completion" "${generated_bash}")
