# cmake -DGZIP=gzip -DINPUT=file -DOUTPUT=file.gz -P gzip_file.cmake
# Compresses as Debian wants its documentation: best compression, no name or time stored.
execute_process(COMMAND ${GZIP} -9nc INPUT_FILE ${INPUT} OUTPUT_FILE ${OUTPUT}.new RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT}.new)
  message(FATAL_ERROR "cannot compress ${INPUT}")
endif()
file(RENAME ${OUTPUT}.new ${OUTPUT})
