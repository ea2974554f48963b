# Runs the stand-in once and checks its exit code, its output and optionally its screenshot.
#   RUNNER, STANDIN      how to start it (the Wine runner) and the program
#   ARGS                 its arguments, separated by '|'
#   EXPECT_CODE          the exit code it must end with
#   EXPECT_OUT, EXPECT_ERR   regular expressions, separated by '|', that stdout / stderr must match
#   PNG, WIDTH, HEIGHT   the screenshot it must leave, with these pixel dimensions
#   SAME                 two files, separated by '|', whose bytes must be equal afterwards; the
#                        second is removed before the run, as the run is to make it
string(REPLACE "|" ";" args "${ARGS}")
if(PNG)
  file(REMOVE "${PNG}")
endif()
if(SAME)
  string(REPLACE "|" ";" same "${SAME}")
  list(GET same 1 made)
  file(REMOVE "${made}")
endif()
execute_process(COMMAND "${RUNNER}" "${STANDIN}" ${args}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
message("exit code ${code}\n--- stdout\n${out}--- stderr\n${err}---")

if(NOT "${code}" STREQUAL "${EXPECT_CODE}")
  message(FATAL_ERROR "exit code ${code}, expected ${EXPECT_CODE}")
endif()
foreach(stream OUT ERR)
  string(TOLOWER "${stream}" text_var)
  string(REPLACE "|" ";" patterns "${EXPECT_${stream}}")
  foreach(pattern IN LISTS patterns)
    if(NOT "${${text_var}}" MATCHES "${pattern}")
      message(FATAL_ERROR "std${text_var} does not match: ${pattern}")
    endif()
  endforeach()
endforeach()

if(PNG)
  if(NOT EXISTS "${PNG}")
    message(FATAL_ERROR "no screenshot at ${PNG}")
  endif()
  file(READ "${PNG}" head LIMIT 24 HEX)
  string(SUBSTRING "${head}" 0 16 signature)
  string(SUBSTRING "${head}" 24 8 chunk)
  string(SUBSTRING "${head}" 32 8 width_hex)
  string(SUBSTRING "${head}" 40 8 height_hex)
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT chunk STREQUAL "49484452")
    message(FATAL_ERROR "${PNG} is not a PNG file (starts ${head})")
  endif()
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  if(NOT width EQUAL WIDTH OR NOT height EQUAL HEIGHT)
    message(FATAL_ERROR "the screenshot is ${width}x${height}, expected ${WIDTH}x${HEIGHT}")
  endif()
endif()

if(SAME)
  list(GET same 0 original)
  if(NOT EXISTS "${made}")
    message(FATAL_ERROR "no file at ${made}")
  endif()
  file(SHA256 "${original}" original_hash)
  file(SHA256 "${made}" made_hash)
  if(NOT original_hash STREQUAL made_hash)
    message(FATAL_ERROR "${made} differs from ${original}")
  endif()
endif()
