# The help file, compiled from help/ at build time and put beside the executable. Included from
# src/CMakeLists.txt.
find_program(QUILLON_CHMCMD chmcmd REQUIRED)
file(GLOB_RECURSE quillon_help_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*)
set(QUILLON_HELP_FILE ${CMAKE_CURRENT_BINARY_DIR}/quill.chm CACHE INTERNAL "The compiled help file")
add_custom_command(
  OUTPUT ${QUILLON_HELP_FILE}
  COMMAND ${CMAKE_COMMAND} -DCHMCMD=${QUILLON_CHMCMD} -DSOURCE=${PROJECT_SOURCE_DIR}/help
          -DWORK=${CMAKE_CURRENT_BINARY_DIR}/help -DOUTPUT=${QUILLON_HELP_FILE}
          -P ${PROJECT_SOURCE_DIR}/help/CompileHelp.cmake
  DEPENDS ${quillon_help_sources}
  COMMENT "Compiling the help file quill.chm")
add_custom_target(quillon_help_file ALL DEPENDS ${QUILLON_HELP_FILE})
add_dependencies(quillon_windows quillon_help_file)
install(FILES ${QUILLON_HELP_FILE} DESTINATION share/quillon)
