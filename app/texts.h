// Every text the program shows, in Spanish and English, and the rule that
// picks the language from the user's locale.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace app {

// lang is the locale's abbreviated language name (ESP, ENU, ...). Spanish
// when its first two characters are "ES", letter case counting; English
// otherwise.
bool IsSpanish(std::wstring_view lang);

// strClose and strCancel are also the captions by which the About button
// and "Backup!" tell their roles, so they must match exactly.
struct MainTexts {
  std::wstring strClose, strCancel, strNotFound, strEnterTarget, strInvalidTarget,
      strOutlookClosed, strOutlookOpen, strSameFolder, strCannotBackupTo, strErrorWriting,
      strCanceled, strLogFolder, strLogCopied, strLogNotCopied, strLogUserCancelled,
      strLogSource, strSelectTarget, strPleaseWait, strLogLinkSkipped, strSettingsNotSaved;
};

MainTexts MainTextsFor(std::wstring_view lang);

// Main-window controls whose caption depends on the language. The English
// captions are the window's own; only Spanish replaces them.
enum class MainCaption {
  lblUserLbl, lblOSlbl, lblOutlookLbl, lblOutlookStatusLbl, FrameBack, lblTotalText,
  lblBackupTo, Frame2, Label1, Label2, chklog, lblViewLog, mnuFile, mnuExit, mnuHelp,
  mnuAbout
};

struct CaptionText {
  MainCaption control;
  const wchar_t* spanish;
  const wchar_t* english;
};

// In the order the captions are set.
const std::array<CaptionText, 16>& MainCaptions();

// The About window's texts; its button starts with MainTexts::strClose.
// strNoVersion is the status line when no latest version could be fetched.
struct AboutTexts {
  std::wstring strUpdate, strSearching, caption, lblVersionLabel, lblNewVersionLabel,
      strNoVersion;
};

AboutTexts AboutTextsFor(std::wstring_view lang);

// The splash window's line under the title.
std::wstring SplashLoadingText(std::wstring_view lang);

}  // namespace app
