; The uninstaller: where it asks for an administrator's rights, and what it
; removes; included by tavrik.nsi.

Function un.onInit
  ; Installed for all users when the machine-wide entry names this folder.
  ReadRegStr $0 HKLM "${UNINST_KEY}" "InstallLocation"
  ${If} $0 != $INSTDIR
    SetShellVarContext current
    Return
  ${EndIf}
  SetShellVarContext all
  Call un.CanChangeFolder
  ${If} $R3 = 1
    Return
  ${EndIf}
  ; The folder is the administrators': the uninstaller in it is started
  ; again with the system's elevation prompt, once, and that one does the
  ; work (from Settings > Apps and with /S alike).
  ${GetParameters} $R9
  ClearErrors
  ${GetOptions} $R9 "/ELEVATED" $R8
  ${If} ${Errors}
    StrCpy $R7 "/ELEVATED"
    ${If} ${Silent}
      StrCpy $R7 "/S /ELEVATED"
    ${EndIf}
    ClearErrors
    ExecShell "runas" "$INSTDIR\${UNINSTALLER}" "$R7"
    ${IfNot} ${Errors}
      Quit
    ${EndIf}
  ${EndIf}
  ; The prompt was refused, or even an administrator's rights do not reach.
  MessageBox MB_OK|MB_ICONSTOP "$(RemovalNeedsRights)" /SD IDOK
  SetErrorLevel 2
  Quit
FunctionEnd

; The files the program's update leaves in a folder, with the partial
; downloads of an update cut off by the program's end.
!macro REMOVE_UPDATE_FILES folder
  Delete "${folder}\install.exe"
  Delete "${folder}\install.exe.sig"
  Delete "${folder}\TavrikBackup.upd"
  Delete "${folder}\install.exe.part"
  Delete "${folder}\install.exe.sig.part"
  Delete "${folder}\TavrikBackup.upd.part"
!macroend

; Removes what the installer and the program's update put into the folder,
; and the update's files in the user's local application data, where they go
; when the program's folder cannot be written. The settings file is the
; user's: the one in the application data folder is never touched, and one
; kept beside the program keeps the folder.
Section "Uninstall"
  Call un.CloseProgram
  !insertmacro REMOVE_UPDATE_FILES "$INSTDIR"
  ; The verified copy an update for all users was started from.
  Delete "$INSTDIR\Update\install.exe"
  Delete "$INSTDIR\Update\install.exe.sig"
  RMDir "$INSTDIR\Update"
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey SHCTX "${UNINST_KEY}"
  SetShellVarContext current
  !insertmacro REMOVE_UPDATE_FILES "$LOCALAPPDATA\${PRODUCT}"
  RMDir "$LOCALAPPDATA\${PRODUCT}"
SectionEnd
