// Program-wide set-up and end.
#include "platform/program.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

namespace platform {
namespace {
ProgramFacts g_facts;
}  // namespace

void SetProgramFacts(const ProgramFacts& facts) { g_facts = facts; }
const ProgramFacts& CurrentProgramFacts() { return g_facts; }
void SetUnexpectedErrorText(const std::wstring& text) { g_facts.unexpected_error = text; }

void InitCommonControls() {
  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);
}

OleScope::OleScope() { OleInitialize(nullptr); }
OleScope::~OleScope() { OleUninitialize(); }

StayAwake::StayAwake() { SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED); }
StayAwake::~StayAwake() { SetThreadExecutionState(ES_CONTINUOUS); }

void LowerThreadPriority() {
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
}

std::chrono::milliseconds DoubleClickTime() {
  return std::chrono::milliseconds(GetDoubleClickTime());
}

void EndProgram(unsigned exit_code) { ExitProcess(exit_code); }

}  // namespace platform
