// Process settings for Qt WebEngine.
#include "views/WebEngineSetup.h"

#include <unistd.h>

#include <QCoreApplication>

#include <cstdlib>

namespace vx {

void PrepareWebEngine() {
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  if (::geteuid() == 0) ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
}

}  // namespace vx
