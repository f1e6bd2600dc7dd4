#include "window_icon.h"

#include <QString>

// The resources live in the static window library; naming them here keeps
// the linker from dropping them from a program that uses the icon.
static void RegisterIconResources() { Q_INIT_RESOURCE(icons); }

namespace windowicon {

QIcon CastIcon() {
  RegisterIconResources();
  QIcon icon;
  for (int size : {16, 32, 48, 64, 256}) {
    icon.addFile(QStringLiteral(":/icons/cast-%1.png").arg(size), QSize(size, size));
  }
  return icon;
}

}  // namespace windowicon
