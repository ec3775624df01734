# Compiles the help sources into quill.chm. The compiler writes beside its project file, so the
# sources are copied into a work folder first. Every error or warning of the compiler fails the
# build: they name pages, pictures or anchors that a page refers to and the help file lacks.
#   cmake -DCHMCMD=chmcmd -DSOURCE=help -DWORK=folder -DOUTPUT=quill.chm -P CompileHelp.cmake
file(REMOVE_RECURSE ${WORK})
file(COPY ${SOURCE}/ DESTINATION ${WORK} PATTERN "*.cmake" EXCLUDE)
execute_process(
  COMMAND ${CHMCMD} quill.hhp
  WORKING_DIRECTORY ${WORK}
  OUTPUT_VARIABLE output
  ERROR_VARIABLE errors
  RESULT_VARIABLE result)
if(NOT result EQUAL 0 OR "${output}${errors}" MATCHES "(Error|Warning):")
  message(FATAL_ERROR "chmcmd could not compile the help:\n${output}${errors}")
endif()
file(COPY_FILE ${WORK}/quill.chm ${OUTPUT})
