# The Windows release: a zip holding one folder named for the program, version and platform
# (orvologger-1.0-win64/), with orvologger.exe (stripped), readme.txt and readme_jp.txt, the two
# files the help footer names, and the licence as LICENSE.txt. The readmes and the licence get
# CR LF line ends; readme_jp.txt is converted to Shift_JIS (code page 932), which a Japanese
# console ("type") and Notepad read as it is. pack-zip.sh packs it the same way every time.
# The platform word follows the pointer size of the target: win32 or win64.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ORVO_WINDOWS_PLATFORM win64)
else()
  set(ORVO_WINDOWS_PLATFORM win32)
endif()
set(ORVO_ZIP_FOLDER ${PROJECT_NAME}-${PROJECT_VERSION}-${ORVO_WINDOWS_PLATFORM})
set(ORVO_ZIP_NAME ${ORVO_ZIP_FOLDER}.zip)
set(ORVO_ZIP ${CMAKE_BINARY_DIR}/${ORVO_ZIP_NAME})
set(ORVO_ZIP_ROOT ${CMAKE_BINARY_DIR}/zip)
set(ORVO_ZIP_STAGE ${ORVO_ZIP_ROOT}/${ORVO_ZIP_FOLDER})
set(ORVO_READMES ${CMAKE_CURRENT_LIST_DIR}/readme.txt ${CMAKE_CURRENT_LIST_DIR}/readme_jp.txt)

find_program(ORVO_ICONV iconv REQUIRED)
if(CMAKE_STRIP)
  set(ORVO_COPY_PROGRAM ${CMAKE_STRIP} -o ${ORVO_ZIP_STAGE}/orvologger.exe $<TARGET_FILE:orvologger>)
else()
  set(ORVO_COPY_PROGRAM ${CMAKE_COMMAND} -E copy $<TARGET_FILE:orvologger> ${ORVO_ZIP_STAGE}/)
endif()

add_custom_command(
  OUTPUT ${ORVO_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${ORVO_ZIP_ROOT}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVO_ZIP_STAGE}
  COMMAND ${ORVO_COPY_PROGRAM}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_CURRENT_LIST_DIR}/readme.txt
          -DOUTPUT=${ORVO_ZIP_STAGE}/readme.txt -P ${CMAKE_CURRENT_LIST_DIR}/crlf.cmake
  COMMAND ${CMAKE_COMMAND} -DINPUT=${PROJECT_SOURCE_DIR}/LICENSE
          -DOUTPUT=${ORVO_ZIP_STAGE}/LICENSE.txt -P ${CMAKE_CURRENT_LIST_DIR}/crlf.cmake
  COMMAND ${CMAKE_COMMAND} -DINPUT=${CMAKE_CURRENT_LIST_DIR}/readme_jp.txt
          -DOUTPUT=${ORVO_ZIP_STAGE}/readme_jp.utf8.txt -P ${CMAKE_CURRENT_LIST_DIR}/crlf.cmake
  COMMAND ${ORVO_ICONV} -f UTF-8 -t CP932 -o ${ORVO_ZIP_STAGE}/readme_jp.txt
          ${ORVO_ZIP_STAGE}/readme_jp.utf8.txt
  COMMAND ${CMAKE_COMMAND} -E rm ${ORVO_ZIP_STAGE}/readme_jp.utf8.txt
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/pack-zip.sh ${ORVO_ZIP_ROOT} ${ORVO_ZIP_FOLDER} ${ORVO_ZIP}
  DEPENDS orvologger ${ORVO_READMES} ${PROJECT_SOURCE_DIR}/LICENSE
          ${CMAKE_CURRENT_LIST_DIR}/crlf.cmake ${CMAKE_CURRENT_LIST_DIR}/pack-zip.sh
  COMMENT "Packing ${ORVO_ZIP_NAME}"
  VERBATIM)
# Built by ./dev release and checked there by .ci/check-zip (check-zip.sh).
add_custom_target(windows_zip DEPENDS ${ORVO_ZIP})
