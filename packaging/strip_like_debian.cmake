# CPack pre-build script: what dh_strip removes beyond CMake's strip, the
# compiler's .comment and the .note section, from the staged programs.
find_program(OBJCOPY objcopy REQUIRED)
file(GLOB_RECURSE programs LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND ${OBJCOPY} --remove-section=.comment --remove-section=.note ${program}
                  RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "objcopy could not clean ${program}")
  endif()
endforeach()
