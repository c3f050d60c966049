// A downloaded screenshot picture, hostile: decoded by the picture control and painted.

#include "ui/CFileObjLooker.h"

#include <QApplication>
#include <QPixmap>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace {

CFileObjLooker* looker = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // No display: the control paints into a pixmap. libFuzzer's own arguments stay away from Qt.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "LoadPictureFuzz";
  static char* argv[] = {name, nullptr};
  static QApplication application(argc, argv);
  static CFileObjLooker control;
  control.resize(64, 48);
  looker = &control;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > static_cast<std::size_t>(std::numeric_limits<int>::max())) return 0;
  const bool decoded = looker->LoadPicture(data, static_cast<int>(size));
  const bool deferred = looker->Decoding();
  // A large picture decodes on a worker; its outcome arrives as an event.
  while (looker->Decoding()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  if (!decoded && looker->State() != PictureState::Failed) std::abort();
  if (decoded && !deferred && looker->State() != PictureState::Loaded) std::abort();
  looker->grab();  // runs paintEvent, stretching the picture over the control
  return 0;
}
