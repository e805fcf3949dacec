; The Windows installer of Tavrik Backup. The build passes the version, the
; program to install, its icon and the installer to write, e.g.
;   makensis -DVERSION=0.1.7 -DPROGRAM_EXE=TavrikBackup.exe -DICON=tavrik.ico
;            -DOUTFILE=installer/TavrikBackup.exe tavrik.nsi
; The installer takes /S (silent) and /D=folder (last, unquoted). Run again
; over an existing installation it installs into the same folder without
; asking, so that the program's own update (which starts it with no
; parameters) needs one press of "Finish".
; It runs with the rights of the user who started it. Only an installation
; for all users (under Program Files) needs an administrator's: a copy of
; the installer is then started elevated to do the work (/S /ALLUSERS),
; while this one shows the pages and starts the program as the signed-in
; user. The program's own update of an installation for all users starts
; its verified copy elevated with /S /ALLUSERS /START: /START starts the
; program again, as the signed-in user, once the silent install is done.
; The uninstaller of an installation for all users asks for an
; administrator's rights (it starts itself again through "runas") when its
; own are not enough to change the folder; the user's own needs none.

!ifndef VERSION | PROGRAM_EXE | ICON | OUTFILE
  !error "Pass VERSION, PROGRAM_EXE, ICON and OUTFILE with -D"
!endif

; A release signs the uninstaller too, so that the elevation prompt of the
; uninstaller for all users names the publisher.
!ifdef SIGN_UNINSTALLER
  !uninstfinalize 'sh "${SIGN_UNINSTALLER}" "%1"'
!endif

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include WinMessages.nsh
!include FileFunc.nsh

!define PRODUCT "Tavrik Backup"
!define PROGRAM "TavrikBackup.exe"
!define UNINSTALLER "uninstall.exe"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\TavrikBackup"
; The program's main window, told apart from its splash and About windows by
; the title.
!define FORM_CLASS "TavrikForm"
!define FORM_TITLE "Tavrik Backup"

Name "${PRODUCT}"
Caption "${PRODUCT} ${VERSION} Setup"
UninstallCaption "${PRODUCT} ${VERSION} Uninstall"
BrandingText "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "Tavrik"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Tavrik"

Var Upgrade  ; 1 when an installation was found and is being replaced
Var AllUsers  ; 1 for an installation for all users
Var Elevated  ; 1 when this installer has an administrator's rights
Var Inner     ; 1 in the copy started elevated (/ALLUSERS)
Var StartAfter  ; 1 to start the program when a silent install is done (/START)

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipFolderOnUpgrade
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartProgram
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The first language is the fallback; otherwise the user's own is chosen.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Spanish"

LangString StillRunning ${LANG_ENGLISH} "${PRODUCT} is still running. Close it and press Retry."
LangString StillRunning ${LANG_SPANISH} "${PRODUCT} sigue abierto. Ciérrelo y pulse Reintentar."
LangString Waiting ${LANG_ENGLISH} "Waiting for ${PRODUCT} to close..."
LangString Waiting ${LANG_SPANISH} "Esperando a que se cierre ${PRODUCT}..."
LangString Elevating ${LANG_ENGLISH} "Asking for an administrator's permission..."
LangString Elevating ${LANG_SPANISH} "Pidiendo el permiso de un administrador..."
LangString NotElevated ${LANG_ENGLISH} "${PRODUCT} is installed for all users: updating it needs an administrator's permission."
LangString NotElevated ${LANG_SPANISH} "${PRODUCT} está instalado para todos los usuarios: actualizarlo requiere el permiso de un administrador."
LangString RemovalNeedsRights ${LANG_ENGLISH} "${PRODUCT} is installed for all users: removing it needs an administrator's permission."
LangString RemovalNeedsRights ${LANG_SPANISH} "${PRODUCT} está instalado para todos los usuarios: quitarlo requiere el permiso de un administrador."
LangString NoRights ${LANG_ENGLISH} "The files of ${PRODUCT} in $INSTDIR cannot be changed with your rights: that needs an administrator's permission."
LangString NoRights ${LANG_SPANISH} "Los archivos de ${PRODUCT} en $INSTDIR no se pueden cambiar con sus permisos: hace falta el permiso de un administrador."

!include "${__FILEDIR__}/close_program.nsh"

