# Installs a build tree into a scratch prefix, stripped as a release is, and checks what got
# installed: every file in its place, no symbol table left but the version block kept, the
# adapter found from any working folder, and the banner.
#   cmake -D BUILD_DIR=... -D PREFIX=... -D BINDIR=bin -D PKGLIBDIR=lib/orvologger
#         -D MANDIR=share/man -D READELF=readelf "-D BANNER=orvologger ver.1.0"
#         [-D "EMULATOR=qemu-aarch64 -L /usr/aarch64-linux-gnu"] -P InstallCheck.cmake
foreach(name BUILD_DIR PREFIX BINDIR PKGLIBDIR MANDIR READELF BANNER)
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
set(adapter ${PREFIX}/${PKGLIBDIR}/libws2_32.so)
foreach(file ${program} ${adapter} ${PREFIX}/${MANDIR}/man1/orvologger.1.gz)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
if(EXISTS ${PREFIX}/${BINDIR}/libws2_32.so)
  message(FATAL_ERROR "the adapter must not lie beside the installed program")
endif()

execute_process(COMMAND ${READELF} -S -W ${program} OUTPUT_VARIABLE sections
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "readelf -S failed on ${program}")
endif()
if(sections MATCHES "\\.symtab")
  message(FATAL_ERROR "the installed program is not stripped:\n${sections}")
endif()
if(NOT sections MATCHES "\\.orvo_version")
  message(FATAL_ERROR "stripping lost the version section:\n${sections}")
endif()

# The program finds its adapter itself, so neither the built nor the installed program carries a
# run path, which the loader would search for every library and which could name the build tree
# or, with an empty entry, the current folder.
foreach(file ${program} ${BUILD_DIR}/bin/orvologger)
  execute_process(COMMAND ${READELF} -d -W ${file} OUTPUT_VARIABLE dynamic)
  if(dynamic MATCHES "(RUNPATH|RPATH)")
    message(FATAL_ERROR "${file} carries a run path:\n${dynamic}")
  endif()
endforeach()

# The first line the program writes is empty; the banner's first line follows it.
function(run_help expected_result output_var)
  separate_arguments(emulator UNIX_COMMAND "${EMULATOR}")
  execute_process(COMMAND ${emulator} ${program} -help WORKING_DIRECTORY ${PREFIX}
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT result EQUAL expected_result)
    message(FATAL_ERROR "orvologger -help exited with ${result}, not ${expected_result}:\n"
                        "${output}${errors}")
  endif()
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

run_help(0 output)
string(REPLACE "\r\n" "\n" output "${output}")
string(REGEX MATCH "^\n([^\n]*)\n" banner "${output}")
if(NOT CMAKE_MATCH_1 STREQUAL BANNER)
  message(FATAL_ERROR "banner line is '${CMAKE_MATCH_1}', not '${BANNER}':\n${output}")
endif()

# Without the adapter the program can't start its sockets: proof that the run it just made
# loaded the installed adapter and not some other copy.
file(RENAME ${adapter} ${adapter}.away)
run_help(9 output)
file(RENAME ${adapter}.away ${adapter})
if(NOT output MATCHES "WS2_32\\.DLL")
  message(FATAL_ERROR "without the adapter the program says:\n${output}")
endif()
