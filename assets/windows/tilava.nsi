; The Windows installer: tilava.exe under Program Files, its Start-menu entry, and its entry in
; the list of installed programs with an uninstaller. The build passes what it made:
;   makensis -DVERSION=1.0.0 -DVERSION4=1.0.0.0 -DPROGRAM=tilava.exe -DICON=tilava.ico
;            -DOUTFILE=Tilava-1.0.0-setup.exe tilava.nsi
; The user's notes (%LOCALAPPDATA%\ZelmTilava) and settings (HKCU\Software\ZELMtilava) are the
; user's: neither the installer nor the uninstaller touches them.

Unicode true
Target amd64-unicode
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma
; A file that cannot be written stops the installation instead of being skipped.
AllowSkipFiles off

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tilava"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "Tilava"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tilava"
; A new version goes where the last one is.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Tilava ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Slovak"

VIProductVersion "${VERSION4}"
VIFileVersion "${VERSION4}"
VIAddVersionKey /LANG=${LANG_SLOVAK} "ProductName" "Tilava"
VIAddVersionKey /LANG=${LANG_SLOVAK} "CompanyName" "ZELM"
VIAddVersionKey /LANG=${LANG_SLOVAK} "FileDescription" "Inštalácia programu Tilava"
VIAddVersionKey /LANG=${LANG_SLOVAK} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SLOVAK} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SLOVAK} "LegalCopyright" "© ZELM"

; A running Tilava holds the named mutex "Tilava|Tilava" of the session, and its program file
; can be neither replaced nor removed. Both sides wait until the user has ended it, or stop
; before changing anything (a silent run stops at once, with exit code 2).
!macro WAIT_UNTIL_TILAVA_ENDS WHAT
  ${Do}
    ; SYNCHRONIZE is all it takes to find the mutex; "access denied" means it exists too.
    System::Call 'kernel32::OpenMutexW(i 0x00100000, i 0, w "Tilava|Tilava") p.r0 ?e'
    Pop $1
    ${If} $0 P<> 0
      System::Call 'kernel32::CloseHandle(p r0)'
    ${ElseIf} $1 <> 5
      ${Break}
    ${EndIf}
    ${IfNot} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Tilava práve beží, a preto sa jej program v priečinku $INSTDIR nedá ${WHAT}.$\r$\n$\r$\nUkončite ju (pravým tlačidlom na jej ikone pri hodinách, „Ukončit“) a zvoľte Opakovať. Nič sa zatiaľ nezmenilo." /SD IDCANCEL IDRETRY`
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${Loop}
!macroend

Function .onInit
  !insertmacro WAIT_UNTIL_TILAVA_ENDS "nahradiť"
FunctionEnd

Function un.onInit
  !insertmacro WAIT_UNTIL_TILAVA_ENDS "odstrániť"
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "/oname=tilava.exe" "${PROGRAM}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\Tilava.lnk" "$INSTDIR\tilava.exe" "" "$INSTDIR\tilava.exe" 0 \
    SW_SHOWNORMAL "" "Dnešné meniny, sviatky a vaše pripomienky"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tilava"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "ZELM"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tilava.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" "$\"$INSTDIR\uninstall.exe$\""
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" "$\"$INSTDIR\uninstall.exe$\" /S"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "https://www.zelm.sk/"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section Uninstall
  ; Only the files the installer put there: whatever else the folder holds stays, and so does
  ; the folder then. A file some other session's Tilava still runs from goes at the next restart.
  Delete /REBOOTOK "$INSTDIR\tilava.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir /REBOOTOK "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\Tilava.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  ; "Start with Windows" of the user who uninstalls: the value that starts the removed program
  ; goes; one that starts a copy elsewhere stays, and so do the start-up markers ZelmTilavaS and
  ; ZelmTilavaP, which are settings.
  ReadRegStr $0 HKCU "${RUN_KEY}" "ZelmTilava"
  ${If} $0 == "$\"$INSTDIR\tilava.exe$\""
  ${OrIf} $0 == "$INSTDIR\tilava.exe"
    DeleteRegValue HKCU "${RUN_KEY}" "ZelmTilava"
  ${EndIf}
SectionEnd
