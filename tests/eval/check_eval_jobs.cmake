# zeltano-eval on several threads writes exactly what it writes on one: the
# evaluator's test lines and a two-field sweep over them, as JSON and as CSV.
foreach(args "" "--sweep;Tamogatas=0:100:25;--sweep;Energiaar=10:30:5" "--csv;--sweep;Kamatlab=1:10:3")
  set(outputs)
  foreach(jobs 1 3)
    execute_process(COMMAND ${EVAL} --jobs ${jobs} ${args}
                    INPUT_FILE ${INPUT}
                    OUTPUT_VARIABLE out
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 1)
      message(FATAL_ERROR "--jobs ${jobs} ${args}: exit status ${status}, expected 1 (one bad line)")
    endif()
    list(APPEND outputs "${out}")
  endforeach()
  list(GET outputs 0 one)
  list(GET outputs 1 three)
  if(NOT one STREQUAL three)
    message(FATAL_ERROR "--jobs 3 ${args} differs from --jobs 1")
  endif()
  string(LENGTH "${one}" length)
  if(length LESS 1000)
    message(FATAL_ERROR "--jobs 1 ${args}: too little output (${length} bytes)")
  endif()
endforeach()
