# Japanese texts the program writes into the host's CP932 files are kept as
# readable UTF-8 in a text file and turned into CP932 byte literals when the
# build is configured, so that no conversion table lives in the program.
#
# Each line of the input is "kName text"; lines starting with "#" and empty
# lines are skipped. The header holds one std::string_view per line. iconv
# (glibc's, present on every Linux build host, also for the Windows cross
# build) does the conversion; a character CP932 lacks stops the configure.

function(tesra_cp932_header input output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
  file(STRINGS ${input} lines ENCODING UTF-8)
  set(body "")
  set(scratch ${CMAKE_CURRENT_BINARY_DIR}/cp932_text.tmp)
  foreach(line IN LISTS lines)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    if(NOT line MATCHES "^(k[A-Za-z0-9]+) (.+)$")
      message(FATAL_ERROR "${input}: not \"kName text\": ${line}")
    endif()
    set(name ${CMAKE_MATCH_1})
    file(WRITE ${scratch}.in "${CMAKE_MATCH_2}")
    execute_process(COMMAND iconv -f UTF-8 -t CP932 ${scratch}.in
                    OUTPUT_FILE ${scratch}.out COMMAND_ERROR_IS_FATAL ANY)
    file(READ ${scratch}.out hex HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
    string(APPEND body "inline constexpr std::string_view ${name} = \"${escaped}\";\n")
  endforeach()
  file(REMOVE ${scratch}.in ${scratch}.out)
  file(RELATIVE_PATH source ${PROJECT_SOURCE_DIR} ${input})
  file(CONFIGURE OUTPUT ${output} CONTENT
"#pragma once
// Generated from ${source} by cmake/cp932_text.cmake: edit the text file.
#include <string_view>

namespace tesra {
@body@
}  // namespace tesra
" @ONLY)
endfunction()

# A UTF-8 template of a file users get (package/NAME.in) as the CP932 file
# with CR LF that the program reads, for builds that use it without the package.
function(tesra_cp932_file input output)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
  configure_file(${input} ${output}.utf8 @ONLY NEWLINE_STYLE CRLF)
  execute_process(COMMAND iconv -f UTF-8 -t CP932 INPUT_FILE ${output}.utf8 OUTPUT_FILE ${output}
                  COMMAND_ERROR_IS_FATAL ANY)
endfunction()
