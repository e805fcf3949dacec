// Row controls: row 1 as designed, and each further row below the previous.
#include "sources/source_row.h"

#include "sources/list_geometry.h"

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

const wchar_t* SettingsSection(RowKind kind) {
  return kind == kMailStoreRow ? L"PST" : L"systemfolders";
}

SourceRow& Rows::Append() {
  rows_.push_back(std::make_unique<SourceRow>());
  return *rows_.back();
}

SourceRow& AddSourceRow(Rows& rows, RowKind kind, const platform::Control& panel,
                        const RowPictures& pictures) {
  // Each control goes one pitch below its like in the row above.
  const SourceRow* above = rows.empty() ? nullptr : &rows.back();
  const int top = above ? above->check_box.top() + kRowPitch : 0;
  const int size_top = above ? above->size_label.top() + kRowPitch : 0;
  const int status_top = above ? above->busy_image.top() + kRowPitch : 0;
  SourceRow& row = rows.Append();
  row.kind = kind;
  if (!above || kind == kFolderRow)
    row.folder_image.Create(At(panel, kIcon, top), pictures.folder);
  if (!above || kind == kMailStoreRow)
    row.mail_image.Create(At(panel, kIcon, above ? top + kMailIconDrop : top), pictures.mail_store);
  if (!above) row.mail_image.set_visible(false);
  row.check_box.Create(At(panel, kCheckBox, top), L"");
  row.size_label.Create(At(panel, kSizeLabel, size_top), above ? L"" : L"100",
                        platform::Label::Align::kRight);
  CreateStatus(row, panel, status_top, pictures);
  row.progress_bar.set_top(size_top);
  // A reader hears the row's name with its bar, and its size with its box.
  row.progress_bar.set_accessible_name_from(row.check_box);
  row.check_box.set_accessible_description_from(row.size_label);
  return row;
}

}  // namespace sources
