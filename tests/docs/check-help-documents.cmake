# Each help document shows every picture its manual refers to: the PDF holds
# one image XObject per picture (masks, which QPdfWriter writes as images of
# their own for pictures with transparency, not counted); and it has an
# outline with an item for each heading of its manual.
#   cmake -P check-help-documents.cmake MANUAL.md DOCUMENT.pdf [MANUAL.md DOCUMENT.pdf ...]
set(first 3)  # CMAKE_ARGV0..2: cmake -P script
math(EXPR last "${CMAKE_ARGC} - 1")
if(last LESS first)
  message(FATAL_ERROR "usage: cmake -P check-help-documents.cmake MANUAL.md DOCUMENT.pdf ...")
endif()

set(failed FALSE)
foreach(i RANGE ${first} ${last} 2)
  math(EXPR j "${i} + 1")
  set(manual "${CMAKE_ARGV${i}}")
  set(document "${CMAKE_ARGV${j}}")
  if(NOT EXISTS "${manual}" OR NOT EXISTS "${document}")
    message(SEND_ERROR "missing: ${manual} or ${document} (build the target tessel_docs)")
    set(failed TRUE)
    continue()
  endif()

  # The pictures the manual refers to, each counted once.
  file(READ "${manual}" text)
  string(REGEX MATCHALL "!\\[[^]\n]*\\]\\([^)\n]+\\)" references "${text}")
  set(pictures)
  foreach(reference IN LISTS references)
    string(REGEX REPLACE "^.*\\(([^)]+)\\)$" "\\1" picture "${reference}")
    list(APPEND pictures "${picture}")
  endforeach()
  list(REMOVE_DUPLICATES pictures)
  list(LENGTH pictures wanted)

  # QPdfWriter writes the object dictionaries uncompressed, one key a line.
  file(STRINGS "${document}" images REGEX "^/Subtype /Image$")
  file(STRINGS "${document}" masks REGEX "^/S?Mask [0-9]+ 0 R$")
  list(LENGTH images image_count)
  list(LENGTH masks mask_count)
  math(EXPR shown "${image_count} - ${mask_count}")

  # An outline (bookmarks) from the headings, shown when the document opens.
  file(STRINGS "${document}" outline REGEX "^/(Outlines [0-9]+ 0 R|PageMode /UseOutlines)$")
  list(LENGTH outline outline_keys)
  string(REGEX MATCHALL "\n#+ " headings "\n${text}")
  list(LENGTH headings heading_count)
  file(STRINGS "${document}" items REGEX "^/Title <FEFF")
  list(LENGTH items item_count)
  if(NOT outline_keys EQUAL 2 OR NOT item_count EQUAL heading_count)
    message(SEND_ERROR "${document} has ${item_count} outline items for the ${heading_count} "
                       "headings of ${manual}")
    set(failed TRUE)
  endif()

  if(NOT shown EQUAL wanted)
    message(SEND_ERROR "${document} shows ${shown} pictures, ${manual} refers to ${wanted}: "
                       "${pictures}")
    set(failed TRUE)
  else()
    message(STATUS "${document}: ${shown} pictures, as ${manual} refers to")
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "a help document lacks pictures of its manual")
endif()
