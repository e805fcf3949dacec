// The About window's texts, which the program gives in the user's language.
#pragma once

#include <string>

namespace update {

struct AboutTexts {
  std::wstring title, current_version_label, latest_version_label;
  // The button's text in each of its roles.
  std::wstring close, update, cancel;
  // The latest version while the check runs, and the status line when no
  // latest version could be fetched.
  std::wstring searching, no_version;
  // The latest version when none could be fetched.
  std::wstring no_latest_version;
  // The status line during an update, after its cancel and after its failure.
  std::wstring updating, update_cancelled, error_updating;
  // The status line when a proxy server wants a name and password the
  // program cannot give.
  std::wstring proxy_password;
  // What a screen reader is told following the home-page link does.
  std::wstring open_link;
};

}  // namespace update
