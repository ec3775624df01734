# The help integration. Included from src/CMakeLists.txt.
#
# quillon_help_core: help addresses, versions, the environment record, the diagnostic log, the
# help hook and the reading of compiled help files through chmlib, which is loaded at run time.
# No Qt. quillon_help: the viewer window and the help service (Qt). The "help" command is built
# with the other commands (src/CMakeLists.txt).
add_library(quillon_help_core STATIC
  tools/ChmFile.cpp
  tools/ChmStructure.cpp
  tools/DLogFile.cpp
  tools/HelpAddress.cpp
  tools/HelpEnvironment.cpp
  tools/HelpVersions.cpp
  tools/HelpHtml.cpp
  tools/LocaleIds.cpp
  tools/hh_funcs.cpp
)
target_link_libraries(quillon_help_core PUBLIC quillon_core ${CMAKE_DL_LIBS})

add_library(quillon_help STATIC
  tools/HelpService.cpp
  tools/HelpViewer.cpp
)
set_target_properties(quillon_help PROPERTIES AUTOMOC ON)
target_compile_definitions(quillon_help PRIVATE QUILLON_VERSION="${PROJECT_VERSION}")
target_link_libraries(quillon_help PUBLIC quillon_help_core quillon_platform Qt6::Widgets)

# The help file, compiled from help/ at build time and put beside the executable.
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
add_dependencies(quillon_help quillon_help_file)
install(FILES ${QUILLON_HELP_FILE} DESTINATION share/quillon)
