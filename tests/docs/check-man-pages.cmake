# Every option a program's help lists appears in its man page, so the two
# cannot drift apart: for tessel-cli the options of the top-level help and of
# every command it lists (tessel-cli help COMMAND), for tessel its --help.
#   cmake -DCLI=tessel-cli -DCLI_PAGE=tessel-cli.1.md [-DGUI=tessel -DGUI_PAGE=tessel.1.md]
#         -P check-man-pages.cmake
set(failed FALSE)

# The option names of a help text: on each row of options, the names before
# the description ("  -o, --output <DIR>  ...").
function(options_of help out)
  set(names)
  string(REPLACE "\n" ";" lines "${help}")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^  -")
      continue()
    endif()
    string(SUBSTRING "${line}" 2 -1 row)
    string(FIND "${row}" "  " gap)
    if(gap GREATER 0)
      string(SUBSTRING "${row}" 0 ${gap} row)
    endif()
    string(REGEX MATCHALL "--?[A-Za-z][A-Za-z0-9-]*" found "${row}")
    list(APPEND names ${found})
  endforeach()
  set(${out} ${names} PARENT_SCOPE)
endfunction()

function(help_of program out)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C LANGUAGE= COLUMNS=80
                          QT_QPA_PLATFORM=offscreen ${program} ${ARGN}
                  OUTPUT_VARIABLE help RESULT_VARIABLE status ERROR_QUIET)
  if(NOT status EQUAL 0 OR help STREQUAL "")
    message(SEND_ERROR "${program} ${ARGN} printed no help (status ${status})")
  endif()
  set(${out} "${help}" PARENT_SCOPE)
endfunction()

# Each option must stand in the page as a word of its own.
function(check_page page what)
  file(READ "${page}" text)
  foreach(option IN LISTS ARGN)
    string(REGEX MATCH "[^A-Za-z0-9-]${option}[^A-Za-z0-9-]" there "${text}")
    if(there STREQUAL "")
      message(SEND_ERROR "${page} does not document ${option} (listed by ${what})")
      set(failed TRUE PARENT_SCOPE)
    endif()
  endforeach()
endfunction()

help_of(${CLI} top help)
options_of("${top}" options)
check_page(${CLI_PAGE} "tessel-cli --help" ${options})
# The commands: the rows of the "Commands:" part of the help.
string(REGEX REPLACE "^.*\nCommands:\n" "" listing "${top}")
string(REGEX MATCHALL "(^|\n)  [a-z]+" commands "${listing}")
set(checked 0)
foreach(command IN LISTS commands)
  string(STRIP "${command}" command)
  if(command STREQUAL "help")
    continue()
  endif()
  file(READ "${CLI_PAGE}" page)
  string(FIND "${page}" "## ${command}" heading)
  if(heading LESS 0)
    message(SEND_ERROR "${CLI_PAGE} has no section for the command ${command}")
    set(failed TRUE)
  endif()
  help_of(${CLI} help_text help ${command})
  options_of("${help_text}" options)
  check_page(${CLI_PAGE} "tessel-cli help ${command}" ${options})
  math(EXPR checked "${checked} + 1")
endforeach()
if(checked LESS 2)
  message(SEND_ERROR "tessel-cli help lists ${checked} commands")
  set(failed TRUE)
endif()

if(DEFINED GUI)
  help_of(${GUI} gui_help --help)
  options_of("${gui_help}" options)
  check_page(${GUI_PAGE} "tessel --help" ${options})
endif()

if(failed)
  message(FATAL_ERROR "a man page lacks options its program's help lists")
endif()
message(STATUS "the man pages document every option of the programs' help")
