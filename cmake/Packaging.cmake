# What `cmake --install` puts beside the program (the manual page and the readme), and the
# Debian package that CPack builds from the same installation:
#   cmake --build --preset default --target package
# The package installs under /usr: /usr/bin/orvologger, /usr/share/man/man1/orvologger.1.gz, /usr/share/doc/orvologger/{README.md, copyright,
# changelog.gz, changelog.Debian.gz} and /usr/share/bash-completion/completions/orvologger.

# The manual page carries the project version; Debian keeps manual pages compressed, without
# a name or a time stamp in the gzip header so that the same page gives the same bytes.
set(ORVO_MAN_PAGE ${PROJECT_BINARY_DIR}/doc/orvologger.1)
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
# The two readmes that the footer of -help names, in UTF-8 with LF line ends as they are kept in
# the sources (the Windows zip converts them), and the rsyslog snippet that receives this
# machine's datagrams, for the user to copy to /etc/rsyslog.d/.
install(FILES ${PROJECT_SOURCE_DIR}/dist/windows/readme.txt
              ${PROJECT_SOURCE_DIR}/dist/windows/readme_jp.txt DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/dist/examples/rsyslog-udp.conf
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# A stripped installation (the package, cmake --install --strip) also drops the compiler's
# .comment section, which names the compiler and nothing else, as Debian's own packaging does.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
                            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/orvologger\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()")

# Bash completion of the options and the facility and severity names, loaded on demand by the
# bash-completion package from its completions folder.
install(FILES ${PROJECT_SOURCE_DIR}/dist/bash-completion/orvologger
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

set(ORVO_PACKAGE_MAINTAINER "orvologger project <maintainers@users.noreply.c-seed-9460dad9.example>"
    CACHE STRING "The Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)

# The licence and the changes, where Debian keeps them: the licence as the machine-readable
# copyright file, the project's changelog as changelog.gz and the package's own entry as
# changelog.Debian.gz, both compressed without a name or time stamp as the manual page is.
set(ORVO_DOC_BUILD_DIR ${PROJECT_BINARY_DIR}/doc)
set(ORVO_COPYRIGHT ${ORVO_DOC_BUILD_DIR}/copyright)
add_custom_command(
  OUTPUT ${ORVO_COPYRIGHT}
  COMMAND ${CMAKE_COMMAND} -D LICENSE=${PROJECT_SOURCE_DIR}/LICENSE -D OUTPUT=${ORVO_COPYRIGHT}
          -D NAME=${PROJECT_NAME} -P ${PROJECT_SOURCE_DIR}/dist/debian/Copyright.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/dist/debian/Copyright.cmake
  COMMENT "Writing the copyright file"
  VERBATIM)
configure_file(${PROJECT_SOURCE_DIR}/CHANGELOG.md ${ORVO_DOC_BUILD_DIR}/changelog COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/debian/changelog.Debian.in
               ${ORVO_DOC_BUILD_DIR}/changelog.Debian @ONLY)
add_custom_command(
  OUTPUT ${ORVO_DOC_BUILD_DIR}/changelog.gz ${ORVO_DOC_BUILD_DIR}/changelog.Debian.gz
  COMMAND ${ORVO_GZIP} -9 -n -k -f ${ORVO_DOC_BUILD_DIR}/changelog
  COMMAND ${ORVO_GZIP} -9 -n -k -f ${ORVO_DOC_BUILD_DIR}/changelog.Debian
  DEPENDS ${ORVO_DOC_BUILD_DIR}/changelog ${ORVO_DOC_BUILD_DIR}/changelog.Debian
  COMMENT "Compressing the changelogs"
  VERBATIM)
add_custom_target(orvo_package_docs ALL DEPENDS ${ORVO_COPYRIGHT} ${ORVO_DOC_BUILD_DIR}/changelog.gz
                                                ${ORVO_DOC_BUILD_DIR}/changelog.Debian.gz)
install(FILES ${ORVO_COPYRIGHT} ${ORVO_DOC_BUILD_DIR}/changelog.gz
              ${ORVO_DOC_BUILD_DIR}/changelog.Debian.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
# lintian asks a first Debian revision to close an ITP bug; this package is not uploaded to
# Debian, which lintian's own text names as the case to override.
install(FILES ${PROJECT_SOURCE_DIR}/dist/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${PROJECT_NAME})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "orvologger project")
set(CPACK_PACKAGE_CONTACT ${ORVO_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "command-line syslog client sending RFC 3164 UDP datagrams")
# Debian wants the lines of the long description within 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "orvologger sends messages to one syslog server as UDP datagrams in the BSD\n\
syslog layout of RFC 3164: one message from the command line, every line of a\n\
file (last line first), or every line typed on standard input. The priority is\n\
given by facility and severity names, with an optional tag and process id.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# A release package carries no symbols; the version block is an allocated section and stays.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ORVO_PACKAGE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# A syslog server on this machine to receive what is sent (examples/rsyslog-udp.conf).
set(CPACK_DEBIAN_PACKAGE_SUGGESTS rsyslog)
# The dependencies (the C runtime; the C++ runtime is linked in) come from the libraries the
# program is linked against, with the versions dpkg-shlibdeps reads from the system's symbol
# files.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# A build for another processor is packaged for that processor's Debian architecture. Its
# dependency can't come from dpkg-shlibdeps, which knows only the libraries of packages of this
# machine's architecture (the cross compiler's C library belongs to libc6-<arch>-cross); the
# C library version the program needs is read from the symbol versions it asks for instead.
if(CMAKE_CROSSCOMPILING)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE arm64)
  elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "arm")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE armhf)
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^i[3-6]86$")
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE i386)
  else()
    set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${CMAKE_SYSTEM_PROCESSOR})
  endif()
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_ORVO_READELF ${CMAKE_READELF})
  set(CPACK_ORVO_PROGRAM ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/orvologger)
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/DebDepends.cmake)
endif()

