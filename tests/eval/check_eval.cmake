# Pipes lines.jsonl through zeltano-eval and checks each output line for
# its expected fragments, the line count and the exit status.
execute_process(COMMAND ${EVAL}
                INPUT_FILE ${INPUT}
                OUTPUT_VARIABLE output
                RESULT_VARIABLE status)
if(NOT status EQUAL 1)
  message(FATAL_ERROR "expected exit status 1 (one bad line), got ${status}")
endif()
string(REGEX REPLACE "\n$" "" output "${output}")
string(REPLACE "\n" ";" lines "${output}")
file(STRINGS ${EXPECTED} fragments ENCODING UTF-8)
list(LENGTH lines line_count)
list(LENGTH fragments fragment_count)
if(NOT line_count EQUAL fragment_count)
  message(FATAL_ERROR "expected ${fragment_count} output lines, got ${line_count}")
endif()
math(EXPR last "${line_count} - 1")
foreach(i RANGE ${last})
  list(GET lines ${i} line)
  list(GET fragments ${i} expected)
  # A tab separates the fragments a line must hold; they are looked for in
  # order, each after the one before.
  string(REPLACE "\t" ";" parts "${expected}")
  set(rest "${line}")
  foreach(fragment IN LISTS parts)
    string(FIND "${rest}" "${fragment}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "line ${i}: ${fragment} not found in order in ${line}")
    endif()
    string(SUBSTRING "${rest}" ${at} -1 rest)
  endforeach()
endforeach()
