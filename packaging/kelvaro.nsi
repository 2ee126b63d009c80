; Kelvaro's per-user installer: no administrator rights, the program under
; %LOCALAPPDATA%\Programs\Kelvaro, the user's data under %LOCALAPPDATA%\Kelvaro.
; makensis -DVERSION=... -DOUTFILE=... -DPROGRAM=path\to\kelvaro.exe -DSOURCE_DIR=repository kelvaro.nsi
; With -DCMAKE=path\to\cmake -DSIGN_SCRIPT=sign-with-certificate.cmake, the installer and the
; uninstaller it carries are signed as they are made.

; Kelvaro itself is 64-bit only, and a 64-bit installer runs where no 32-bit Windows layer is.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include "MUI2.nsh"
!include "LogicLib.nsh"

!define PRODUCT "Kelvaro"
!define DATA_DIR "$LOCALAPPDATA\Kelvaro"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvaro"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
!ifdef SIGN_SCRIPT
  !finalize '"${CMAKE}" "-DFILE=%1" -P "${SIGN_SCRIPT}"'
  !uninstfinalize '"${CMAKE}" "-DFILE=%1" -P "${SIGN_SCRIPT}"'
!endif
InstallDir "$LOCALAPPDATA\Programs\Kelvaro"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"

!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_LICENSE "${SOURCE_DIR}/LICENSE"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!define MUI_COMPONENTSPAGE_TEXT_TOP "Your settings, history and messages are kept unless you tick the box below."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ; Start menu and Startup folder of this user, not of every user.
  SetShellVarContext current
FunctionEnd

; $R0: the folder of the user's Windows language among the translations, or "" for English: the
; same language, Brazil's Portuguese for Portugal's, simplified Chinese for mainland China and
; Singapore (Taiwan, Hong Kong and Macau write traditional characters).
Function UserLanguageFolder
  System::Call 'kernel32::GetUserDefaultUILanguage() i .r0'
  ; The primary language, in decimal: the cases compare texts.
  IntOp $1 $0 & 0x3FF
  StrCpy $R0 ""
  ${Select} $1
    ${Case} 7
      StrCpy $R0 "de"
    ${Case} 12
      StrCpy $R0 "fr"
    ${Case} 10
      StrCpy $R0 "es"
    ${Case} 16
      StrCpy $R0 "it"
    ${Case} 22
      StrCpy $R0 "pt_BR"
    ${Case} 19
      StrCpy $R0 "nl"
    ${Case} 21
      StrCpy $R0 "pl"
    ${Case} 25
      StrCpy $R0 "ru"
    ${Case} 4
      ${If} $0 = 2052
      ${OrIf} $0 = 4100
        StrCpy $R0 "zh_CN"
      ${EndIf}
    ${Case} 17
      StrCpy $R0 "ja"
  ${EndSelect}
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "Kelvaro" SectionProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  File "/oname=kelvaro.exe" "${PROGRAM}"
  File "${SOURCE_DIR}/README.md"
  File "${SOURCE_DIR}/LICENSE"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Kelvaro keeps its files in its current folder; a reinstall must never replace the user's own.
  ; The catalogue and the break ideas come in the user's language where Kelvaro has it.
  InitPluginsDir
  SetOutPath "$PLUGINSDIR\languages"
  File /r "${SOURCE_DIR}/src/resources/translations/*.txt"
  SetOutPath "${DATA_DIR}"
  Call UserLanguageFolder
  ${If} $R0 != ""
    ${IfNot} ${FileExists} "${DATA_DIR}\standard.txt"
      CopyFiles /SILENT "$PLUGINSDIR\languages\$R0\standard.txt" "${DATA_DIR}"
    ${EndIf}
    ${IfNot} ${FileExists} "${DATA_DIR}\breakideas.txt"
      CopyFiles /SILENT "$PLUGINSDIR\languages\$R0\breakideas.txt" "${DATA_DIR}"
    ${EndIf}
  ${EndIf}
  SetOverwrite off
  File "${SOURCE_DIR}/src/messages/standard.txt"
  File "${SOURCE_DIR}/src/breaks/breakideas.txt"
  File "${SOURCE_DIR}/src/resources/sounds/message.wav"
  File "${SOURCE_DIR}/src/resources/sounds/break.wav"
  File "${SOURCE_DIR}/packaging/settings.txt"
  File "${SOURCE_DIR}/packaging/timehistory.txt"
  File "${SOURCE_DIR}/packaging/activetimelog.txt"
  SetOverwrite on

  ; A shortcut's working folder is the output path at the time it is made.
  SetOutPath "${DATA_DIR}"
  CreateShortCut "$SMPROGRAMS\Kelvaro.lnk" "$INSTDIR\kelvaro.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "The Kelvaro developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kelvaro.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Start Kelvaro when I sign in" SectionStartup
  SetOutPath "${DATA_DIR}"
  CreateShortCut "$SMSTARTUP\Kelvaro.lnk" "$INSTDIR\kelvaro.exe"
SectionEnd

Section "un.Kelvaro" SectionUninstallProgram
  SectionIn RO
  Delete "$SMPROGRAMS\Kelvaro.lnk"
  Delete "$SMSTARTUP\Kelvaro.lnk"
  Delete "$INSTDIR\kelvaro.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only if empty: the user may have chosen a folder that holds other things.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Unticked by default, and so left alone by a silent uninstall.
Section /o "un.Remove my settings, history and messages" SectionUninstallData
  Delete "${DATA_DIR}\settings.txt"
  Delete "${DATA_DIR}\standard.txt"
  Delete "${DATA_DIR}\breakideas.txt"
  Delete "${DATA_DIR}\message.wav"
  Delete "${DATA_DIR}\break.wav"
  Delete "${DATA_DIR}\timehistory.txt"
  Delete "${DATA_DIR}\activetimelog.txt"
  ; A save cut short by a power cut leaves its new copy beside the file.
  Delete "${DATA_DIR}\*.kelvaro-new"
  RMDir "${DATA_DIR}"
SectionEnd
