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

; The backups the program's schedule window put in the system's Task
; Scheduler: the running user's own task, by schtasks; then, through the
; scheduler's scripting object, every task in the program's task folder that
; runs this installation's program (for an installation for all users, each
; user's), and the folder once nothing is left in it. A task of another
; user's own installation stays. An update never comes here, so it keeps
; the schedule.
Function un.DeleteSchedule
  ReadEnvStr $0 USERNAME
  nsExec::Exec '"$SYSDIR\schtasks.exe" /Delete /TN "\${PRODUCT}\$0" /F'
  Pop $0
  nsExec::Exec `"$SYSDIR\WindowsPowerShell\v1.0\powershell.exe" -NoProfile -NonInteractive -Command "$$s = New-Object -ComObject Schedule.Service; $$s.Connect(); try { $$f = $$s.GetFolder('\${PRODUCT}') } catch { exit 0 }; foreach ($$t in @($$f.GetTasks(1))) { foreach ($$a in $$t.Definition.Actions) { if ($$a.Path.Trim([char]34) -ieq '$INSTDIR\TavrikBackup.exe') { $$f.DeleteTask($$t.Name, 0) } } }; if ($$f.GetTasks(1).Count -eq 0 -and $$f.GetFolders(0).Count -eq 0) { $$s.GetFolder('\').DeleteFolder('${PRODUCT}', 0) }"`
  Pop $0
FunctionEnd

; Removes what the installer and the program's update put into the folder,
; and the update's files in the user's local application data, where they go
; when the program's folder cannot be written. The settings file is the
; user's: the one in the application data folder is never touched, and one
; kept beside the program keeps the folder.
Section "Uninstall"
  Call un.CloseProgram
  Call un.DeleteSchedule
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
