# Fails when any C++ source differs from what clang-format would write.
file(GLOB_RECURSE sources
  ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h
  ${SOURCE_DIR}/core/*.cpp ${SOURCE_DIR}/core/*.h
  ${SOURCE_DIR}/prefs/*.cpp ${SOURCE_DIR}/prefs/*.h
  ${SOURCE_DIR}/mainwindow/*.cpp ${SOURCE_DIR}/mainwindow/*.h
  ${SOURCE_DIR}/recurring/*.cpp ${SOURCE_DIR}/recurring/*.h
  ${SOURCE_DIR}/cycling/*.cpp ${SOURCE_DIR}/cycling/*.h
  ${SOURCE_DIR}/history/*.cpp ${SOURCE_DIR}/history/*.h
  ${SOURCE_DIR}/ical/*.cpp ${SOURCE_DIR}/ical/*.h
  ${SOURCE_DIR}/sky/*.cpp ${SOURCE_DIR}/sky/*.h
  ${SOURCE_DIR}/tools/*.cpp ${SOURCE_DIR}/tools/*.h
  ${SOURCE_DIR}/printing/*.cpp ${SOURCE_DIR}/printing/*.h
  ${SOURCE_DIR}/resources/*.cpp ${SOURCE_DIR}/resources/*.h
  ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h
  ${SOURCE_DIR}/fuzz/*.cpp ${SOURCE_DIR}/fuzz/*.h)
set(bad "")
foreach(f IN LISTS sources)
  execute_process(COMMAND ${CLANG_FORMAT} --dry-run --Werror ${f}
    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  if(NOT rc EQUAL 0)
    list(APPEND bad ${f})
  endif()
endforeach()
if(bad)
  string(REPLACE ";" "\n  " bad_text "${bad}")
  message(FATAL_ERROR "Not formatted (run 'make format'):\n  ${bad_text}")
endif()
message(STATUS "All sources formatted")
