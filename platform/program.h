// What the program as a whole needs from the system: COM and the common
// controls for its life, the facts about itself that windows and boxes
// show, and its end.
#pragma once

#include <string>

namespace platform {

// Facts the application gives the platform layer once, before its first
// window: the title of its message boxes and its icon and hand cursor
// resources (0: none).
struct ProgramFacts {
  std::wstring title;
  int icon_resource = 0;
  int hand_cursor_resource = 0;
};
void SetProgramFacts(const ProgramFacts& facts);
const ProgramFacts& CurrentProgramFacts();

// Loads the common controls (progress bar) once, before any window.
void InitCommonControls();

// COM and OLE for the life of the object: pictures, the shell, automation.
class OleScope {
 public:
  OleScope();
  ~OleScope();
  OleScope(const OleScope&) = delete;
  OleScope& operator=(const OleScope&) = delete;
};

// Ends the program at once; nothing after it runs.
[[noreturn]] void EndProgram();

}  // namespace platform
