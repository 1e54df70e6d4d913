# Writes a manual page for a command-line tool from its own --help and
# --version output, so the page never says anything the tool does not.
#
#   cmake -DPROGRAM=<path> -DNAME=<name> -DOUTPUT=<file.1> -P ManPage.cmake
#
# The help text is read as: "Usage: NAME SYNOPSIS" (NAME may come with the
# folder it was started from), paragraphs of description, then sections:
# "Commands:" with entries indented by two spaces and their explanation by
# six; "Options:" and "Arguments:" as Qt's command-line parser writes them,
# each entry's names and explanation on one line, at least two spaces apart,
# the explanation continued on lines indented further.

foreach(var PROGRAM NAME OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "ManPage.cmake needs -D${var}=...")
  endif()
endforeach()

# QT_QPA_PLATFORM: the tool needs no display, but never let it look for one.
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE help_rc)
execute_process(COMMAND ${PROGRAM} --version OUTPUT_VARIABLE version RESULT_VARIABLE version_rc
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT help_rc EQUAL 0 OR NOT version_rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help / --version failed (${help_rc}, ${version_rc})")
endif()

# roff: a backslash is an escape, a line starting with . or ' a request,
# and "-" in options should be a real minus.
function(roff_escape text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "^([.'])" "\\\\&\\1" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(TOUPPER "${NAME}" upper)
# Characters that mean something to CMake lists are kept out of the way
# while the text is split into lines.
string(REPLACE ";" "@SEMI@" help "${help}")
string(REPLACE "[" "@OPEN@" help "${help}")
string(REPLACE "]" "@CLOSE@" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(body "")
set(section "")
foreach(line IN LISTS lines)
  if(line MATCHES "^Usage: (.*/)?${NAME} (.*)$")
    roff_escape("${CMAKE_MATCH_2}" synopsis)
    string(APPEND body ".SH SYNOPSIS\n.B ${NAME}\n${synopsis}\n.SH DESCRIPTION\n")
    set(section description)
  elseif(line MATCHES "^(Commands|Options|Arguments):$")
    string(TOUPPER "${CMAKE_MATCH_1}" heading)
    string(APPEND body ".SH ${heading}\n")
    set(paragraph_ends FALSE)
    string(TOLOWER "${CMAKE_MATCH_1}" section)
  elseif(line STREQUAL "")
    # A paragraph break, written only when more description follows.
    set(paragraph_ends TRUE)
  elseif(section STREQUAL "commands" AND line MATCHES "^      (.*)$")
    roff_escape("${CMAKE_MATCH_1}" text)
    string(APPEND body "${text}\n")
  elseif(section STREQUAL "commands" AND line MATCHES "^  (.*)$")
    roff_escape("${CMAKE_MATCH_1}" text)
    string(APPEND body ".TP\n.B ${text}\n")
  elseif((section STREQUAL "options" OR section STREQUAL "arguments") AND line MATCHES "^   +(.*)$")
    roff_escape("${CMAKE_MATCH_1}" text)
    string(APPEND body "${text}\n")
  elseif((section STREQUAL "options" OR section STREQUAL "arguments")
         AND line MATCHES "^  ([^ ]([^ ]| [^ ])*)  +(.*)$")
    roff_escape("${CMAKE_MATCH_1}" names)
    roff_escape("${CMAKE_MATCH_3}" text)
    string(APPEND body ".TP\n.B ${names}\n${text}\n")
  else()
    string(STRIP "${line}" line)
    roff_escape("${line}" text)
    if(paragraph_ends AND DEFINED summary)
      string(APPEND body ".PP\n")
    endif()
    set(paragraph_ends FALSE)
    if(NOT DEFINED summary)
      # The first description line is also the page's one-line summary.
      string(REGEX REPLACE "\\.$" "" summary "${text}")
    endif()
    string(APPEND body "${text}\n")
  endif()
endforeach()
if(NOT DEFINED summary)
  message(FATAL_ERROR "${PROGRAM} --help has no description line")
endif()
set(page ".TH ${upper} 1 \"\" \"${version}\" \"User Commands\"\n.SH NAME\n${NAME} \\- ${summary}\n${body}")
string(REPLACE "@SEMI@" ";" page "${page}")
string(REPLACE "@OPEN@" "[" page "${page}")
string(REPLACE "@CLOSE@" "]" page "${page}")
file(WRITE ${OUTPUT} "${page}")
