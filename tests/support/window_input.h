// Input the tests hand to real windows as the system would deliver it.
#pragma once

#include "platform/controls.h"

namespace testing_support {

// Turns the mouse wheel over control by `notches` notches; negative notches
// turn it towards the user. Goes to the control's own window procedure.
void TurnWheel(const platform::Control& control, int notches);

// A click on a button or check box, as the mouse gives it.
void Click(const platform::Control& control);

// What the system tells a window when the mouse moves over it.
void MoveMouseOver(const platform::Control& control);

// Takes away the quit message the last window's end leaves behind, so that
// the next test's windows repaint and yield as in a fresh program.
void ForgetQuit();

}  // namespace testing_support
