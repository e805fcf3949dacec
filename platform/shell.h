// The shell: opening a document, a web address or a program with the
// "open" verb, and the two modal things the program shows (a message box
// and the folder picker) behind a seam that tests replace.
#pragma once

#include <optional>
#include <string>

namespace platform {

class Control;

// Hands file to the shell's "open" verb; the shell's result (above 32 is
// success). parameters and directory are passed as empty texts when given,
// as null pointers when not.
int ShellOpen(const std::wstring& file, const std::wstring* parameters = nullptr,
              const std::wstring* directory = nullptr);

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A message box with one OK button and the program's title, owned by
  // owner: the owner takes no input while it is shown, whatever window is
  // active.
  virtual void MessageBoxOk(const Control& owner, const std::wstring& text);
  // The shell's folder picker: file-system folders only, no "new folder"
  // button. Nothing when the user cancels.
  virtual std::optional<std::wstring> BrowseForFolder(const Control& owner,
                                                      const std::wstring& title);
};

// The dialogs the program uses; tests put their own in place.
Dialogs& CurrentDialogs();
void SetDialogs(Dialogs* dialogs);

}  // namespace platform
