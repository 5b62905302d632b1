# Read by CPack before it builds the Debian package: the Depends field from dpkg-shlibdeps run
# on the built program and adapter (CPACK_ORVO_SHLIBDEPS_FILES), in a scratch folder holding the
# empty debian/control that dpkg-shlibdeps asks for.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
set(scratch ${CPACK_PACKAGE_DIRECTORY}/_CPack_Packages/shlibdeps)
file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch}/debian)
file(TOUCH ${scratch}/debian/control)
set(arguments)
foreach(file IN LISTS CPACK_ORVO_SHLIBDEPS_FILES)
  list(APPEND arguments -e ${file})
endforeach()
execute_process(COMMAND dpkg-shlibdeps -O ${arguments} WORKING_DIRECTORY ${scratch}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT output MATCHES "shlibs:Depends=([^\n]+)")
  message(FATAL_ERROR "dpkg-shlibdeps failed (${result}):\n${output}${errors}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CMAKE_MATCH_1}")
file(REMOVE_RECURSE ${scratch})
