# Writes the Debian package's copyright file, in Debian's machine-readable format, from the
# project's LICENSE: the licence text after its copyright line becomes the indented body of the
# License field, an empty line written as " .".
#   cmake -D LICENSE=LICENSE -D OUTPUT=copyright -D NAME=orvologger -P Copyright.cmake
file(READ ${LICENSE} text)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)\n\n" found "${text}")
if(found STREQUAL "")
  message(FATAL_ERROR "no copyright line in ${LICENSE}")
endif()
set(holder "${CMAKE_MATCH_1}")
string(FIND "${text}" "${found}" start)
string(LENGTH "${found}" skip)
math(EXPR start "${start} + ${skip}")
string(SUBSTRING "${text}" ${start} -1 body)
string(STRIP "${body}" body)
string(REPLACE "\n\n" "\n.\n" body "${body}")
string(REPLACE "\n" "\n " body "${body}")
file(WRITE ${OUTPUT}
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
     "Upstream-Name: ${NAME}\n\n"
     "Files: *\n"
     "Copyright: ${holder}\n"
     "License: Expat\n"
     " ${body}\n")
