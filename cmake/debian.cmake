# What Debian asks of a package beyond the executable: the license as a
# machine-readable copyright file, a changelog in Debian's own format, and
# compressed documentation. Both files are made from the project's own
# LICENSE and CHANGELOG.md, so there is one text of each to keep.
#
# Sets PAGESTOW_MAINTAINER (name and address, for the package's control file)
# and adds the install rules for the manual page and the doc files.

set(PAGESTOW_MAINTAINER_EMAIL "pagestow@localhost" CACHE STRING
    "Address under which whoever publishes the Debian package can be reached")
set(PAGESTOW_MAINTAINER "The pagestow project <${PAGESTOW_MAINTAINER_EMAIL}>")

set(debian_dir ${PROJECT_BINARY_DIR}/debian)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
             ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CHANGELOG.md)

# Text as a field of a Debian control-style file: every line indented by one
# space, an empty line written as " .".
function(debian_field_text text out_var)
  string(REGEX REPLACE "\n+$" "" text "${text}")
  string(REPLACE "\n\n" "\n.\n" text "${text}")
  string(REPLACE "\n" "\n " text "${text}")
  set(${out_var} " ${text}" PARENT_SCOPE)
endfunction()

# The copyright file, in Debian's machine-readable format; Debian calls the
# MIT license's text "Expat".
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
if(NOT license MATCHES "\nCopyright \\(c\\) ([^\n]+)\n\n(.*)$")
  message(FATAL_ERROR "LICENSE: no line \"Copyright (c) YEAR HOLDER\" followed by the license terms")
endif()
set(copyright_holder "${CMAKE_MATCH_1}")
debian_field_text("${CMAKE_MATCH_2}" license_terms)
file(WRITE ${debian_dir}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${PROJECT_NAME}

Files: *
Copyright: ${copyright_holder}
License: Expat

License: Expat
${license_terms}
")

# "Tue, 08 Dec 2026 00:00:00 +0000" for a date given as four digits of year
# and two each of month and day. CMake cannot read a date, so the weekday
# comes from Sakamoto's method.
function(rfc2822_date year month day out_var)
  string(REGEX REPLACE "^0" "" month "${month}")
  set(offsets 0 3 2 5 0 3 5 1 4 6 2 4)
  set(weekdays Sun Mon Tue Wed Thu Fri Sat)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  set(y ${year})
  if(month LESS 3)
    math(EXPR y "${y} - 1")
  endif()
  math(EXPR index "${month} - 1")
  list(GET offsets ${index} offset)
  list(GET months ${index} month_name)
  string(REGEX REPLACE "^0" "" day_number "${day}")
  math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day_number}) % 7")
  list(GET weekdays ${weekday} weekday_name)
  set(${out_var} "${weekday_name}, ${day} ${month_name} ${year} 00:00:00 +0000" PARENT_SCOPE)
endfunction()

# The Debian changelog: the section of CHANGELOG.md for this version, its
# "- " items as "  * " entries. The date is the release's, so that the same
# sources always make the same package.
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md changelog_lines)
set(in_section FALSE)
set(entries "")
foreach(line IN LISTS changelog_lines)
  if(line MATCHES "^## ([^ ]+) \\(([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])\\)$")
    if(in_section)
      break()
    endif()
    if(CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
      set(in_section TRUE)
      rfc2822_date(${CMAKE_MATCH_2} ${CMAKE_MATCH_3} ${CMAKE_MATCH_4} release_date)
    endif()
  elseif(in_section AND line MATCHES "^- (.+)$")
    string(APPEND entries "  * ${CMAKE_MATCH_1}\n")
  elseif(in_section AND line MATCHES "^  (.+)$")
    string(APPEND entries "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
if(entries STREQUAL "")
  message(FATAL_ERROR "CHANGELOG.md: no section \"## ${PROJECT_VERSION} (YYYY-MM-DD)\" with items")
endif()
file(WRITE ${debian_dir}/changelog
"${PROJECT_NAME} (${PROJECT_VERSION}) unstable; urgency=medium

${entries}
 -- ${PAGESTOW_MAINTAINER}  ${release_date}
")

# Debian wants documentation compressed, with no name or time stamp in the
# gzip header (gzip -n), so that the package does not change from build to
# build.
find_program(GZIP gzip REQUIRED)
set(man_page ${debian_dir}/pagestow.1)
add_custom_command(
  OUTPUT ${man_page}.gz ${debian_dir}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/pagestow.1 ${man_page}
  COMMAND ${GZIP} -9nf ${man_page}
  COMMAND ${GZIP} -9nkf ${debian_dir}/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/pagestow.1 ${debian_dir}/changelog
  VERBATIM)
add_custom_target(compressed_docs ALL DEPENDS ${man_page}.gz ${debian_dir}/changelog.gz)

install(FILES ${man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${debian_dir}/copyright ${debian_dir}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
