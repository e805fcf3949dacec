// The About window's texts, which the program gives in the user's language.
#pragma once

#include <string>

namespace update {

struct AboutTexts {
  std::wstring caption, current_version_label, latest_version_label;
  // The button's caption in each of its roles.
  std::wstring close, update, cancel;
  // The latest version while the check runs, and the status line when no
  // latest version could be fetched.
  std::wstring searching, no_version;
};

}  // namespace update
