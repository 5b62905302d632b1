# Installs a build tree into a scratch prefix, stripped as a release is, and checks what got
# installed: every file in its place, no symbol table left, no run
# path and no shared library beyond the C library's, and the banner, also of the program copied
# alone into an empty folder.
#   cmake -D BUILD_DIR=... -D PREFIX=... -D BINDIR=bin -D MANDIR=share/man -D READELF=readelf
#         -D STATIC_CXX_RUNTIME=ON "-D BANNER=orvologger ver.1.0"
#         [-D "EMULATOR=qemu-aarch64 -L /usr/aarch64-linux-gnu"] -P InstallCheck.cmake
# STATIC_CXX_RUNTIME says whether the C++ runtime is linked in (not in sanitizer builds).
foreach(name BUILD_DIR PREFIX BINDIR MANDIR READELF STATIC_CXX_RUNTIME BANNER)
  if(NOT DEFINED ${name} OR "${${name}}" STREQUAL "")
    message(FATAL_ERROR "InstallCheck.cmake needs -D ${name}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} --strip
                RESULT_VARIABLE result OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${result}):\n${log}")
endif()

set(program ${PREFIX}/${BINDIR}/orvologger)
foreach(file ${program} ${PREFIX}/${MANDIR}/man1/orvologger.1.gz)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(GLOB_RECURSE libraries ${PREFIX}/*.so*)
if(libraries)
  message(FATAL_ERROR "a library was installed: ${libraries}")
endif()

execute_process(COMMAND ${READELF} -S -W ${program} OUTPUT_VARIABLE sections
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "readelf -S failed on ${program}")
endif()
if(sections MATCHES "\\.symtab")
  message(FATAL_ERROR "the installed program is not stripped:\n${sections}")
endif()
if(sections MATCHES "\\.comment")
  message(FATAL_ERROR "stripping left the compiler's .comment section:\n${sections}")
endif()
foreach(doc readme.txt readme_jp.txt examples/rsyslog-udp.conf)
  if(NOT EXISTS ${PREFIX}/share/doc/orvologger/${doc})
    message(FATAL_ERROR "not installed: share/doc/orvologger/${doc}")
  endif()
endforeach()

# Neither the built nor the installed program carries a run path, which the loader would search
# for every library and which could name the build tree or, with an empty entry, the current
# folder; and neither needs a shared library but the C library's, libm and the loader among them
# (the C++ runtime is linked in; on s390x it asks libm for what x86-64 takes from libc).
foreach(file ${program} ${BUILD_DIR}/bin/orvologger)
  execute_process(COMMAND ${READELF} -d -W ${file} OUTPUT_VARIABLE dynamic)
  if(dynamic MATCHES "(RUNPATH|RPATH)")
    message(FATAL_ERROR "${file} carries a run path:\n${dynamic}")
  endif()
  string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" needed "${dynamic}")
  list(FILTER needed EXCLUDE REGEX "\\[(libc\\.so\\.6|libm\\.so\\.6|ld-linux[^]]*|ld64\\.so\\.[0-9]+)\\]")
  if(needed AND STATIC_CXX_RUNTIME)
    message(FATAL_ERROR "${file} needs more than the C library: ${needed}")
  endif()
endforeach()

# The first line the program writes is empty; the banner's first line follows it.
function(check_help program)
  separate_arguments(emulator UNIX_COMMAND "${EMULATOR}")
  execute_process(COMMAND ${emulator} ${program} -help WORKING_DIRECTORY ${PREFIX}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${program} -help exited with ${result}:\n${output}${errors}")
  endif()
  string(REPLACE "\r\n" "\n" output "${output}")
  string(REGEX MATCH "^\n([^\n]*)\n" banner "${output}")
  if(NOT CMAKE_MATCH_1 STREQUAL BANNER)
    message(FATAL_ERROR "banner line is '${CMAKE_MATCH_1}', not '${BANNER}':\n${output}")
  endif()
endfunction()

check_help(${program})
# The program is one file: copied alone into an empty folder, it runs all the same.
set(alone ${PREFIX}/alone)
file(MAKE_DIRECTORY ${alone})
file(COPY ${program} DESTINATION ${alone})
check_help(${alone}/orvologger)
