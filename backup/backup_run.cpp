// The press handler of "Backup!" and the run it drives, step by step.
#include "backup/backup_run.h"

#include <algorithm>

#include "backup/path_parts.h"
#include "platform/shell.h"
#include "settings/ini_file.h"

namespace backup {
namespace {

constexpr COLORREF kWhite = platform::Rgb(255, 255, 255);
constexpr COLORREF kYellow = platform::Rgb(255, 255, 0);
const wchar_t kMailStoreSection[] = L"PST";

}  // namespace

const wchar_t kBackupCaption[] = L"Backup!";

BackupRun::BackupRun(const BackupControls& controls, const app::MainTexts& texts,
                     const std::wstring& IniFile, std::wstring& strViewLogFolder)
    : c_(controls),
      texts_(texts),
      IniFile_(IniFile),
      strViewLogFolder_(strViewLogFolder),
      engine_(flags_, texts) {}

void BackupRun::btnBackup_Click() {
  // The button reads "CANCEL" only while the outer press runs the copy. A
  // cancel is honoured whatever became of the target meanwhile.
  if (c_.btnBackup.caption() == texts_.strCancel) {
    flags_.bCancel = -1;
    ShowMessage(texts_.strPleaseWait);
    c_.btnBackup.set_enabled(false);
    return;
  }

  c_.txtBackupTo.set_back_color(kWhite);
  flags_.bTargetError = false;
  c_.imgErrorTotal.set_visible(false);
  c_.imgOKtotal.set_visible(false);

  // A target of blanks only is no target either: left alone it would become
  // the root of the current drive.
  const std::wstring folder = TrimSpaces(c_.txtBackupTo.text());
  if (folder != c_.txtBackupTo.text()) c_.txtBackupTo.set_text(folder);
  if (folder.empty()) return RefuseTarget(texts_.strEnterTarget);

  if (!TargetIsUsable(folder)) return RefuseTarget(texts_.strInvalidTarget);
  c_.lblError.set_visible(false);
  c_.lblError.set_caption(L"");

  bool saved = true;
  if (!SaveSettings(folder, saved)) return RefuseTarget(texts_.strSameFolder);
  // The run goes ahead; the user learns that the next start will not know it.
  if (!saved) ShowMessage(texts_.strSettingsNotSaved);

  c_.lblViewLog.set_visible(false);
  Run(folder, AddBackslash(folder));
}

// Missing levels are created. A relative path is refused: it would land
// under whatever the current folder happens to be. So is one longer than the
// settings file keeps: the next start would read back another folder.
bool BackupRun::TargetIsUsable(const std::wstring& folder) {
  if (folder.size() > settings::kMaxValueLength) return false;
  std::wstring typed = AddBackslash(folder);
  std::replace(typed.begin(), typed.end(), L'/', L'\\');
  if (!IsAbsolutePath(typed)) return false;
  const std::wstring place = platform::FullPath(folder);
  return platform::FolderExists(place) || MakePath(place);
}

// False when the target lies inside a ticked source, however either is
// spelt; the rows after that one are then not saved. saved turns false when
// a value could not be written.
bool BackupRun::SaveSettings(const std::wstring& folder, bool& saved) {
  saved = settings::WriteIni(IniFile_, L"main", L"target", folder) && saved;
  saved = settings::WriteIni(IniFile_, L"main", L"log", c_.chklog.value() == 1 ? L"1" : L"0") &&
          saved;
  const std::wstring place = platform::CanonicalPath(folder);
  for (int i = 1; i <= c_.rows.count(); ++i) {
    const sources::SourceRow& row = c_.rows[i];
    if (row.chkCarpeta.value() != 1) continue;
    saved = settings::WriteIni(IniFile_, row.Section, row.Key, L"1") && saved;
    if (StartsWithPath(place, platform::CanonicalPath(row.Path))) return false;
  }
  return true;
}

void BackupRun::Run(const std::wstring& folder, const std::wstring& target) {
  c_.btnBackup.set_caption(texts_.strCancel);
  // The folder as the system reads the typed text ("D:/Copias.", "D:\\x\\..");
  // the copy gives every name to the file functions as it is.
  const std::wstring place = AddBackslash(platform::FullPath(folder));
  BackupLog* log = nullptr;
  if (c_.chklog.value() == 1) {
    log = &log_;
    if (!log_.Open(place)) ShowMessage(texts_.strErrorWriting + target);
  }
  EnableInputs(false);

  // Every row counts for the overall icon, not only the last one copied.
  bool anyFileError = false;
  bool stopped = false;
  for (intRow = 1; intRow <= c_.rows.count(); ++intRow) {
    sources::SourceRow& row = c_.rows[intRow];
    if (row.chkCarpeta.value() != 1) continue;
    const bool logWasFine = !log || !log->failed();
    CopyRow(row, place, log);
    if (logWasFine && log && log->failed()) ShowMessage(texts_.strErrorWriting + target);
    if (flags_.bCancel || flags_.bTargetError) {
      stopped = true;
      break;
    }
    if (flags_.bFileError) {
      anyFileError = true;
      row.imgError.set_visible(true);
    } else {
      row.barCopy.set_value(row.barCopy.maximum());
      row.imgOK.set_visible(true);
      row.barCopy.set_visible(false);
    }
  }

  if (stopped && flags_.bTargetError) {
    ShowMessage(texts_.strCannotBackupTo + target);
    c_.rows[intRow].imgError.set_visible(true);
  } else if (stopped) {
    ShowMessage(texts_.strCanceled);
  }
  // A log that could not be written is a failure too: the user asked for it.
  const bool failed = flags_.bTargetError || anyFileError || flags_.bFileError ||
                      (log && log->failed());
  if (failed)
    c_.imgErrorTotal.set_visible(true);
  else if (!flags_.bCancel)
    c_.imgOKtotal.set_visible(true);

  flags_.bCancel = 0;
  c_.btnBackup.set_caption(kBackupCaption);
  c_.btnBackup.set_enabled(true);
  EnableInputs(true);
  if (log) {
    log->Close();
    c_.lblViewLog.set_visible(true);
    strViewLogFolder_ = folder;
  }
}

void BackupRun::CopyRow(sources::SourceRow& row, const std::wstring& target, BackupLog* log) {
  row.barCopy.set_visible(true);
  row.barCopy.set_value(0);
  row.imgWait.set_visible(true);
  row.imgOK.set_visible(false);
  row.imgError.set_visible(false);
  flags_.curCopied = 0;
  row.barCopy.set_maximum(std::max(sources::ByteCountToDouble(row.Size), 1.0));
  // A store file open in the mail client simply fails like any locked file.
  const bool isFile = row.Section == kMailStoreSection;
  flags_.bFileError = false;
  engine_.SetRow(&row.barCopy, log);
  engine_.CopySource(row.Path, target + row.chkCarpeta.caption(), true, isFile);
  row.imgWait.set_visible(false);
}

void BackupRun::EnableInputs(bool enabled) {
  c_.Frame1.set_enabled(enabled);
  c_.txtBackupTo.set_enabled(enabled);
  c_.chklog.set_enabled(enabled);
  c_.btnBackupTo.set_enabled(enabled);
}

void BackupRun::ShowMessage(const std::wstring& text) {
  c_.lblError.set_caption(text);
  c_.lblError.set_visible(true);
}

void BackupRun::RefuseTarget(const std::wstring& text) {
  ShowMessage(text);
  c_.txtBackupTo.set_back_color(kYellow);
}

void BackupRun::lblViewLog_Click() {
  platform::ShellOpen(strViewLogFolder_ + L"\\" + kLogFileName);
}

}  // namespace backup
