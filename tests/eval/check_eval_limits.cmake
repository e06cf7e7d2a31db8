# zeltano-eval at its limits, as a user meets them: a line over the length
# limit between two good ones, --version, a missing option value, a full
# disk, a reader that goes away and an input that cannot be read.

# Runs zeltano-eval with INPUT as standard input, OUTPUT as standard output
# and the further arguments; sets status, out (the output) and err.
function(run_eval input output)
  execute_process(COMMAND ${EVAL} ${ARGN}
                  INPUT_FILE ${input} OUTPUT_FILE ${output} ERROR_VARIABLE err
                  RESULT_VARIABLE status)
  set(status "${status}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
  if(EXISTS ${output} AND NOT IS_DIRECTORY ${output} AND NOT output STREQUAL "/dev/full")
    file(READ ${output} out)
    set(out "${out}" PARENT_SCOPE)
  endif()
endfunction()

function(expect what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(FATAL_ERROR "${what}: expected \"${expected}\", got \"${actual}\"")
  endif()
endfunction()

set(good "{\"Tamogatas\":\"50\"}")
set(line_limit 16777216)

# The good line blanked out to exactly the limit is evaluated; one byte over
# the limit gets an error line, and the next line goes on.
string(LENGTH "${good}" good_length)
math(EXPR padding "${line_limit} - ${good_length}")
string(REPEAT " " ${padding} blanks)
string(SUBSTRING "${good}" 1 -1 fields)
math(EXPR too_long "${line_limit} + 1")
string(REPEAT " " ${too_long} too_many_blanks)
file(WRITE ${WORK}/long.jsonl "${good}\n{${blanks}${fields}\n${too_many_blanks}\n${good}\n")
set(blanks "")
set(too_many_blanks "")
run_eval(${WORK}/long.jsonl ${WORK}/long.out)
expect("exit status with a long line" "${status}" 1)
string(REGEX REPLACE "\n$" "" out "${out}")
string(REPLACE "\n" ";" lines "${out}")
list(LENGTH lines count)
expect("output lines" "${count}" 4)
list(GET lines 2 error_line)
expect("long line" "${error_line}" "{\"error\":\"the line is longer than ${line_limit} bytes\"}")
foreach(i 0 1 3)
  list(GET lines ${i} line)
  string(FIND "${line}" "\"L\":\"8,07\"" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "line ${i} is not the good line's outcome: ${line}")
  endif()
endforeach()

file(WRITE ${WORK}/empty.jsonl "")
run_eval(${WORK}/empty.jsonl ${WORK}/version.out --version)
expect("--version" "${status}|${out}" "0|zeltano-eval ${VERSION}\n")

run_eval(${WORK}/empty.jsonl ${WORK}/usage.out --decimal-separator)
expect("missing value status" "${status}" 2)
string(REGEX MATCH "^[^\n]*" first_line "${err}")
expect("missing value" "${first_line}" "zeltano-eval: missing value for --decimal-separator")

# Results that cannot be written must not pass for success.
run_eval(${WORK}/long.jsonl /dev/full)
expect("full disk" "${status}|${err}"
       "3|zeltano-eval: cannot write the output: No space left on device\n")

# Once the output fails, the input is no longer read: an endless input into
# a full disk ends at once, on one thread and through the pool.
find_program(YES yes REQUIRED)
foreach(jobs 1 2)
  execute_process(COMMAND ${YES} "{}"
                  COMMAND ${EVAL} --jobs ${jobs}
                  OUTPUT_FILE /dev/full ERROR_VARIABLE err RESULTS_VARIABLE statuses TIMEOUT 20)
  list(GET statuses -1 status)
  string(FIND "${err}" "zeltano-eval: cannot write the output: No space left on device\n" at)
  expect("endless input, full disk, --jobs ${jobs}" "${status}|${at}" "3|0")
endforeach()

# A reader that goes away after the first byte: a failed write too.
string(REPEAT "{}\n" 300 many)
file(WRITE ${WORK}/many.jsonl "${many}")
execute_process(COMMAND ${EVAL} INPUT_FILE ${WORK}/many.jsonl
                COMMAND ${CMAKE_COMMAND} -E sleep 0
                RESULTS_VARIABLE statuses ERROR_VARIABLE err)
expect("closed pipe" "${statuses}|${err}"
       "3;0|zeltano-eval: cannot write the output: Broken pipe\n")

# A directory for standard input: reading it fails.
run_eval(${WORK} ${WORK}/directory.out)
expect("unreadable input status" "${status}" 3)
string(FIND "${err}" "zeltano-eval: cannot read the input" at)
expect("unreadable input message at" "${at}" 0)
