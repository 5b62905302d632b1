# The suites of the Windows build. GoogleTest is built from Debian's sources with the cross
# compiler; each suite is one test that runs under Wine (the cross-compiling emulator). The suites
# that make sense on both platforms are shared with the POSIX build; the Windows files test what
# only the real Windows interfaces do.
set(ORVO_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build the tests with")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${ORVO_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

set(ORVO_MANIFEST ${PROJECT_SOURCE_DIR}/app/orvologger.manifest)
configure_file(TestManifest.rc.in ${CMAKE_CURRENT_BINARY_DIR}/TestManifest.rc @ONLY)

# One test per suite; filter leaves out the cases that only hold on POSIX.
function(orvo_add_test_suite name)
  cmake_parse_arguments(ARG "" "FILTER" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES} ${CMAKE_CURRENT_BINARY_DIR}/TestManifest.rc)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/net
                                             ${CMAKE_CURRENT_SOURCE_DIR}/app)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest gtest_main gmock orvo_warnings)
  set(filter)
  if(ARG_FILTER)
    set(filter --gtest_filter=${ARG_FILTER})
  endif()
  add_test(NAME ${name} COMMAND ${name} ${filter})
  set_tests_properties(${name} PROPERTIES TIMEOUT 240)
endfunction()

set(ORVO_TEST_RECEIVER ${CMAKE_CURRENT_SOURCE_DIR}/net/LoopbackReceiverWindows.cpp)

orvo_add_test_suite(base_tests SOURCES base/DateTimeTest.cpp base/TextTest.cpp LIBS orvo_base)
orvo_add_test_suite(clock_tests SOURCES platform/ClockTest.cpp LIBS orvo_platform)

# The parser's comparison with util-linux logger runs on POSIX only.
orvo_add_test_suite(syslog_tests
  SOURCES syslog/IdSysLogMsgPartTest.cpp syslog/IdSysLogMessageTest.cpp syslog/IdSysLogTest.cpp
          ${ORVO_TEST_RECEIVER}
  LIBS orvo_syslog ws2_32)

# Left out: the binding cases that load POSIX shared objects or expect the POSIX stand-in's
# texts (Windows counterparts in IdWinSock2WindowsTest.cpp); a last error kept across other
# calls of the thread (Windows' WSAGetLastError is the thread's GetLastError, which any call
# may change); the POSIX adapter's code for a bad descriptor (Windows reports 10038, not a
# socket); the empty host name, which Windows' gethostbyname reads as the local host; the POSIX
# adapter's own checks of a send's address record and flags.
orvo_add_test_suite(net_tests
  SOURCES net/IdWinSock2Test.cpp net/IdWinSock2WindowsTest.cpp net/IdStackTest.cpp
          net/IdComponentTest.cpp net/IdUDPClientTest.cpp ${ORVO_TEST_RECEIVER}
  LIBS orvo_net ws2_32
  FILTER "-StubErrorTest.*:BindingTest.CallBeforeStartUpRaisesNotInitialisedNamingTheFunction:BindingTest.MissingLibraryGivesTheLoadHeadingWithThePlatformsReason:BindingTest.LibraryWithoutStartUpIsRefusedAndNotKept:BindingTest.LibraryWhoseStartUpFailsGivesTheInitialisationError:BindingTest.RowTheLibraryDoesNotExportRaisesInsteadOfCallingNothing:BindingTest.GenericRowsHaveTheirOwnSlotsAndResolveLikeTheirAnsiRows:BindingTest.LastErrorBelongsToTheCallingThread:StackTest.PlatformErrorsArriveInWinSockNumbering:StackTest.UnknownNamesRaiseTheResolversCode:StackTest.AnEmptyHostAfterADottedOneGoesToTheResolver:StackTest.SendToChecksTheRecordAndTheFlagsAsWinSockDoes")

# Left out: parameter 0 as a POSIX path (the end-to-end tests check the Windows command line).
orvo_add_test_suite(app_tests
  SOURCES app/CommandLineTest.cpp app/OptionsTest.cpp app/MessageFileTest.cpp
          app/StdInReaderTest.cpp app/MessageFileWindowsTest.cpp
  LIBS orvo_app
  FILTER "-ProgramParametersTest.StartsWithTheProgramFileAndDropsEmptyParameters")

# The built program under Wine, run as a process and heard by a loopback receiver.
orvo_add_test_suite(orvologger_tests
  SOURCES app/ProgramHarnessWindows.cpp app/ProgramWindowsTest.cpp ${ORVO_TEST_RECEIVER}
  LIBS orvo_app ws2_32)
add_dependencies(orvologger_tests orvologger)
target_compile_definitions(orvologger_tests PRIVATE
  ORVOLOGGER_PATH="$<TARGET_FILE_NAME:orvologger>"
  ORVO_PRODUCT_VERSION="${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")

# A console is something Wine gives a program only on a terminal: the failure message on a
# console, under a pseudo-terminal, against the same message redirected.
add_test(NAME orvologger_console
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/app/console-windows.sh
                 ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:orvologger>)
set_tests_properties(orvologger_console PROPERTIES TIMEOUT 120)
