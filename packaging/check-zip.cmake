# Builds the portable zip with CPack and checks that it holds exactly the program, its data,
# the seeded files and the documents, each one the same as the file it was made from.
# Run as: cmake -DCPACK=... -DBUILD_DIR=... -DPACKAGE=... -P check-zip.cmake

set(zip ${BUILD_DIR}/${PACKAGE}.zip)
# A zip left by an earlier run must not pass for a new one.
file(REMOVE ${zip})
execute_process(COMMAND ${CPACK} -G ZIP --config ${BUILD_DIR}/CPackConfig.cmake -B ${BUILD_DIR}
  WORKING_DIRECTORY ${BUILD_DIR} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS ${zip})
  message(FATAL_ERROR "cpack failed (${result}):\n${output}")
endif()

set(sources ${CMAKE_CURRENT_LIST_DIR}/..)
# Each file the zip must hold, and what it was made from.
set(expected
  "kelvaro.exe|${BUILD_DIR}/kelvaro.exe"
  "standard.txt|${sources}/src/messages/standard.txt"
  "breakideas.txt|${sources}/src/breaks/breakideas.txt"
  "message.wav|${sources}/src/resources/sounds/message.wav"
  "break.wav|${sources}/src/resources/sounds/break.wav"
  "settings.txt|${sources}/packaging/settings.txt"
  "timehistory.txt|${sources}/packaging/timehistory.txt"
  "activetimelog.txt|${sources}/packaging/activetimelog.txt"
  "README.md|${sources}/README.md"
  "LICENSE|${sources}/LICENSE"
  "languages/en/standard.txt|${sources}/src/messages/standard.txt"
  "languages/en/breakideas.txt|${sources}/src/breaks/breakideas.txt")
foreach(language de fr es it pt_BR nl pl ru zh_CN ja)
  foreach(name standard.txt breakideas.txt)
    list(APPEND expected "languages/${language}/${name}|${sources}/src/resources/translations/${language}/${name}")
  endforeach()
endforeach()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip}
  RESULT_VARIABLE result OUTPUT_VARIABLE listing ERROR_VARIABLE error)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot list ${zip}: ${error}")
endif()
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "/$")
list(SORT entries)

set(wanted)
foreach(pair ${expected})
  string(REGEX REPLACE "\\|.*" "" name "${pair}")
  list(APPEND wanted ${PACKAGE}/${name})
endforeach()
list(SORT wanted)
if(NOT entries STREQUAL wanted)
  string(REPLACE ";" "\n  " entries_text "${entries}")
  string(REPLACE ";" "\n  " wanted_text "${wanted}")
  message(FATAL_ERROR "${zip} holds:\n  ${entries_text}\nbut should hold:\n  ${wanted_text}")
endif()

set(unpacked ${BUILD_DIR}/package-zip-check)
file(REMOVE_RECURSE ${unpacked})
file(MAKE_DIRECTORY ${unpacked})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${unpacked} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${zip}")
endif()
foreach(pair ${expected})
  string(REGEX REPLACE "\\|.*" "" name "${pair}")
  string(REGEX REPLACE ".*\\|" "" origin "${pair}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${unpacked}/${PACKAGE}/${name} ${origin}
    RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${name} in the zip differs from ${origin}")
  endif()
endforeach()
file(REMOVE_RECURSE ${unpacked})
message(STATUS "${zip}: ${entries}")
