#pragma once

// The program from its window to its exit code, inside an existing QApplication.

#include <Qt>

// Builds the main dialog, shows it in `show` state and runs the event loop until the dialog is
// closed. Returns 2 after Cancel, or 0 when the dialog could not be built.
int Run(Qt::WindowStates show);
