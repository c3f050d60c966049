#pragma once

// The program from its window to its exit code, inside an existing QApplication.

#include <QStringList>
#include <Qt>

// How the window system asks for the first window's state: minimised for the X toolkit's
// "-iconic" request, which Qt does not handle itself. Everything else on the command line is
// ignored.
Qt::WindowStates StartupWindowState(const QStringList& arguments);

// Builds the main dialog, shows it in `show` state and runs the event loop until the dialog is
// closed. Returns 2 after Cancel, or 0 when the dialog could not be built.
int Run(Qt::WindowStates show);
