# zeltano-eval --variants: the input lines compared in one output line; a
# count other than 2 to 4 or a wrong line is an error line with status 1.
file(WRITE ${WORK}/variants_two.jsonl "{}\n{\"Tamogatas\":\"50\"}\n")
execute_process(COMMAND ${EVAL} --variants INPUT_FILE ${WORK}/variants_two.jsonl
                OUTPUT_VARIABLE out RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "two variants: exit status ${status}")
endif()
string(REGEX MATCHALL "\n" breaks "${out}")
list(LENGTH breaks count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "two variants: ${count} output lines, expected one")
endif()
string(JSON name GET "${out}" names 1)
string(JSON first_shortest GET "${out}" shortest_payback 0)
string(JSON second_shortest GET "${out}" shortest_payback 1)
string(JSON second_op GET "${out}" chart 1 op)
if(NOT name STREQUAL "2. változat" OR first_shortest OR NOT second_shortest
   OR NOT second_op STREQUAL "DrawWidth")
  message(FATAL_ERROR "two variants: unexpected output ${name} ${first_shortest} ${second_shortest} ${second_op}")
endif()

foreach(case "{}\n" "{}\n{}\n{}\n{}\n{}\n" "{}\n[1]\n")
  file(WRITE ${WORK}/variants_bad.jsonl "${case}")
  execute_process(COMMAND ${EVAL} --variants INPUT_FILE ${WORK}/variants_bad.jsonl
                  OUTPUT_VARIABLE out RESULT_VARIABLE status)
  string(JSON error ERROR_VARIABLE none GET "${out}" error)
  if(NOT status EQUAL 1 OR error STREQUAL "")
    message(FATAL_ERROR "variants ${case}: status ${status}, output ${out}")
  endif()
endforeach()
