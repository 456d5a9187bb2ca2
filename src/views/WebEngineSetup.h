// Process settings the web view of the map needs before the QApplication is made.
#pragma once

namespace vx {

// Call first in main(): shares OpenGL contexts as Qt WebEngine requires, and, only when the process runs as
// root, turns Chromium's sandbox off (it refuses to start as root with it).
void PrepareWebEngine();

}  // namespace vx
