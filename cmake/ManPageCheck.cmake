# Renders a manual page the way man shows it and fails on any warning of the formatter, in the
# plain C locale and in UTF-8; checks that the page, and the README, quote every failure text
# that the program's sources hold outside ASCII (its Japanese texts), as the program writes it.
#   cmake -D MAN=/usr/bin/man -D PAGE=build/default/doc/orvologger.1
#         [-D "TEXT_SOURCES=app/ConsoleIO.cpp;..." -D README=README.md] -P ManPageCheck.cmake
set(ENV{MANWIDTH} 80)

# Renders the page in the locale given and returns the text; any warning fails.
function(render locale out_var)
  set(ENV{LC_ALL} ${locale})
  execute_process(COMMAND ${MAN} --warnings -l ${PAGE} RESULT_VARIABLE result
                  OUTPUT_VARIABLE text ERROR_VARIABLE warnings)
  if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
    message(FATAL_ERROR "man -l ${PAGE} in ${locale} (exit ${result}):\n${warnings}")
  endif()
  if(NOT text MATCHES "ORVOLOGGER\\(1\\)" OR NOT text MATCHES "EXIT STATUS")
    message(FATAL_ERROR "the page rendered in ${locale} lacks its heading or sections:\n${text}")
  endif()
  set(${out_var} "${text}" PARENT_SCOPE)
endfunction()

# The plain C locale is the strictest: any character outside ASCII that the page does not
# replace for an ASCII device would be a warning there.
render(C ascii_text)
render(C.UTF-8 utf8_text)

if(TEXT_SOURCES)
  file(READ ${README} readme)
  foreach(source IN LISTS TEXT_SOURCES)
    file(STRINGS ${source} lines ENCODING UTF-8 REGEX "\"[^\"]*[^ -~][^\"]*\"")
    foreach(line IN LISTS lines)
      if(line MATCHES "^ *//")
        continue()
      endif()
      string(REGEX MATCHALL "\"[^\"]*\"" literals "${line}")
      foreach(literal IN LISTS literals)
        string(REGEX REPLACE "^\"[ ]*(.*[^ (])[ (]*\"$" "\\1" text "${literal}")
        if(NOT text MATCHES "[^ -~]")
          continue()
        endif()
        string(FIND "${utf8_text}" "${text}" in_page)
        string(FIND "${readme}" "${text}" in_readme)
        if(in_page EQUAL -1)
          message(FATAL_ERROR "the manual page does not quote '${text}' (${source})")
        endif()
        if(in_readme EQUAL -1)
          message(FATAL_ERROR "the README does not quote '${text}' (${source})")
        endif()
      endforeach()
    endforeach()
  endforeach()
endif()