include(CPack)

# Installs into a scratch prefix with stripping, as the package does, and runs the installed
# program there; checks that the manual page renders without warnings.
if(ORVO_BUILD_TESTS)
  # A build for another processor runs the installed program under its emulator.
  list(JOIN CMAKE_CROSSCOMPILING_EMULATOR " " emulator)
  add_test(NAME install_layout
           COMMAND ${CMAKE_COMMAND} -D BUILD_DIR=${PROJECT_BINARY_DIR}
                   -D PREFIX=${PROJECT_BINARY_DIR}/install-check
                   -D BINDIR=${CMAKE_INSTALL_BINDIR}
                   -D MANDIR=${CMAKE_INSTALL_MANDIR} -D READELF=${CMAKE_READELF}
                   -D STATIC_CXX_RUNTIME=${ORVO_STATIC_CXX_RUNTIME}
                   "-DBANNER=${PROJECT_NAME} ver.${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}"
                   "-DEMULATOR=${emulator}"
                   -P ${PROJECT_SOURCE_DIR}/cmake/InstallCheck.cmake)
  set_tests_properties(install_layout PROPERTIES TIMEOUT 60)

  # The rsyslog example, read by rsyslogd as /etc/rsyslog.conf would include it.
  find_program(ORVO_RSYSLOGD rsyslogd PATHS /usr/sbin)
  if(ORVO_RSYSLOGD)
    add_test(NAME rsyslog_example
             COMMAND ${CMAKE_COMMAND} -D RSYSLOGD=${ORVO_RSYSLOGD}
                     -D EXAMPLE=${PROJECT_SOURCE_DIR}/dist/examples/rsyslog-udp.conf
                     -D WORK=${PROJECT_BINARY_DIR}/rsyslog-example-check
                     -P ${PROJECT_SOURCE_DIR}/cmake/RsyslogExampleCheck.cmake)
    set_tests_properties(rsyslog_example PROPERTIES LABELS external TIMEOUT 30)
  else()
    message(STATUS "rsyslogd not found: the rsyslog example is not checked")
  endif()

  find_program(ORVO_MAN man)
  if(ORVO_MAN)
    # The sources that hold the program's own failure texts outside ASCII.
    set(ORVO_TEXT_SOURCES ${PROJECT_SOURCE_DIR}/app/ConsoleIO.cpp
                          ${PROJECT_SOURCE_DIR}/app/MessageFile.cpp ${PROJECT_SOURCE_DIR}/app/Program.cpp)
    add_test(NAME man_page_renders
             COMMAND ${CMAKE_COMMAND} -D MAN=${ORVO_MAN} -D PAGE=${ORVO_MAN_PAGE}
                     "-DTEXT_SOURCES=${ORVO_TEXT_SOURCES}" -D README=${PROJECT_SOURCE_DIR}/README.md
                     -P ${PROJECT_SOURCE_DIR}/cmake/ManPageCheck.cmake)
  else()
    message(STATUS "man not found: the manual page's rendering is not tested")
  endif()
endif()
