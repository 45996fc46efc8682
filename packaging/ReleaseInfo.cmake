# The release described by the newest entry of packaging/changelog (Debian's
# changelog format): TESSEL_RELEASE_VERSION and TESSEL_RELEASE_DATE
# (YYYY-MM-DD), for the AppStream metadata and the package.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_lines)
set(TESSEL_RELEASE_VERSION "")
set(TESSEL_RELEASE_DATE "")
foreach(line IN LISTS changelog_lines)
  if(NOT TESSEL_RELEASE_VERSION AND line MATCHES "^tessel \\(([^)]+)\\)")
    set(TESSEL_RELEASE_VERSION ${CMAKE_MATCH_1})
  elseif(NOT TESSEL_RELEASE_DATE
         AND line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
    set(day ${CMAKE_MATCH_1})
    set(year ${CMAKE_MATCH_3})
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${CMAKE_MATCH_2} month)
    math(EXPR month "${month} + 1")
    if(month LESS 10)
      set(month "0${month}")
    endif()
    if(day LESS 10 AND NOT day MATCHES "^0")
      set(day "0${day}")
    endif()
    set(TESSEL_RELEASE_DATE "${year}-${month}-${day}")
  endif()
endforeach()
if(NOT TESSEL_RELEASE_VERSION STREQUAL PROJECT_VERSION)
  message(WARNING "packaging/changelog describes ${TESSEL_RELEASE_VERSION}, the project is "
                  "${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION} to the changelog")
endif()
