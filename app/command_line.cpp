// The command line's rule and the run's result.
#include "app/command_line.h"

#include <cstdint>

namespace app {
namespace {

constexpr wchar_t kApplyUpdateSwitch[] = L"/apply-update";

// ASCII letters only: the switches are ASCII, and the rule stays the same
// in every locale.
wchar_t FoldAscii(wchar_t c) { return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c; }

bool SameSwitch(const std::wstring& argument, const wchar_t* name) {
  const std::wstring wanted = name;
  if (argument.size() != wanted.size()) return false;
  for (std::size_t i = 0; i < wanted.size(); ++i)
    if (FoldAscii(argument[i]) != wanted[i]) return false;
  return true;
}

}  // namespace

StartMode ModeOfArguments(const std::vector<std::wstring>& arguments) {
  if (arguments.empty()) return StartMode::kWindow;
  if (arguments[0] == kApplyUpdateSwitch) return StartMode::kApplyUpdate;
  if (arguments.size() == 1 && SameSwitch(arguments[0], kBackupSwitch)) return StartMode::kBackup;
  return StartMode::kRefused;
}

std::wstring RefusedArgumentsText(const std::vector<std::wstring>& arguments) {
  std::wstring given;
  for (const std::wstring& argument : arguments) given += (given.empty() ? L"" : L" ") + argument;
  return L"Unknown arguments: " + given + L"\r\n\r\nAccepted: " + kBackupSwitch +
         L" (one unattended backup with the stored settings), or none.";
}

RunResult ResultOfRun(bool target_refused, bool cancelled, bool any_failed) {
  if (target_refused) return RunResult::kNothingBackedUp;
  if (cancelled) return RunResult::kCancelled;
  return any_failed ? RunResult::kNotAllCopied : RunResult::kComplete;
}

std::wstring RunLockName(const std::wstring& settings_file) {
  // FNV-1a over the path's letters folded to upper case (ASCII), since the
  // same file may be spelt in either case.
  std::uint64_t hash = 14695981039346656037ull;
  for (wchar_t c : settings_file) {
    const wchar_t folded = c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c;
    hash = (hash ^ static_cast<std::uint16_t>(folded)) * 1099511628211ull;
  }
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring name = L"Local\\Tavrik Backup run ";
  for (int shift = 60; shift >= 0; shift -= 4) name += kDigits[(hash >> shift) & 0xF];
  return name;
}

}  // namespace app
