# The two ways a user gets Kelvaro: a portable zip (CPack) and a per-user installer (NSIS).
# Both carry the same seeded data files, so a first start shows no "could not open" box.

set(KELVARO_SEEDED_FILES
  ${CMAKE_SOURCE_DIR}/packaging/settings.txt
  ${CMAKE_SOURCE_DIR}/packaging/timehistory.txt
  ${CMAKE_SOURCE_DIR}/packaging/activetimelog.txt)
set(KELVARO_DOCUMENT_FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE)

# Kelvaro reads its files from its current folder, so the portable zip keeps them beside the program.
install(TARGETS kelvaro RUNTIME DESTINATION .)
install(FILES ${KELVARO_DATA_FILES} ${KELVARO_SEEDED_FILES} ${KELVARO_DOCUMENT_FILES} DESTINATION .)
# Each language's catalogue and break ideas, which Kelvaro takes in place of the English ones as
# long as those are as shipped.
install(FILES ${CMAKE_SOURCE_DIR}/src/messages/standard.txt ${CMAKE_SOURCE_DIR}/src/breaks/breakideas.txt
  DESTINATION languages/en)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/src/resources/translations/ DESTINATION languages
  FILES_MATCHING PATTERN "*.txt")

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Kelvaro)
set(CPACK_PACKAGE_VENDOR "The Kelvaro developers")
set(CPACK_PACKAGE_FILE_NAME Kelvaro-${PROJECT_VERSION}-portable)
include(CPack)

add_test(NAME package_zip
  COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR}
    -DPACKAGE=Kelvaro-${PROJECT_VERSION}-portable -P ${CMAKE_SOURCE_DIR}/packaging/check-zip.cmake)
# Both package tests run the build tool in this build folder, which two at once would corrupt.
set_tests_properties(package_zip PROPERTIES TIMEOUT 300 RESOURCE_LOCK kelvaro_build_folder)

find_program(KELVARO_MAKENSIS makensis)
if(KELVARO_MAKENSIS)
  set(KELVARO_SETUP ${CMAKE_BINARY_DIR}/Kelvaro-${PROJECT_VERSION}-setup.exe)
  file(GLOB KELVARO_TRANSLATED_DATA_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/resources/translations/*/*.txt)
  set(KELVARO_SETUP_INPUTS ${KELVARO_DATA_FILES} ${KELVARO_SEEDED_FILES} ${KELVARO_DOCUMENT_FILES}
    ${KELVARO_TRANSLATED_DATA_FILES})
  add_custom_command(OUTPUT ${KELVARO_SETUP}
    COMMAND ${KELVARO_MAKENSIS} -V2 -NOCD
      -DVERSION=${PROJECT_VERSION} -DOUTFILE=${KELVARO_SETUP} -DPROGRAM=$<TARGET_FILE:kelvaro>
      -DSOURCE_DIR=${CMAKE_SOURCE_DIR}
      ${CMAKE_SOURCE_DIR}/packaging/kelvaro.nsi
    DEPENDS kelvaro ${CMAKE_SOURCE_DIR}/packaging/kelvaro.nsi ${KELVARO_SETUP_INPUTS}
    VERBATIM)
  # Left out of the default build: compressing the installer is only worth it when it is wanted.
  add_custom_target(installer DEPENDS ${KELVARO_SETUP})

  if(CMAKE_CROSSCOMPILING)
    # The script's Wine programs, one after another, share a session that ends with the test.
    add_test(NAME package_installer COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${CMAKE_BINARY_DIR} --host
      bash ${CMAKE_SOURCE_DIR}/packaging/check-installer.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${KELVARO_SETUP})
    # The build itself is normally done already.
    set_tests_properties(package_installer PROPERTIES TIMEOUT 1500 RESOURCE_LOCK kelvaro_build_folder)
    kelvaro_wine_session(package_installer)
  endif()
else()
  message(STATUS "makensis not found (Debian's nsis): no installer target and no installer test")
endif()
