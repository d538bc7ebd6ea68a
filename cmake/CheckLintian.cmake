# Runs lintian on the package built in PACKAGE_DIR. Any error fails; so does any warning not in
# the list below, each of which is kept for the reason given.
set(kept_warnings)  # none at present
file(GLOB debs "${PACKAGE_DIR}/orvane_${PROJECT_VERSION}_*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one package orvane_${PROJECT_VERSION}_*.deb in ${PACKAGE_DIR}, found ${count}")
endif()
execute_process(COMMAND "${LINTIAN}" --no-cfg --display-level ">=warning" ${debs}
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${output}${errors}")
# Brackets would group list items: lintian puts file names in them.
string(REGEX REPLACE "[][;]" " " output "${output}")
string(REGEX MATCHALL "(^|\n)[EW]: [^\n]*" tags "${output}")
foreach(line ${tags})
  string(STRIP "${line}" line)
  if(line MATCHES "^E: ")
    message(SEND_ERROR "lintian error: ${line}")
  elseif(line MATCHES "^W: [^ ]+: ([^ ]+)")
    list(FIND kept_warnings "${CMAKE_MATCH_1}" index)
    if(index EQUAL -1)
      message(SEND_ERROR "lintian warning not explained: ${line}")
    endif()
  endif()
endforeach()
