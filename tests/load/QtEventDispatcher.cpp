// The load tests run on Qt's own event dispatcher rather than glib's. The thread sanitizer sees
// glib's wake-ups, which often order a worker's notice before the dialog reads it by chance and
// so would hide a hand-over that does not order it itself; Qt's own wake-ups it cannot see.
// Set before main, so before the test program makes its application.

#include <QByteArray>
#include <QtGlobal>

namespace {

const bool kQtEventDispatcher = qputenv("QT_NO_GLIB", "1");

}  // namespace
