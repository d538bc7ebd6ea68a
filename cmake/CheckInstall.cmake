# Installs the build in BUILD_DIR into the staging directory STAGE (prefix /usr) and compares
# the files installed with the list in EXPECTED (one path a line; "#" starts a comment).
file(REMOVE_RECURSE "${STAGE}")
set(ENV{DESTDIR} "${STAGE}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix /usr
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE "${STAGE}" "${STAGE}/*")
list(SORT installed)
file(STRINGS "${EXPECTED}" expected REGEX "^[^#]")
list(SORT expected)
if(NOT installed STREQUAL expected)
  set(missing ${expected})
  list(REMOVE_ITEM missing ${installed})
  set(extra ${installed})
  list(REMOVE_ITEM extra ${expected})
  string(REPLACE ";" "\n  " missing "${missing}")
  string(REPLACE ";" "\n  " extra "${extra}")
  message(FATAL_ERROR "Installed files differ from ${EXPECTED}\n"
    "missing:\n  ${missing}\nnot expected:\n  ${extra}")
endif()
list(LENGTH installed count)
message(STATUS "${count} files installed as expected")
