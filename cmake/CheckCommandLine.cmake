# orvane's options where no display can be opened (no DISPLAY or WAYLAND_DISPLAY, the xcb
# platform asked for): --help and --version answer, a wrong option or value exits 2 with one
# line, and nothing aborts for want of a screen: starting without one says so in one line.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
set(ENV{QT_QPA_PLATFORM} xcb)

function(expect status lines)
  execute_process(COMMAND "${ORVANE}" ${ARGN}
    RESULT_VARIABLE got OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT got STREQUAL "${status}")
    message(SEND_ERROR "orvane ${ARGN}: status ${got}, not ${status}\n${out}${err}")
  endif()
  if(lines GREATER 0)
    string(REGEX MATCHALL "\n" newlines "${err}")
    list(LENGTH newlines count)
    if(NOT count EQUAL lines)
      message(SEND_ERROR "orvane ${ARGN}: ${count} lines on standard error, not ${lines}\n${err}")
    endif()
  endif()
endfunction()

expect(0 0 --help)
expect(0 0 --version)
expect(0 0 -platform offscreen -reverse --version)  # Qt's own options are left to Qt
expect(2 1 --bogus)
expect(2 1 extra)
expect(2 1 --section nowhere)
expect(2 1 --window-size 10)
expect(2 1 --replay /nonexistent/capture)
expect(2 1 --replay ${CMAKE_CURRENT_LIST_DIR} --sysroot ${CMAKE_CURRENT_LIST_DIR})

# One version, the project's in full, from both programs, for -v as for --version.
foreach(option --version -v)
  foreach(program "${ORVANE}|Orvane" "${REPORT}|orvane-report")
    string(REPLACE "|" ";" program "${program}")
    list(GET program 0 path)
    list(GET program 1 name)
    execute_process(COMMAND "${path}" ${option} OUTPUT_VARIABLE out)
    if(NOT out STREQUAL "${name} ${VERSION}\n")
      message(SEND_ERROR "${path} ${option} printed: ${out}")
    endif()
  endforeach()
endforeach()

# No window system to start: one line and status 2, not Qt's abort. Asked for X11 without a
# display; then a Wayland session whose compositor is not there, with nothing asked for.
expect(2 1)
unset(ENV{QT_QPA_PLATFORM})
set(ENV{WAYLAND_DISPLAY} orvane-test-no-compositor)
expect(2 1)
expect(2 1 --section battery)