Function .onInit
  ${GetParameters} $R9
  ClearErrors
  ${GetOptions} $R9 "/ALLUSERS" $R8
  ${If} ${Errors}
    StrCpy $Inner 0
  ${Else}
    StrCpy $Inner 1
  ${EndIf}
  StrCpy $AllUsers $Inner
  ClearErrors
  ${GetOptions} $R9 "/START" $R8
  ${If} ${Errors}
    StrCpy $StartAfter 0
  ${Else}
    StrCpy $StartAfter 1
  ${EndIf}
  UserInfo::GetAccountType
  Pop $0
  StrCpy $Elevated 0
  ${If} $0 == "Admin"
    StrCpy $Elevated 1
  ${EndIf}
  ; An administrator whose rights UAC holds back until asked (the token's
  ; elevation type is "limited").
  StrCpy $R7 0
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r2'
  ${If} $2 <> 0
    System::Call 'advapi32::GetTokenInformation(p r1, i 18, *i .r3, i 4, *i .r4) i .r2'
    ${If} $2 <> 0
    ${AndIf} $3 = 3
      StrCpy $R7 1
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  StrCpy $Upgrade 0
  ; /D= sets the folder before this runs; without it an earlier installation
  ; is replaced where it is: one for all users first, then the user's own.
  ${If} $INSTDIR == ""
    ReadRegStr $1 HKLM "${UNINST_KEY}" "InstallLocation"
    ReadRegStr $2 HKCU "${UNINST_KEY}" "InstallLocation"
    ${If} $1 != ""
      StrCpy $INSTDIR $1
      StrCpy $Upgrade 1
      StrCpy $AllUsers 1
    ${ElseIf} $2 != ""
      StrCpy $INSTDIR $2
      StrCpy $Upgrade 1
    ${ElseIf} $Elevated = 1
    ${OrIf} $R7 = 1
      StrCpy $AllUsers 1
      StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
    ${Else}
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
    ${EndIf}
  ${ElseIf} $Elevated = 1
    StrCpy $AllUsers 1
  ${EndIf}
  ${If} $AllUsers = 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
FunctionEnd

; Starts the installed program from the last page as the signed-in user. This
; installer runs with the user's own rights unless the user started it
; elevated; then the shell, which runs as the user, is asked to start it.
Function StartProgram
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r2'
  StrCpy $3 0
  ${If} $2 <> 0
    System::Call 'advapi32::GetTokenInformation(p r1, i 18, *i .r3, i 4, *i .r4)'
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  ${If} $3 = 2
    Exec '"$WINDIR\explorer.exe" "$INSTDIR\${PROGRAM}"'
  ${Else}
    Exec '"$INSTDIR\${PROGRAM}"'
  ${EndIf}
FunctionEnd

; A silent install asked to (the program's own update) starts the program
; again; an interactive one leaves that to its last page.
Function .onInstSuccess
  ${If} $StartAfter = 1
  ${AndIf} ${Silent}
    Call StartProgram
  ${EndIf}
FunctionEnd

Function SkipFolderOnUpgrade
  ${If} $Upgrade = 1
    Abort
  ${EndIf}
FunctionEnd

Section "Tavrik Backup"
  ${If} $AllUsers = 1
  ${AndIf} $Elevated = 0
    ; The installation for all users is replaced in place by a copy of this
    ; installer with an administrator's rights (the system asks for them).
    ${If} $Inner = 1
      SetErrorLevel 2
      Quit
    ${EndIf}
    DetailPrint "$(Elevating)"
    ExecShellWait "runas" "$EXEPATH" "/S /ALLUSERS /D=$INSTDIR"
    ReadRegStr $0 HKLM "${UNINST_KEY}" "DisplayVersion"
    ${If} $0 != "${VERSION}"
      MessageBox MB_OK|MB_ICONSTOP "$(NotElevated)" /SD IDOK
      SetErrorLevel 2
      Quit
    ${EndIf}
    Return
  ${EndIf}
  SetOutPath "$INSTDIR"
  ${If} $AllUsers = 1
    ; Wherever /D= put it, an installation for all users gets the rights of
    ; Program Files, not those of the folder above: the administrators and
    ; the system change it, users read and run it. The program's update
    ; refuses to start anything from a folder others can change.
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /inheritance:r /grant:r *S-1-5-32-544:(OI)(CI)F *S-1-5-18:(OI)(CI)F *S-1-5-32-545:(OI)(CI)RX'
    Pop $0
    nsExec::ExecToLog '"$SYSDIR\icacls.exe" "$INSTDIR" /setowner *S-1-5-32-544 /T /C'
    Pop $0
  ${EndIf}
  Call CloseProgram
  File "/oname=${PROGRAM}" "${PROGRAM_EXE}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\${PROGRAM}"

  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINST_KEY}" "Publisher" "Tavrik"
  WriteRegStr SHCTX "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
  WriteRegStr SHCTX "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINST_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr SHCTX "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINST_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

!include "${__FILEDIR__}/uninstall.nsh"
