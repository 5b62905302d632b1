# Renders a manual page the way man shows it and fails on any warning of the formatter.
#   cmake -D MAN=/usr/bin/man -D PAGE=build/default/doc/orvologger.1 -P ManPageCheck.cmake
set(ENV{MANWIDTH} 80)
# The plain C locale is the strictest: any character outside ASCII would be a warning there.
set(ENV{LC_ALL} C)
execute_process(COMMAND ${MAN} --warnings -l ${PAGE} RESULT_VARIABLE result
                OUTPUT_VARIABLE text ERROR_VARIABLE warnings)
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "man -l ${PAGE} (exit ${result}):\n${warnings}")
endif()
if(NOT text MATCHES "ORVOLOGGER\\(1\\)" OR NOT text MATCHES "EXIT STATUS")
  message(FATAL_ERROR "the rendered page lacks its heading or sections:\n${text}")
endif()
