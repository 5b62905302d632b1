# Read by CPack before it builds the Debian package of a build for another processor, whose
# dependency dpkg-shlibdeps can't find: it knows only the libraries of packages of this machine's
# architecture. The Depends field is libc6 of at least the newest GLIBC_ symbol version the
# program asks for, and only when every library it needs is one of libc6's.
if(NOT CPACK_GENERATOR STREQUAL "DEB" OR NOT CPACK_ORVO_READELF)
  return()
endif()
execute_process(COMMAND ${CPACK_ORVO_READELF} -d -V -W ${CPACK_ORVO_PROGRAM} RESULT_VARIABLE result
                OUTPUT_VARIABLE dynamic ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${CPACK_ORVO_READELF} failed on ${CPACK_ORVO_PROGRAM}:\n${errors}")
endif()
string(REGEX MATCHALL "Shared library: \\[[^]]+\\]" needed "${dynamic}")
foreach(library IN LISTS needed)
  if(NOT library MATCHES "\\[(libc|libm|libdl|libpthread|librt|libutil)\\.so\\.[0-9]+\\]|\\[ld[-.a-z0-9_]*\\.so\\.[0-9]+\\]")
    message(FATAL_ERROR "${CPACK_ORVO_PROGRAM} needs ${library}, which libc6 does not hold")
  endif()
endforeach()
set(newest 0)
string(REGEX MATCHALL "GLIBC_[0-9]+\\.[0-9]+(\\.[0-9]+)?" versions "${dynamic}")
foreach(version IN LISTS versions)
  string(REPLACE "GLIBC_" "" version ${version})
  if(version VERSION_GREATER newest)
    set(newest ${version})
  endif()
endforeach()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6 (>= ${newest})")
