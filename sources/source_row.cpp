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
  row.progress_bar.Create(At(panel, kBar, top));
  row.busy_image.Create(At(panel, kStatusIcon, top), pictures.busy);
  row.ok_image.Create(At(panel, kStatusIcon, top), pictures.done);
  row.error_image.Create(At(panel, kStatusIcon, top), pictures.failed);
  row.progress_bar.set_visible(false);
  row.busy_image.set_visible(false);
  row.ok_image.set_visible(false);
  row.error_image.set_visible(false);
}

}  // namespace

SourceRow& Rows::Append() {
  rows_.push_back(std::make_unique<SourceRow>());
  return *rows_.back();
}

SourceRow& CreateFirstRow(Rows& rows, const platform::Control& panel,
                          const RowPictures& pictures) {
  SourceRow& row = rows.Append();
  row.folder_image.Create(At(panel, kIcon, 0), pictures.folder);
  row.mail_image.Create(At(panel, kIcon, 0), pictures.mail_store);
  row.mail_image.set_visible(false);
  row.check_box.Create(At(panel, kCheckBox, 0), L"");
  row.size_label.Create(At(panel, kSizeLabel, 0), L"100", platform::Label::Align::kRight);
  CreateStatus(row, panel, 0, pictures);
  return row;
}

SourceRow& AddSourceRow(Rows& rows, RowKind kind, const platform::Control& panel,
                        const RowPictures& pictures) {
  const SourceRow& above = rows[rows.count()];
  SourceRow& row = rows.Append();
  int top = above.check_box.top() + kRowPitch;
  if (kind == kMailStoreRow)
    row.mail_image.Create(At(panel, kIcon, top + kMailIconDrop), pictures.mail_store);
  else
    row.folder_image.Create(At(panel, kIcon, top), pictures.folder);
  row.check_box.Create(At(panel, kCheckBox, top), L"");
  row.size_label.Create(At(panel, kSizeLabel, above.size_label.top() + kRowPitch), L"",
                            platform::Label::Align::kRight);
  CreateStatus(row, panel, above.busy_image.top() + kRowPitch, pictures);
  row.progress_bar.set_top(above.size_label.top() + kRowPitch);
  return row;
}

}  // namespace sources
