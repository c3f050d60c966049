#pragma once

// How the window system asks for the first window's state. Everything else on the command
// line is ignored.

#include <QStringList>
#include <Qt>

// Minimised for the X toolkit's "-iconic" request, which Qt does not handle itself.
Qt::WindowStates StartupWindowState(const QStringList& arguments);
