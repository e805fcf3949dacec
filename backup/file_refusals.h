// How a file operation that another program or the system refused is tried
// again: a file held for a moment (a virus scanner, the indexer, a
// thumbnailer) is waited out for a while; access denied, which mostly
// lasts (a file this user may not read), is tried once more shortly after.
#pragma once

#include <chrono>
#include <functional>

#include "platform/file_copy.h"

namespace backup {

// The pause before the one more try after access denied.
constexpr std::chrono::milliseconds kDeniedPause{100};

// Calls attempt until it is not refused, or until the pauses after sharing
// and lock violations come to held_patience. pause waits the time it is
// given and returns false when the wait was cut short (a cancel), which
// ends the tries. Returns the last attempt's result.
platform::FileResult RetryingRefusals(const std::function<platform::FileResult()>& attempt,
                                      std::chrono::milliseconds held_patience,
                                      const std::function<bool(std::chrono::milliseconds)>& pause);

}  // namespace backup
