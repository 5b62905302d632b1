# What `cmake --install` puts beside the program (the manual page and the readme), and the
# Debian package built from the same installation (dist/debian/build-deb.sh):
#   cmake --build --preset default --target deb
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
set(ORVO_DEB_RELEASE 1)

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
# The package's changelog entry is dated by the commit it is built from when SOURCE_DATE_EPOCH
# gives it (./dev release), by the time of configuring otherwise; the names of the day and month
# are English whatever the locale.
string(TIMESTAMP day_index "%w" UTC)
string(TIMESTAMP month_index "%m" UTC)
set(days Sun Mon Tue Wed Thu Fri Sat)
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET days ${day_index} day)
math(EXPR month_index "${month_index} - 1")
list(GET months ${month_index} month)
string(TIMESTAMP ORVO_DEB_DATE "${day}, %d ${month} %Y %H:%M:%S +0000" UTC)
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

# The package's architecture is Debian's name of the processor the build is for.
if(CMAKE_CROSSCOMPILING)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "aarch64")
    set(ORVO_DEB_ARCHITECTURE arm64)
  elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "arm")
    set(ORVO_DEB_ARCHITECTURE armhf)
  elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^i[3-6]86$")
    set(ORVO_DEB_ARCHITECTURE i386)
  else()
    set(ORVO_DEB_ARCHITECTURE ${CMAKE_SYSTEM_PROCESSOR})
  endif()
  set(ORVO_DEB_READELF ${CMAKE_READELF})
else()
  find_program(ORVO_DPKG dpkg)
  if(ORVO_DPKG)
    execute_process(COMMAND ${ORVO_DPKG} --print-architecture OUTPUT_VARIABLE ORVO_DEB_ARCHITECTURE
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(ORVO_DEB_READELF "")
endif()

# The package, built from the stripped installation under /usr with dpkg-deb: a release package
# carries no symbols (the version block is an allocated section and stays), its dependency is
# the C library's (the C++ runtime is linked in), and it has no maintainer scripts.
if(ORVO_DEB_ARCHITECTURE)
  set(ORVO_DEB_CONTROL ${ORVO_DOC_BUILD_DIR}/control)
  configure_file(${PROJECT_SOURCE_DIR}/dist/debian/control.in ${ORVO_DEB_CONTROL} @ONLY)
  set(ORVO_DEB
      ${PROJECT_BINARY_DIR}/${PROJECT_NAME}_${PROJECT_VERSION}-${ORVO_DEB_RELEASE}_${ORVO_DEB_ARCHITECTURE}.deb)
  add_custom_target(
    deb
    COMMAND bash ${PROJECT_SOURCE_DIR}/dist/debian/build-deb.sh ${PROJECT_BINARY_DIR}
            ${ORVO_DEB_CONTROL} ${ORVO_DEB} ${ORVO_DEB_READELF}
    DEPENDS ${PROJECT_SOURCE_DIR}/dist/debian/build-deb.sh
    COMMENT "Building ${ORVO_DEB}"
    VERBATIM)
  add_dependencies(deb orvologger orvo_man_page orvo_package_docs)
endif()

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
