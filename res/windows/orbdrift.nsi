; The Windows installer: puts orbdrift.scr where the screen saver settings
; look for savers, can make it the current one, and lists an uninstaller
; among the installed programs. Built by the cross build's `installer`
; target, which passes the project's version and the paths:
;   makensis -DVERSION=1.2.3 -DSCR=orbdrift.scr -DICON=orbdrift.ico -DLICENSE=LICENSE
;            -DOUTFILE=setup.exe [-DSIGN=COMMAND] orbdrift.nsi
; Silent with /S: the installer then makes orbdrift the current saver.

!ifndef VERSION | SCR | ICON | LICENSE | OUTFILE
  !error "VERSION, SCR, ICON, LICENSE and OUTFILE must be defined on the command line"
!endif

; With SIGN, a command that signs the file it is given in place: the
; uninstaller is signed before it is packed into the installer, and the
; installer once it is written.
!ifdef SIGN
  !uninstfinalize '${SIGN} "%1"'
  !finalize '${SIGN} "%1"'
!endif

; A 64-bit installer for a 64-bit saver: $SYSDIR is then the System32 that
; 64-bit programs, the screen saver settings among them, look in, and HKLM
; is the registry view they read. A 32-bit one would be redirected to
; SysWOW64 and to the 32-bit view, and Windows without 64-bit support could
; not run the saver anyway.
Target amd64-unicode
ManifestSupportedOS all
ManifestDPIAware true
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include MUI2.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\orbdrift"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "orbdrift"
OutFile "${OUTFILE}"
; The .scr goes into System32; this folder holds only the uninstaller, which
; must not sit among the system's own files under a name as plain as that.
InstallDir "$PROGRAMFILES64\orbdrift"
BrandingText "orbdrift ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "orbdrift"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "FileDescription" "orbdrift screen saver setup"
VIAddVersionKey /LANG=1033 "CompanyName" "orbdrift"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright 2026 the orbdrift maintainers. MIT licence."

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The settings store the saver's path as they would have written it
; themselves: the short form, which never needs quoting.
!macro SaverPath out
  GetFullPathName /SHORT ${out} "$SYSDIR\orbdrift.scr"
  ${If} ${out} == ""
    StrCpy ${out} "$SYSDIR\orbdrift.scr"
  ${EndIf}
!macroend

Section "orbdrift screen saver" SecSaver
  SectionIn RO
  SetOutPath "$SYSDIR"
  File "/oname=orbdrift.scr" "${SCR}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "orbdrift screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "orbdrift"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$SYSDIR\orbdrift.scr,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecSaver} $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The previous setting is kept in the uninstall key, so the uninstaller can
; put it back; it is kept only when this installer changes the setting, so a
; second install does not take orbdrift itself for the setting to restore.
Section "Make it the current screen saver" SecCurrent
  !insertmacro SaverPath $1
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} ${Errors}
    DeleteRegValue HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver"
  ${ElseIf} $0 == $1
  ${OrIf} $0 == "$SYSDIR\orbdrift.scr"
    Return
  ${Else}
    WriteRegStr HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver" "$0"
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$1"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "ScreenSaverSetTo" "$1"
SectionEnd

Section "Uninstall"
  ; Put the previous saver back only if the setting is still the one this
  ; installer made: a saver chosen since then is the user's choice.
  ClearErrors
  ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "ScreenSaverSetTo"
  ${IfNot} ${Errors}
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} $0 == $1
      ClearErrors
      ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "PreviousScreenSaver"
      ${If} ${Errors}
        DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      ${Else}
        WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$2"
      ${EndIf}
    ${EndIf}
  ${EndIf}

  ; A saver that is running holds its file; it goes at the next restart.
  Delete /REBOOTOK "$SYSDIR\orbdrift.scr"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
