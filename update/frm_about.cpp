// The About window's design and its language texts.
#include "update/frm_about.h"

#include "app/res/resource.h"
#include "app/texts.h"
#include "version.h"

namespace update {

using platform::Font;
using platform::Layout;

void FrmAbout::Create(const platform::Form& owner) {
  CreateForm({L"About", 6030, 4500, Border::kFixedSingle, true, Font{L"Tahoma", 8.25}}, &owner);
  const Font body{L"Tahoma", 9.75};
  const Font bold{L"Tahoma", 9.75, true};
  btnUpdate.Create(Layout{this, {1320, 3720, 3375, 495}, Font{L"MS Sans Serif", 9.75}}, L"Close");
  Image1.Create(Layout{this, {480, 480, 1920, 1920}, font()}, IDR_LOGO);
  Label1.Create(Layout{this, {3000, 480, 2895, 375}, Font{L"Tahoma", 15.75, true}}, L"Tavrik Backup");
  lblVersionLabel.Create(Layout{this, {3000, 1080, 1695, 255}, body}, L"Current version:");
  lblVersion.Create(Layout{this, {4920, 1080, 735, 255}, bold}, L"");
  lblNewVersionLabel.Create(Layout{this, {3000, 1440, 1695, 255}, body}, L"Latest version:");
  lblNewVersion.Create(Layout{this, {4920, 1440, 735, 255}, bold}, L"");
  lblURL.Create(Layout{this, {3000, 1920, 1935, 375}, Font{L"Tahoma", 12, false, true}},
                TAVRIK_HOME_PAGE, platform::Label::Align::kLeft, true);
  lblURL.set_fore_color(platform::ActiveCaptionColor());
  lblURL.hand_cursor = true;
  lblError.Create(Layout{this, {240, 2760, 4215, 255}, font()}, L"");
  lblError.set_fore_color(platform::Rgb(192, 0, 0));
  barUpdate.Create(Layout{this, {240, 3120, 5535, 495}, font()});
  barUpdate.set_visible(false);
  CenterOnOwner();
}

void FrmAbout::CanviaIdioma(const std::wstring& lang, const std::wstring& strClose) {
  app::AboutTexts texts = app::AboutTextsFor(lang);
  strUpdate = texts.strUpdate;
  strSearching = texts.strSearching;
  set_caption(texts.caption);
  lblVersionLabel.set_caption(texts.lblVersionLabel);
  lblNewVersionLabel.set_caption(texts.lblNewVersionLabel);
  btnUpdate.set_caption(strClose);
}

void ShowAbout(platform::Form& owner, const std::wstring& lang, const std::wstring& strClose,
               const std::wstring& strCancel) {
  FrmAbout about;
  about.Create(owner);
  about.CanviaIdioma(lang, strClose);
  about.ShowModal(owner);
}

}  // namespace update
