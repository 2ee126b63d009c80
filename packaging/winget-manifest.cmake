# Writes the winget manifest of a release, the three files of one package version (version,
# default locale, installer), into OUT_DIR:
#   cmake -DSETUP=Kelvaro-1.3.4-setup.exe -DOUT_DIR=... -DIDENTIFIER=Publisher.Package -DVERSION=1.3.4
#     -DPUBLISHER=... -DINSTALLER_URL=... -DHOME_URL=... -DSUPPORT_URL=... -DLICENSE_FILE=LICENSE
#     -DNSIS_SCRIPT=kelvaro.nsi -P winget-manifest.cmake
# A distributor copies OUT_DIR into their fork of the winget-pkgs repository as it is laid out there.

# The manifest schema the files follow.
set(manifest_version 1.10.0)
set(locale en-US)

if(NOT EXISTS "${SETUP}")
  message(FATAL_ERROR "No installer at ${SETUP}: build the target installer first")
endif()
file(SHA256 "${SETUP}" sha256)
string(TOUPPER ${sha256} sha256)

# The license's name is the first line of the license file ("MIT License").
file(STRINGS "${LICENSE_FILE}" license_line LIMIT_COUNT 1)
string(REGEX REPLACE " License$" "" license "${license_line}")

# winget finds an installed Kelvaro by the name of its entry in the list of installed programs.
file(STRINGS "${NSIS_SCRIPT}" uninstall_key REGEX "^!define UNINSTALL_KEY ")
string(REGEX REPLACE ".*\\\\([^\\\\\"]+)\"$" "\\1" product_code "${uninstall_key}")

set(header "# Written by Kelvaro's build for the installer ${VERSION}.")
set(schema "# yaml-language-server: $schema=https://aka.ms/winget-manifest")

file(MAKE_DIRECTORY "${OUT_DIR}")
file(WRITE "${OUT_DIR}/${IDENTIFIER}.yaml" "${header}
${schema}.version.${manifest_version}.schema.json

PackageIdentifier: ${IDENTIFIER}
PackageVersion: ${VERSION}
DefaultLocale: ${locale}
ManifestType: version
ManifestVersion: ${manifest_version}
")

file(WRITE "${OUT_DIR}/${IDENTIFIER}.locale.${locale}.yaml" "${header}
${schema}.defaultLocale.${manifest_version}.schema.json

PackageIdentifier: ${IDENTIFIER}
PackageVersion: ${VERSION}
PackageLocale: ${locale}
Publisher: ${PUBLISHER}
PublisherUrl: ${HOME_URL}
PublisherSupportUrl: ${SUPPORT_URL}
PackageName: Kelvaro
PackageUrl: ${HOME_URL}
License: ${license}
ShortDescription: Your health and sleep supervisor
Description: Kelvaro counts your active computer time, keeps a history of your days, reminds you to take breaks and to go to bed, and can make you take a break.
Moniker: kelvaro
Tags:
- break-reminder
- health
- productivity
- tray
ManifestType: defaultLocale
ManifestVersion: ${manifest_version}
")

# NSIS installers take /S for a silent run; Kelvaro's installs for the current user only.
file(WRITE "${OUT_DIR}/${IDENTIFIER}.installer.yaml" "${header}
${schema}.installer.${manifest_version}.schema.json

PackageIdentifier: ${IDENTIFIER}
PackageVersion: ${VERSION}
MinimumOSVersion: 10.0.0.0
InstallerType: nullsoft
Scope: user
InstallModes:
- interactive
- silent
- silentWithProgress
InstallerSwitches:
  Silent: /S
  SilentWithProgress: /S
UpgradeBehavior: install
ProductCode: ${product_code}
Installers:
- Architecture: x64
  InstallerUrl: ${INSTALLER_URL}
  InstallerSha256: ${sha256}
ManifestType: installer
ManifestVersion: ${manifest_version}
")
message(STATUS "winget manifest ${VERSION} in ${OUT_DIR}")
