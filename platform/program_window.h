// The program's window as other starts of the program find it: a second
// start brings it forward, an unattended run hands its backup to it.
#pragma once

#include <functional>
#include <string>

namespace platform {

class Form;

// Marks window as the program's under name, and answers the requests of
// other starts: start_backup starts a backup as a press of its button
// would and says whether it did (false: busy, or not ready yet).
void AnswerOtherStarts(const Form& window, const std::wstring& name,
                       std::function<bool()> start_backup);

// Shows the window marked under name (restored when minimized, or the
// dialog it has open) in front; false when there is none.
bool BringProgramWindowForward(const std::wstring& name);

enum class BackupHandOver { kNoWindow, kStarted, kBusy };
// Asks the window marked under name to start a backup.
BackupHandOver HandBackupToProgramWindow(const std::wstring& name);

// A box of the program's title with no window of its own behind it.
void ShowProgramMessage(const std::wstring& text);

// Shows window minimized, without taking the focus from the user's work.
void ShowMinimizedWithoutFocus(const Form& window);

}  // namespace platform
