; The Windows installer: puts orbdrift.scr where the screen saver settings
; look for savers, for everyone on the computer or for the one user who runs
; it, can make it the current one, and lists an uninstaller among the
; installed programs. Built by the cross build's `installer`
; target, which passes the project's version and the paths:
;   makensis -DVERSION=1.2.3 -DSCR=orbdrift.scr -DICON=orbdrift.ico -DLICENSE=LICENSE
;            -DOUTFILE=setup.exe [-DSIGN=COMMAND] orbdrift.nsi
; Silent with /S: the installer then makes orbdrift the current saver, for
; everyone when it runs with administrator rights, else for the user alone;
; /AllUsers or /CurrentUser choose (without the rights /AllUsers ends with
; 740, ERROR_ELEVATION_REQUIRED, and changes nothing).

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
; Administrators are asked to elevate, as installing for everyone needs it;
; other users are not, and install for themselves.
RequestExecutionLevel highest
SetCompressor /SOLID lzma

!include LogicLib.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include nsDialogs.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\orbdrift"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "orbdrift"
OutFile "${OUTFILE}"
; For everyone the .scr goes into System32 and this folder holds only the
; uninstaller, which must not sit among the system's own files under a name
; as plain as that; for one user both go into the user's own programs folder
; (UseScope), where no administrator rights are needed.
InstallDir "$PROGRAMFILES64\orbdrift"

Var Scope  ; "all" or "user"
Var Saver  ; the installed .scr
Var Admin  ; 1 when the installer runs with administrator rights
Var ScopeUserButton
Var ScopeAllButton
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
Page custom ScopePage ScopePageLeave
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The settings store the saver's path as they would have written it
; themselves: the short form, which never needs quoting.
!macro SaverPath out
  GetFullPathName /SHORT ${out} "$Saver"
  ${If} ${out} == ""
    StrCpy ${out} "$Saver"
  ${EndIf}
!macroend

; SHCTX, $INSTDIR and $Saver for $Scope. $LOCALAPPDATA is the user's own only
; once the shell folders are the current user's.
Function UseScope
  ${If} $Scope == all
    SetShellVarContext all
    StrCpy $INSTDIR "$PROGRAMFILES64\orbdrift"
    StrCpy $Saver "$SYSDIR\orbdrift.scr"
  ${Else}
    SetShellVarContext current
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\orbdrift"
    StrCpy $Saver "$INSTDIR\orbdrift.scr"
  ${EndIf}
FunctionEnd

Function .onInit
  StrCpy $Admin 0
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    StrCpy $Admin 1
  ${EndIf}
  StrCpy $Scope user
  ${If} $Admin == 1
    StrCpy $Scope all
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/CurrentUser" $2
  ${IfNot} ${Errors}
    StrCpy $Scope user
  ${EndIf}
  ClearErrors
  ${GetOptions} $1 "/AllUsers" $2
  ${IfNot} ${Errors}
    ${If} $Admin != 1
      MessageBox MB_OK|MB_ICONSTOP "Installing orbdrift for everyone needs administrator rights." /SD IDOK
      SetErrorLevel 740
      Quit
    ${EndIf}
    StrCpy $Scope all
  ${EndIf}
  Call UseScope
FunctionEnd

; Whether it is for everyone or for the user alone; without administrator
; rights only the latter.
Function ScopePage
  !insertmacro MUI_HEADER_TEXT "Install for" "Install orbdrift for yourself alone, or for everyone who uses this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 0 100% 12u "For me only (needs no administrator rights)"
  Pop $ScopeUserButton
  ${NSD_CreateRadioButton} 0 18u 100% 12u "For everyone who uses this computer"
  Pop $ScopeAllButton
  ${If} $Admin != 1
    EnableWindow $ScopeAllButton 0
    ${NSD_CreateLabel} 12u 34u -12u 24u "Installing for everyone needs administrator rights: start the installer with Run as administrator for that."
    Pop $0
  ${EndIf}
  ${If} $Scope == all
    ${NSD_Check} $ScopeAllButton
  ${Else}
    ${NSD_Check} $ScopeUserButton
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function ScopePageLeave
  ${NSD_GetState} $ScopeAllButton $0
  StrCpy $Scope user
  ${If} $0 == ${BST_CHECKED}
    StrCpy $Scope all
  ${EndIf}
  Call UseScope
FunctionEnd

Section "orbdrift screen saver" SecSaver
  SectionIn RO
  ${If} $Scope == all
    SetOutPath "$SYSDIR"
  ${Else}
    SetOutPath "$INSTDIR"
  ${EndIf}
  File "/oname=orbdrift.scr" "${SCR}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "orbdrift screen saver"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "orbdrift"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$Saver,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  SectionGetSize ${SecSaver} $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstall key is HKLM's for everyone, the user's own for one user: SHCTX.
; The previous setting is kept in the uninstall key, so the uninstaller can
; put it back; it is kept only when this installer changes the setting, so a
; second install does not take orbdrift itself for the setting to restore.
Section "Make it the current screen saver" SecCurrent
  !insertmacro SaverPath $1
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} ${Errors}
    DeleteRegValue SHCTX "${UNINSTALL_KEY}" "PreviousScreenSaver"
  ${ElseIf} $0 == $1
  ${OrIf} $0 == $Saver
    Return
  ${Else}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "PreviousScreenSaver" "$0"
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$1"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "ScreenSaverSetTo" "$1"
SectionEnd

; Installed for this user alone when the user's own uninstall entry names
; the uninstaller's folder; else for everyone.
Function un.onInit
  SetShellVarContext all
  StrCpy $Saver "$SYSDIR\orbdrift.scr"
  ClearErrors
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} ${Errors}
  ${OrIf} $0 != $INSTDIR
    Return
  ${EndIf}
  SetShellVarContext current
  StrCpy $Saver "$INSTDIR\orbdrift.scr"
FunctionEnd

Section "Uninstall"
  ; Put the previous saver back only if the setting is still the one this
  ; installer made: a saver chosen since then is the user's choice.
  ClearErrors
  ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "ScreenSaverSetTo"
  ${IfNot} ${Errors}
    ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${If} $0 == $1
      ClearErrors
      ReadRegStr $2 SHCTX "${UNINSTALL_KEY}" "PreviousScreenSaver"
      ${If} ${Errors}
        DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
      ${Else}
        WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$2"
      ${EndIf}
    ${EndIf}
  ${EndIf}

  ; A saver that is running holds its file; it goes at the next restart.
  Delete /REBOOTOK "$Saver"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
