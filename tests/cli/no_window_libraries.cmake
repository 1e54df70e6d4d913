# The command-line tool loads no widget, chart-widget or OpenGL library: it
# runs where only Qt Core and Gui are installed. ldd lists every library the
# program loads, also those its libraries bring in (a Qt module that needs
# the widgets brings them too).
execute_process(COMMAND ldd ${PROGRAM} OUTPUT_VARIABLE libraries ERROR_VARIABLE errors RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "ldd ${PROGRAM} failed: ${errors}")
endif()
# A listing without Qt Gui is not a listing of this program.
if(NOT libraries MATCHES "libQt6Gui")
  message(FATAL_ERROR "ldd shows no Qt Gui for ${PROGRAM}:\n${libraries}")
endif()
string(REGEX MATCHALL "libQt6(Widgets|Charts|OpenGL[A-Za-z]*)[^ \t\n]*" unwanted "${libraries}")
if(unwanted)
  message(FATAL_ERROR "${PROGRAM} loads ${unwanted}")
endif()
