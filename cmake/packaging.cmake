# The two ways a user gets Kelvaro: a portable zip (CPack) and a per-user installer (NSIS).
# Both carry the same seeded data files, so a first start shows no "could not open" box.

set(KELVARO_SEEDED_FILES
  ${CMAKE_SOURCE_DIR}/packaging/settings.txt
  ${CMAKE_SOURCE_DIR}/packaging/timehistory.txt
  ${CMAKE_SOURCE_DIR}/packaging/activetimelog.txt)
set(KELVARO_DOCUMENT_FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE)

# Signing: given a PKCS#12 code-signing certificate and the file holding its password, the build
# signs kelvaro.exe, the installer and the uninstaller it carries (Authenticode, SHA-256) with
# osslsigncode; without one nothing is signed. A cache variable left empty takes the environment
# variable of its name at configure time.
set(KELVARO_SIGNING_CERTIFICATE "" CACHE FILEPATH "PKCS#12 code-signing certificate (.p12, .pfx)")
set(KELVARO_SIGNING_PASSWORD_FILE "" CACHE FILEPATH "File whose first line is the certificate's password")
set(KELVARO_SIGNING_TIMESTAMP_URL "" CACHE STRING "RFC 3161 time-stamping service for the signatures")
foreach(setting CERTIFICATE PASSWORD_FILE TIMESTAMP_URL)
  set(signing_${setting} "${KELVARO_SIGNING_${setting}}")
  if(NOT signing_${setting})
    set(signing_${setting} "$ENV{KELVARO_SIGNING_${setting}}")
  endif()
endforeach()
if(signing_CERTIFICATE)
  if(NOT EXISTS "${signing_CERTIFICATE}" OR NOT EXISTS "${signing_PASSWORD_FILE}")
    message(FATAL_ERROR "Signing needs the certificate KELVARO_SIGNING_CERTIFICATE and its password file "
      "KELVARO_SIGNING_PASSWORD_FILE: '${signing_CERTIFICATE}', '${signing_PASSWORD_FILE}'")
  endif()
  find_program(KELVARO_OSSLSIGNCODE osslsigncode REQUIRED)
  set(KELVARO_SIGN_SCRIPT ${CMAKE_BINARY_DIR}/sign-with-certificate.cmake)
  file(CONFIGURE OUTPUT ${KELVARO_SIGN_SCRIPT} @ONLY CONTENT [[
# Made by the build: signs FILE in place with the certificate the build was configured with.
set(OSSLSIGNCODE "@KELVARO_OSSLSIGNCODE@")
set(CERTIFICATE "@signing_CERTIFICATE@")
set(PASSWORD_FILE "@signing_PASSWORD_FILE@")
set(TIMESTAMP_URL "@signing_TIMESTAMP_URL@")
set(DESCRIPTION "Kelvaro")
set(URL "@KELVARO_HOME_URL@")
include("@CMAKE_SOURCE_DIR@/packaging/sign.cmake")
]])
  add_custom_command(TARGET kelvaro POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DFILE=$<TARGET_FILE:kelvaro> -P ${KELVARO_SIGN_SCRIPT} VERBATIM)
  # Another certificate signs the program again.
  set_property(TARGET kelvaro APPEND PROPERTY LINK_DEPENDS ${KELVARO_SIGN_SCRIPT})
