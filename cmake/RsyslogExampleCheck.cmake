# Has rsyslogd check the installed rsyslog example as the system's rsyslog.conf would read it:
# included from a configuration with one action, in rsyslogd's validation run (-N1), which
# loads the modules and reads every parameter but opens no socket.
#   cmake -D RSYSLOGD=/usr/sbin/rsyslogd -D EXAMPLE=dist/examples/rsyslog-udp.conf
#         -D WORK=<scratch folder> -P RsyslogExampleCheck.cmake
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/rsyslog.conf "include(file=\"${EXAMPLE}\")\n"
                                "*.* action(type=\"omfile\" file=\"${WORK}/messages\")\n")
execute_process(COMMAND ${RSYSLOGD} -N1 -f ${WORK}/rsyslog.conf RESULT_VARIABLE result
                OUTPUT_VARIABLE log ERROR_VARIABLE log)
if(NOT result EQUAL 0 OR NOT log MATCHES "End of config validation run")
  message(FATAL_ERROR "rsyslogd -N1 refuses ${EXAMPLE} (exit ${result}):\n${log}")
endif()
