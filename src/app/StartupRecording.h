// The recording a command line names by itself, started before Qt so that it opens while the window is made.
#pragma once

#include <memory>

#include "engine/CStartupRecording.h"

namespace vx {

// The row a single recording file on the command line stands for, building on its own thread; null when the
// command line names anything else (a folder, several paths, none, or a bad option): the window then opens
// what it lists as usual.
std::shared_ptr<CStartupRecording> StartRecordingNamedAlone(int argc, char** argv);

}  // namespace vx