endif()

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
  set(KELVARO_NSIS_SIGNING)
  if(KELVARO_SIGN_SCRIPT)
    set(KELVARO_NSIS_SIGNING -DCMAKE=${CMAKE_COMMAND} -DSIGN_SCRIPT=${KELVARO_SIGN_SCRIPT})
    list(APPEND KELVARO_SETUP_INPUTS ${KELVARO_SIGN_SCRIPT} ${CMAKE_SOURCE_DIR}/packaging/sign.cmake)
  endif()
  add_custom_command(OUTPUT ${KELVARO_SETUP}
    COMMAND ${KELVARO_MAKENSIS} -V2 -NOCD
      -DVERSION=${PROJECT_VERSION} -DOUTFILE=${KELVARO_SETUP} -DPROGRAM=$<TARGET_FILE:kelvaro>
      -DSOURCE_DIR=${CMAKE_SOURCE_DIR} ${KELVARO_NSIS_SIGNING}
      ${CMAKE_SOURCE_DIR}/packaging/kelvaro.nsi
    DEPENDS kelvaro ${CMAKE_SOURCE_DIR}/packaging/kelvaro.nsi ${KELVARO_SETUP_INPUTS}
    VERBATIM)
  # Left out of the default build: compressing the installer is only worth it when it is wanted.
  add_custom_target(installer DEPENDS ${KELVARO_SETUP})

  # The release's winget manifest: the three files of a package version as the winget-pkgs
  # repository lays them out, for the installer as built (its SHA-256) and published at
  # KELVARO_DOWNLOAD_URL. Written by the target winget.
  set(KELVARO_WINGET_IDENTIFIER "Kelvaro.Kelvaro" CACHE STRING "The winget package identifier, Publisher.Package")
  set(KELVARO_DOWNLOAD_URL "${KELVARO_HOME_URL}download/" CACHE STRING
    "Where the installer is published, ending with a slash; the manifest points winget there")
  string(REPLACE "." "/" winget_path ${KELVARO_WINGET_IDENTIFIER})
  string(SUBSTRING ${KELVARO_WINGET_IDENTIFIER} 0 1 winget_letter)
  string(TOLOWER ${winget_letter} winget_letter)
  set(KELVARO_WINGET_DIR ${CMAKE_BINARY_DIR}/winget/manifests/${winget_letter}/${winget_path}/${PROJECT_VERSION})
  set(KELVARO_WINGET_FILES ${KELVARO_WINGET_DIR}/${KELVARO_WINGET_IDENTIFIER}.yaml
    ${KELVARO_WINGET_DIR}/${KELVARO_WINGET_IDENTIFIER}.locale.en-US.yaml
    ${KELVARO_WINGET_DIR}/${KELVARO_WINGET_IDENTIFIER}.installer.yaml)
  get_filename_component(setup_name ${KELVARO_SETUP} NAME)
  add_custom_command(OUTPUT ${KELVARO_WINGET_FILES}
    COMMAND ${CMAKE_COMMAND} -DSETUP=${KELVARO_SETUP} -DOUT_DIR=${KELVARO_WINGET_DIR}
      -DIDENTIFIER=${KELVARO_WINGET_IDENTIFIER} -DVERSION=${PROJECT_VERSION}
      -DPUBLISHER=${CPACK_PACKAGE_VENDOR} -DINSTALLER_URL=${KELVARO_DOWNLOAD_URL}${setup_name}
      -DHOME_URL=${KELVARO_HOME_URL} -DSUPPORT_URL=${KELVARO_FEEDBACK_URL}
      -DLICENSE_FILE=${CMAKE_SOURCE_DIR}/LICENSE -DNSIS_SCRIPT=${CMAKE_SOURCE_DIR}/packaging/kelvaro.nsi
      -P ${CMAKE_SOURCE_DIR}/packaging/winget-manifest.cmake
    DEPENDS ${KELVARO_SETUP} ${CMAKE_SOURCE_DIR}/packaging/winget-manifest.cmake ${CMAKE_SOURCE_DIR}/LICENSE
    VERBATIM)
  add_custom_target(winget DEPENDS ${KELVARO_WINGET_FILES})
  add_test(NAME package_winget
    COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSETUP=${KELVARO_SETUP} -DMANIFEST_DIR=${KELVARO_WINGET_DIR}
      -DIDENTIFIER=${KELVARO_WINGET_IDENTIFIER} -DVERSION=${PROJECT_VERSION}
      -DNSIS_SCRIPT=${CMAKE_SOURCE_DIR}/packaging/kelvaro.nsi -P ${CMAKE_SOURCE_DIR}/packaging/check-winget.cmake)
  # Makes the installer when it is not made yet: a few minutes of compression on a busy machine.
  set_tests_properties(package_winget PROPERTIES TIMEOUT 900 RESOURCE_LOCK kelvaro_build_folder)

  if(CMAKE_CROSSCOMPILING)
    # The script's Wine programs, one after another, share a session that ends with the test.
    add_test(NAME package_installer COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/wine-run.sh ${CMAKE_BINARY_DIR} --host
      bash ${CMAKE_SOURCE_DIR}/packaging/check-installer.sh ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} ${KELVARO_SETUP})
    # The build itself is normally done already.
    set_tests_properties(package_installer PROPERTIES TIMEOUT 1500 RESOURCE_LOCK kelvaro_build_folder)
    kelvaro_wine_session(package_installer)
    # A signed build's program, installer and uninstaller must carry the certificate's signature.
    if(KELVARO_SIGN_SCRIPT)
      set_property(TEST package_installer APPEND PROPERTY ENVIRONMENT
        KELVARO_SIGNING_CERTIFICATE=${signing_CERTIFICATE} KELVARO_SIGNING_PASSWORD_FILE=${signing_PASSWORD_FILE})
    endif()
  endif()
else()
  message(STATUS "makensis not found (Debian's nsis): no installer target and no installer test")
endif()
