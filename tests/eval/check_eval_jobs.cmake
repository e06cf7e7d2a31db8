# zeltano-eval on several threads writes exactly what it writes on one: the
# evaluator's test lines and a two-field sweep over them, as JSON and as CSV.
foreach(args "" "--sweep;Tamogatas=0:100:25;--sweep;Energiaar=10:30:5" "--csv;--sweep;Kamatlab=1:10:3")
  foreach(jobs 1 3)
    execute_process(COMMAND ${EVAL} --jobs ${jobs} ${args}
                    INPUT_FILE ${INPUT}
                    OUTPUT_VARIABLE out_${jobs}
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 1)
      message(FATAL_ERROR "--jobs ${jobs} ${args}: exit status ${status}, expected 1 (one bad line)")
    endif()
  endforeach()
  # (CSV rows hold ";", so the outputs are kept apart, not in a list.)
  if(NOT out_1 STREQUAL out_3)
    message(FATAL_ERROR "--jobs 3 ${args} differs from --jobs 1")
  endif()
  string(LENGTH "${out_1}" length)
  if(length LESS 1000)
    message(FATAL_ERROR "--jobs 1 ${args}: too little output (${length} bytes)")
  endif()
endforeach()
