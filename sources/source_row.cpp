// Row controls: row 1 as designed, and each further row below the previous.
#include "sources/source_row.h"


namespace sources {
namespace {

using platform::Font;
using platform::Layout;
using platform::Rect;

const Font kRowFont{L"Tahoma", 9.75};
const Rect kIcon{0, 0, 240, 240};
const Rect kCheckBox{360, 0, 4335, 255};
const Rect kSizeLabel{4680, 0, 735, 255};
const Rect kStatusIcon{5640, 0, 240, 240};
const Rect kBar{6000, 0, 2955, 255};

Layout At(const platform::Control& panel, Rect rect, int top) {
  rect.top = top;
  return Layout{&panel, rect, kRowFont};
}

void CreateStatus(SourceRow& row, const platform::Control& panel, int top,
                  const RowPictures& pictures) {
  row.barCopy.Create(At(panel, kBar, top));
  row.imgWait.Create(At(panel, kStatusIcon, top), pictures.busy);
  row.imgOK.Create(At(panel, kStatusIcon, top), pictures.done);
  row.imgError.Create(At(panel, kStatusIcon, top), pictures.failed);
  row.barCopy.set_visible(false);
  row.imgWait.set_visible(false);
  row.imgOK.set_visible(false);
  row.imgError.set_visible(false);
}

}  // namespace

SourceRow& Rows::Append() {
  rows_.push_back(std::make_unique<SourceRow>());
  return *rows_.back();
}

SourceRow& CreateFirstRow(Rows& rows, const platform::Control& panel,
                          const RowPictures& pictures) {
  SourceRow& row = rows.Append();
  row.imgFolder.Create(At(panel, kIcon, 0), pictures.folder);
  row.imgEmail.Create(At(panel, kIcon, 0), pictures.mail_store);
  row.imgEmail.set_visible(false);
  row.chkCarpeta.Create(At(panel, kCheckBox, 0), L"");
  row.lblMidaCarpeta.Create(At(panel, kSizeLabel, 0), L"100", platform::Label::Align::kRight);
  CreateStatus(row, panel, 0, pictures);
  return row;
}

SourceRow& AddSourceRow(Rows& rows, RowKind kind, const platform::Control& panel,
                        const RowPictures& pictures) {
  const SourceRow& above = rows[rows.count()];
  SourceRow& row = rows.Append();
  int top = above.chkCarpeta.top() + kRowPitch;
  if (kind == kMailStoreRow)
    row.imgEmail.Create(At(panel, kIcon, top + kMailIconDrop), pictures.mail_store);
  else
    row.imgFolder.Create(At(panel, kIcon, top), pictures.folder);
  row.chkCarpeta.Create(At(panel, kCheckBox, top), L"");
  row.lblMidaCarpeta.Create(At(panel, kSizeLabel, above.lblMidaCarpeta.top() + kRowPitch), L"",
                            platform::Label::Align::kRight);
  CreateStatus(row, panel, above.imgWait.top() + kRowPitch, pictures);
  row.barCopy.set_top(above.lblMidaCarpeta.top() + kRowPitch);
  return row;
}

}  // namespace sources
