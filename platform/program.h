// What the program as a whole needs from the system: COM and the common
// controls for its life, the facts about itself that windows and boxes
// show, and its end.
#pragma once

#include <chrono>
#include <string>

namespace platform {

// Facts the application gives the platform layer once, before its first
// window: the title of its message boxes and its icon and hand cursor
// resources (0: none).
struct ProgramFacts {
  std::wstring title;
  int icon_resource = 0;
  int hand_cursor_resource = 0;
  // What the box says, in the user's language, before the text of an error
  // the program did not foresee when it ends the program.
  std::wstring unexpected_error;
};
void SetProgramFacts(const ProgramFacts& facts);
const ProgramFacts& CurrentProgramFacts();
void SetUnexpectedErrorText(const std::wstring& text);

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

// Keeps the system from going to sleep while the object lives (the screen
// may still turn off). It holds for the thread that made it.
class StayAwake {
 public:
  StayAwake();
  ~StayAwake();
  StayAwake(const StayAwake&) = delete;
  StayAwake& operator=(const StayAwake&) = delete;
};

// Lets the calling thread give way to the program's window and the user's
// other programs when the processor is short: for threads of long
// background work. Its file reads and writes keep their usual priority.
void LowerThreadPriority();

// The longest time between the two presses of a double click: a second
// press of a button within it belongs to the first, not a press of its own.
std::chrono::milliseconds DoubleClickTime();

// Ends the program at once with exit_code; nothing after it runs.
[[noreturn]] void EndProgram(unsigned exit_code = 0);

}  // namespace platform
