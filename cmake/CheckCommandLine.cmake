# orvane's options where no display can be opened (no DISPLAY or WAYLAND_DISPLAY, the xcb
# platform asked for): --help and --version answer, a wrong option or value exits 2 with one
# line, and nothing aborts for want of a screen.
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

execute_process(COMMAND "${ORVANE}" --version OUTPUT_VARIABLE out)
if(NOT out MATCHES "^Orvane [0-9]+\\.[0-9]+")
  message(SEND_ERROR "orvane --version printed: ${out}")
endif()
