// One backup source of the main window's list: what it is (kind, path,
// settings key, size) and the controls of its row.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/check_box.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/progress_bar.h"
#include "sources/size_text.h"

namespace sources {

enum RowKind { kFolderRow = 1, kMailStoreRow = 2 };

// The settings file's section that keeps the ticked rows of kind:
// "systemfolders" or "PST".
const wchar_t* SettingsSection(RowKind kind);

// Row geometry in twips; every row shares the horizontal places of row 1.
constexpr int kMailIconDrop = 20;

struct SourceRow {
  std::wstring path;
  RowKind kind = kFolderRow;
  std::wstring key;  // settings key: CSIDL number, or the store's StoreID
  TenThousandthBytes size = 0;

  // Only one kind icon exists for rows 2 and on; row 1 has both.
  platform::Image folder_image;
  platform::Image mail_image;
  platform::CheckBox check_box;  // its caption is the source's name
  platform::Label size_label;
  platform::ProgressBar progress_bar;
  platform::Image busy_image;
  platform::Image ok_image;
  platform::Image error_image;
};

// The rows in the list's order; Rows owns them for the life of the window
// (a row stays where it is while others are added). rows[1] is the first,
// as the window numbers them.
class Rows {
  using Owned = std::vector<std::unique_ptr<SourceRow>>;

 public:
  // Walks the rows themselves, not their owners.
  template <class Row, class Base>
  class Iterator {
   public:
    explicit Iterator(Base at) : at_(at) {}
    Row& operator*() const { return **at_; }
    Iterator& operator++() { ++at_; return *this; }
    bool operator!=(const Iterator& other) const { return at_ != other.at_; }

   private:
    Base at_;
  };
  using iterator = Iterator<SourceRow, Owned::iterator>;
  using const_iterator = Iterator<const SourceRow, Owned::const_iterator>;
  iterator begin() { return iterator(rows_.begin()); }
  iterator end() { return iterator(rows_.end()); }
  const_iterator begin() const { return const_iterator(rows_.begin()); }
  const_iterator end() const { return const_iterator(rows_.end()); }

  SourceRow& operator[](int i) { return *rows_.at(i - 1); }
  const SourceRow& operator[](int i) const { return *rows_.at(i - 1); }
  int count() const { return static_cast<int>(rows_.size()); }
  bool empty() const { return rows_.empty(); }
  SourceRow& front() { return *rows_.front(); }
  SourceRow& back() { return *rows_.back(); }
  SourceRow& Append();

 private:
  Owned rows_;
};

// The picture resources of a row's icons.
struct RowPictures {
  int folder, mail_store, busy, done, failed;
};

// Creates the controls of the next row on panel, below the last one: the
// kind icon, check box and size label visible, the status icons and
// progress bar hidden. Row 1 is the window's design: it holds both kind
// icons, the folder's shown, so that a mail store can take it when no
// folder does.
SourceRow& AddSourceRow(Rows& rows, RowKind kind, const platform::Control& panel,
                        const RowPictures& pictures);

}  // namespace sources
