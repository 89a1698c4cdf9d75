# cmake -DSORREL=path/to/sorrel -DHELP2MAN=help2man -DVERSION=x.y.z -DOUTPUT=sorrel.1 -P ...
# The man page of sorrel: help2man over `sorrel --help`, with a section that holds the --help of
# every command the program lists, read at build time.
execute_process(COMMAND ${SORREL} --help OUTPUT_VARIABLE program_help RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${SORREL} --help failed")
endif()

# Command lines of the listing start with two blanks and the command name; wrapped summaries
# start with more blanks.
string(REGEX REPLACE "^.*\nCommands:\n" "" listing "${program_help}")
string(REPLACE "\n" ";" listing_lines "${listing}")
set(commands)
foreach(line IN LISTS listing_lines)
  if(line MATCHES "^  ([a-z][a-z0-9-]*)( |$)")
    list(APPEND commands ${CMAKE_MATCH_1})
  endif()
endforeach()
if(NOT commands)
  message(FATAL_ERROR "${SORREL} --help lists no commands")
endif()

# Help text as literal roff lines: backslashes escaped, no line taken for a request.
function(as_roff text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(include_text "[COMMANDS]\n")
foreach(command IN LISTS commands)
  execute_process(COMMAND ${SORREL} ${command} --help OUTPUT_VARIABLE command_help RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${SORREL} ${command} --help failed")
  endif()
  string(REGEX REPLACE "^Usage: ([^\n]*)\n" "" body "${command_help}")
  as_roff("${CMAKE_MATCH_1}" synopsis)
  as_roff("${body}" body)
  string(APPEND include_text ".SS \"${synopsis}\"\n.nf\n${body}.fi\n")
endforeach()
string(APPEND include_text
  "[FILES]\n"
  ".TP\n.I /opt/sorrel/\nthe program directory: the three programs, Sorrelscan.ini, __Sorrelscan.log\n"
  ".TP\n.I /opt/sorrel/config/FileInfo.dat\nthe data store (SQLite 3), readable by root only\n"
  ".TP\n.I /opt/sorrel/config/ScanDir.txt\nthe website directories to scan, one per line\n"
  ".TP\n.I /lib/systemd/system/sorrel-scan.timer\nweekly scans with sorrel scan, disabled until enabled with\n"
  ".B systemctl enable --now sorrel-scan.timer\n"
  "[SEE ALSO]\n.BR Sorrelscan (1),\n.BR Sorrelmede (1)\n")

get_filename_component(output_dir ${OUTPUT} DIRECTORY)
set(include_file ${output_dir}/sorrel.h2m)
file(WRITE ${include_file} "${include_text}")
execute_process(
  COMMAND ${HELP2MAN} --locale=C.UTF-8 --no-info --section=1 --version-string=${VERSION}
          "--name=headless front end of Sorrel: scan, list, clean and restore special web site entries"
          --include=${include_file} --output=${OUTPUT}.new ${SORREL}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  file(REMOVE ${OUTPUT}.new)
  message(FATAL_ERROR "help2man failed for ${SORREL}")
endif()
file(RENAME ${OUTPUT}.new ${OUTPUT})
