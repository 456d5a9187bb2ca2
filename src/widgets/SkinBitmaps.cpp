// Skin pictures by resource ID, from the pictures drawn at build time and packed into the program.
#include "widgets/SkinBitmaps.h"

#include <QFile>

// The packed pictures live in a static library; registering them here also makes the linker keep them.
// Outside any namespace: the registration names a function of the global namespace.
static void RegisterSkinResources() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(skin);
    return true;
  }();
  (void)registered;
}

namespace vx {

QImage LoadSkinImage(int id) {
  RegisterSkinResources();
  const QString path = QStringLiteral(":/skin/%1.png").arg(id);
  if (id <= 0 || !QFile::exists(path)) return {};
  return QImage(path);
}

}  // namespace vx
