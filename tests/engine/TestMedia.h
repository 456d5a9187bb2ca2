// Recordings for the engine tests, written into the build tree when first asked for.
#pragma once

#include <string>
#include <utility>

namespace vx::test {

// Runs `vx880-mkcard --file <dir>/<name> <options>` once per name and returns the file's path.
std::string CardFile(const std::string& name, const std::string& options);
// Runs `vx880-mkcard <options> <dir>/<name>` once per name and returns the card's folder.
std::string CardFolder(const std::string& name, const std::string& options);
// Runs `streams` (gst-launch pipeline text feeding `<muxer> name=mux`) into <dir>/<name> once per name and
// returns the file's path: for recordings the card maker does not write.
std::string MuxedFile(const std::string& name, const std::string& streams, const std::string& muxer = "mp4mux");
// A one-video H.264 file of `seconds` at 320x240 showing videotestsrc's `pattern` (e.g. "blue"), muxed by
// `muxer`: the rear file of a front/rear pair, or a recording in another container.
std::string PatternFile(const std::string& name, const std::string& pattern, int seconds,
                        const std::string& muxer = "mp4mux");
// A front and rear pair written as two files of one moment, named "<stem>F.MP4" and "<stem>R.MP4" (stem
// e.g. "20261206_082000_N"): the front a card-maker recording of one video stream and `seconds`, the rear a
// blue 320x240 picture of `rearSeconds`. Returns {front, rear}.
std::pair<std::string, std::string> FrontRearPair(const std::string& stem, int seconds, int rearSeconds);
// A folder in the build tree for files the tests write themselves.
std::string MediaDir();

}  // namespace vx::test
