# Every place that shows the version shows the one of project(... VERSION ...)
# in the top CMakeLists.txt: both programs' --version, the manual pages, the
# AppStream release entry and the Debian changelog. The number is read from the source, so a build
# tree left behind by an earlier version fails here too.
#
# cmake -DSOURCE_DIR=... -DEVAL=... [-DPROGRAM=... -DPACKAGING_DIR=...]
#       -P check_version.cmake

file(STRINGS ${SOURCE_DIR}/CMakeLists.txt project_line REGEX "^project\\(")
if(NOT project_line MATCHES " VERSION ([0-9]+\\.[0-9]+\\.[0-9]+)")
  message(FATAL_ERROR "the top CMakeLists.txt names no VERSION in project(): ${project_line}")
endif()
set(version ${CMAKE_MATCH_1})
set(problems "")

function(expect what actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    set(problems "${problems}\n  ${what}: \"${actual}\", not \"${expected}\"" PARENT_SCOPE)
  endif()
endfunction()

# The first line of FILE that matches REGEX, with its first group, or "".
function(first_match file regex out)
  file(STRINGS ${file} lines REGEX "${regex}" LIMIT_COUNT 1 ENCODING UTF-8)
  set(found "")
  if(lines MATCHES "${regex}")
    set(found "${CMAKE_MATCH_1}")
  endif()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

function(version_line program out)
  execute_process(COMMAND ${program} --version OUTPUT_VARIABLE text RESULT_VARIABLE status)
  set(${out} "${status}|${text}" PARENT_SCOPE)
endfunction()

version_line(${EVAL} eval_line)
expect("zeltano-eval --version" "${eval_line}" "0|zeltano-eval ${version}\n")

if(PROGRAM)
  version_line(${PROGRAM} program_line)
  expect("zeltano-redurir --version" "${program_line}" "0|zeltano-redurir ${version}\n")
endif()

if(PACKAGING_DIR)
  foreach(page man/zeltano-redurir.1 man/zeltano-eval.1 man/hu/zeltano-redurir.1
               man/hu/zeltano-eval.1)
    first_match(${PACKAGING_DIR}/${page} "^\\.TH [^\"]*\"Zeltano-Redurir ([^\"]*)\"" th)
    expect("${page} (.TH)" "${th}" "${version}")
  endforeach()
  first_match(${PACKAGING_DIR}/zeltano-redurir.metainfo.xml "<release version=\"([^\"]*)\""
              release)
  expect("metainfo, newest release" "${release}" "${version}")
  first_match(${PACKAGING_DIR}/debian/changelog "^zeltano-redurir \\(([^)]*)\\)" entry)
  expect("Debian changelog, newest entry" "${entry}" "${version}")
endif()

# The page's version line is checked on the built page, by the web tests.

if(problems)
  message(FATAL_ERROR "not version ${version}:${problems}")
endif()
message(STATUS "version ${version} everywhere")
