// The About window: the product, the running and the latest published
// version, the home-page link, a status line and one button that closes,
// updates or cancels.
#pragma once

#include <string>

#include "platform/controls.h"

namespace update {

class FrmAbout : public platform::Form {
 public:
  // Creates the window as designed, owned by (and centred on) owner.
  void Create(const platform::Form& owner);
  // Sets this window's texts for the language code; strClose is the shared
  // caption of the close role.
  void CanviaIdioma(const std::wstring& lang, const std::wstring& strClose);

  std::wstring strUpdate;
  std::wstring strSearching;

  platform::Image Image1;
  platform::Label Label1, lblVersionLabel, lblVersion, lblNewVersionLabel, lblNewVersion;
  platform::Label lblURL, lblError;
  platform::ProgressBar barUpdate;
  platform::Button btnUpdate;
};

// Help > About: loads the About window afresh and shows it modally over
// owner. lang is the language code; strClose and strCancel the shared
// captions of the close and cancel roles.
void ShowAbout(platform::Form& owner, const std::wstring& lang, const std::wstring& strClose,
               const std::wstring& strCancel);

}  // namespace update
