# What `cmake --install` puts beside the program and its adapter (the manual page and the
# readme), and the Debian package that CPack builds from the same installation:
#   cmake --build --preset default --target package
# The package installs under /usr: /usr/bin/orvologger, /usr/lib/orvologger/libws2_32.so,
# /usr/share/man/man1/orvologger.1.gz and /usr/share/doc/orvologger/README.md.

# The manual page carries the project version; Debian keeps manual pages compressed, without
# a name or a time stamp in the gzip header so that the same page gives the same bytes.
set(ORVO_MAN_PAGE ${PROJECT_BINARY_DIR}/doc/orvologger.1)
set(ORVO_MAN_PKGLIBDIR ${ORVO_INSTALL_PKGLIBDIR})
configure_file(${PROJECT_SOURCE_DIR}/doc/orvologger.1.in ${ORVO_MAN_PAGE} @ONLY)
find_program(ORVO_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${ORVO_MAN_PAGE}.gz
  COMMAND ${ORVO_GZIP} -9 -n -k -f ${ORVO_MAN_PAGE}
  DEPENDS ${ORVO_MAN_PAGE}
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(orvo_man_page ALL DEPENDS ${ORVO_MAN_PAGE}.gz)
install(FILES ${ORVO_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(ORVO_PACKAGE_MAINTAINER "orvologger project <maintainers@users.noreply.c-seed-9460dad9.example>"
    CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "orvologger project")
set(CPACK_PACKAGE_CONTACT ${ORVO_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "command-line syslog client sending RFC 3164 UDP datagrams")
set(CPACK_PACKAGE_DESCRIPTION
    "orvologger sends messages to one syslog server as UDP datagrams in the BSD syslog layout\n\
of RFC 3164: one message from the command line, every line of a file (last line first), or\n\
every line typed on standard input. The priority is given by facility and severity names,\n\
with an optional tag and process id.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# A release package carries no symbols; the version block is an allocated section and stays.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORVO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The dependencies (the C runtime; the C++ runtime is linked in) come from the libraries the
# program and the adapter are linked against, with the versions dpkg-shlibdeps reads from the
# system's symbol files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)

# Installs into a scratch prefix with stripping, as the package does, and runs the installed
# program there; checks that the manual page renders without warnings.
if(ORVO_BUILD_TESTS)
  add_test(NAME install_layout
           COMMAND ${CMAKE_COMMAND} -D BUILD_DIR=${PROJECT_BINARY_DIR}
                   -D PREFIX=${PROJECT_BINARY_DIR}/install-check
                   -D BINDIR=${CMAKE_INSTALL_BINDIR} -D PKGLIBDIR=${ORVO_INSTALL_PKGLIBDIR}
                   -D MANDIR=${CMAKE_INSTALL_MANDIR} -D READELF=${CMAKE_READELF}
                   "-DBANNER=${PROJECT_NAME} ver.${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}"
                   -P ${PROJECT_SOURCE_DIR}/cmake/InstallCheck.cmake)
  set_tests_properties(install_layout PROPERTIES TIMEOUT 60)

  find_program(ORVO_MAN man)
  if(ORVO_MAN)
    add_test(NAME man_page_renders
             COMMAND ${CMAKE_COMMAND} -D MAN=${ORVO_MAN} -D PAGE=${ORVO_MAN_PAGE}
                     -P ${PROJECT_SOURCE_DIR}/cmake/ManPageCheck.cmake)
  else()
    message(STATUS "man not found: the manual page's rendering is not tested")
  endif()
endif()
