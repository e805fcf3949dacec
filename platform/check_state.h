// The three states of a check box, as the settings file stores them (0, 1, 2).
#pragma once

namespace platform {

enum class CheckState { kUnchecked = 0, kChecked = 1, kIndeterminate = 2 };

}  // namespace platform
