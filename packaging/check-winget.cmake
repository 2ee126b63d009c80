# Builds the release's winget manifest and checks it against the installer it was made for: the
# three files of one schema version, one package and one version, the installer's own SHA-256,
# a per-user NSIS installer with its silent switch, and the name winget finds it by once installed.
# Run as: cmake -DBUILD_DIR=... -DSETUP=... -DMANIFEST_DIR=... -DIDENTIFIER=... -DVERSION=...
#           -DNSIS_SCRIPT=... -P check-winget.cmake

# A manifest left by an earlier build must not pass for a new one.
file(REMOVE_RECURSE ${MANIFEST_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target winget
  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the target winget failed (${result}):\n${output}")
endif()

set(failures)
function(expect what actual expected)
  if(NOT actual STREQUAL expected)
    set(failures ${failures} "${what}: '${actual}', expected '${expected}'" PARENT_SCOPE)
  endif()
endfunction()

# read(FILE PREFIX): each "Key: value" line, indented or as a list's first entry, as PREFIX_Key.
function(read file prefix)
  if(NOT EXISTS ${file})
    message(FATAL_ERROR "no ${file}")
  endif()
  file(STRINGS ${file} lines)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ -]*([A-Za-z0-9]+): (.*)$")
      set(${prefix}_${CMAKE_MATCH_1} "${CMAKE_MATCH_2}" PARENT_SCOPE)
    elseif(line MATCHES "schema=https://aka.ms/winget-manifest\\.([A-Za-z]+)\\.([0-9.]+)\\.schema\\.json$")
      set(${prefix}_schema "${CMAKE_MATCH_1} ${CMAKE_MATCH_2}" PARENT_SCOPE)
    endif()
  endforeach()
endfunction()

read(${MANIFEST_DIR}/${IDENTIFIER}.yaml version)
read(${MANIFEST_DIR}/${IDENTIFIER}.locale.${version_DefaultLocale}.yaml locale)
read(${MANIFEST_DIR}/${IDENTIFIER}.installer.yaml installer)
file(GLOB written RELATIVE ${MANIFEST_DIR} ${MANIFEST_DIR}/*)
list(LENGTH written count)
expect("files in ${MANIFEST_DIR}" ${count} 3)

foreach(manifest version locale installer)
  set(type ${manifest})
  if(manifest STREQUAL locale)
    set(type defaultLocale)
  endif()
  expect("${manifest}: ManifestType" "${${manifest}_ManifestType}" ${type})
  expect("${manifest}: ManifestVersion" "${${manifest}_ManifestVersion}" "${version_ManifestVersion}")
  expect("${manifest}: schema" "${${manifest}_schema}" "${type} ${version_ManifestVersion}")
  expect("${manifest}: PackageIdentifier" "${${manifest}_PackageIdentifier}" ${IDENTIFIER})
  expect("${manifest}: PackageVersion" "${${manifest}_PackageVersion}" ${VERSION})
endforeach()
if(NOT version_ManifestVersion MATCHES "^1\\.[0-9]+\\.0$")
  list(APPEND failures "not a schema version: '${version_ManifestVersion}'")
endif()

expect("locale: PackageLocale" "${locale_PackageLocale}" "${version_DefaultLocale}")
foreach(required Publisher PackageName License ShortDescription)
  if(locale_${required} STREQUAL "")
    list(APPEND failures "locale: no ${required}")
  endif()
endforeach()

file(SHA256 ${SETUP} sha256)
string(TOUPPER ${sha256} sha256)
get_filename_component(setup_name ${SETUP} NAME)
# The installer's entry in the list of installed programs, by which winget finds what it installed.
file(STRINGS ${NSIS_SCRIPT} uninstall_key REGEX "^!define UNINSTALL_KEY ")
expect("installer: InstallerSha256" "${installer_InstallerSha256}" ${sha256})
expect("installer: InstallerType" "${installer_InstallerType}" nullsoft)
expect("installer: Scope" "${installer_Scope}" user)
expect("installer: Silent" "${installer_Silent}" /S)
expect("installer: SilentWithProgress" "${installer_SilentWithProgress}" /S)
expect("installer: Architecture" "${installer_Architecture}" x64)
expect("installer: the UNINSTALL_KEY's name" "${uninstall_key}"
  "!define UNINSTALL_KEY \"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\${installer_ProductCode}\"")
if(NOT installer_InstallerUrl MATCHES "^https://.*/${setup_name}$")
  list(APPEND failures "installer: InstallerUrl '${installer_InstallerUrl}' is not the https address of ${setup_name}")
endif()

if(failures)
  string(REPLACE ";" "\n  " failures "${failures}")
  message(FATAL_ERROR "the winget manifest in ${MANIFEST_DIR} does not fit ${SETUP}:\n  ${failures}")
endif()
message(STATUS "winget manifest of ${setup_name} (${sha256}): OK")
