# Runs correlatore-cli once, through the emulator of a cross build if there is one, and compares
# what it printed byte for byte with a file made on the reference build (GCC, x86-64, glibc).
# Guards against a build whose numbers differ: another compiler, instruction set, architecture,
# C library or line ending. It cannot tell which side is wrong; the engine and theory tests do.
# With COLUMNS=N only the first N fields of each line are compared: columns added later leave
# the earlier ones' bytes as they were.
#   cmake -DPROGRAM=... [-DEMULATOR=a|b] -DARGUMENTS=a|b|c -DEXPECTED=... [-DCOLUMNS=N]
#         [-DEXPECT_STATUS=1 -DEXPECT_MESSAGE=...] -DOUTPUT=... -P reference_output.cmake
# A script sets no policies of its own; without this, list() would drop the empty fields of a row
# (CMP0007) and shift the columns after them.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "|" ";" EMULATOR "${EMULATOR}")
string(REPLACE "|" ";" ARGUMENTS "${ARGUMENTS}")
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGUMENTS}
                OUTPUT_FILE ${OUTPUT} ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT DEFINED EXPECT_STATUS)
  set(EXPECT_STATUS 0)
endif()
if(NOT status STREQUAL EXPECT_STATUS)
  message(FATAL_ERROR "correlatore-cli ${ARGUMENTS} ended with ${status}, not ${EXPECT_STATUS}:\n${errors}")
endif()
if(DEFINED EXPECT_MESSAGE)
  string(FIND "${errors}" "${EXPECT_MESSAGE}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "correlatore-cli ${ARGUMENTS} did not say \"${EXPECT_MESSAGE}\":\n${errors}")
  endif()
endif()
if(DEFINED COLUMNS)
  file(STRINGS ${OUTPUT} lines)
  set(kept "")
  foreach(line IN LISTS lines)
    string(REPLACE "," ";" fields "${line}")
    list(SUBLIST fields 0 ${COLUMNS} fields)
    list(JOIN fields "," line)
    string(APPEND kept "${line}\n")
  endforeach()
  file(WRITE ${OUTPUT}.columns "${kept}")
  set(OUTPUT ${OUTPUT}.columns)
endif()
if(DEFINED EXPECTED)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${EXPECTED}
                  RESULT_VARIABLE differ)
  if(differ)
    # The first line that differs, or that one side lacks, numbered from 1 as an editor does.
    file(STRINGS ${OUTPUT} got)
    file(STRINGS ${EXPECTED} want)
    list(LENGTH got got_rows)
    list(LENGTH want want_rows)
    set(i 0)
    while(i LESS got_rows OR i LESS want_rows)
      set(got_row "(no such line)")
      set(want_row "(no such line)")
      if(i LESS got_rows)
        list(GET got ${i} got_row)
      endif()
      if(i LESS want_rows)
        list(GET want ${i} want_row)
      endif()
      if(NOT i LESS got_rows OR NOT i LESS want_rows OR NOT got_row STREQUAL want_row)
        math(EXPR line "${i} + 1")
        message(FATAL_ERROR "${OUTPUT} differs from ${EXPECTED}, first in\n"
                            "  line ${line} of ${got_rows} (${want_rows} expected)\n"
                            "  got:      ${got_row}\n  expected: ${want_row}")
      endif()
      math(EXPR i "${i} + 1")
    endwhile()
    message(FATAL_ERROR "${OUTPUT} differs from ${EXPECTED} in bytes that its lines do not show "
                        "(line endings, blank lines)")
  endif()
endif()
