// The elements that stand in for the graph's filters, made under their names.
#pragma once

#include <gst/gst.h>

#include <string>

#include "core/engine/GraphLayout.h"
#include "engine/GstPtr.h"

namespace vx {

// Makes the element of `role` (renderers excepted: CVideoRenderer makes those) named `name`.
// `caps` are the caps of the source pad it will read (they choose the video decoder); `pcm` says that
// the sound is uncompressed. Null when the element cannot be made (decoder missing, unknown format).
GstPtr<GstElement> MakeBranchElement(GraphRole role, const std::string& name, GstCaps* caps, bool pcm);

// Name of the volume element inside the sound renderer: the player's own level, never the system mixer's.
inline constexpr const char* kSoundLevelName = "level";

// True when GStreamer's registry knows the element factory.
bool HasElementFactory(const std::string& factory);

}  // namespace vx
