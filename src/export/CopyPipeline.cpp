// The original-quality export: each camera's stream copied into its own file of the original container.
//
//   source ─video_0─ queue ─ parse ─[gate]─ mux (mp4mux | avimux) ─ filesink (out_front.MP4.part)
//          └audio_0─ queue ─ parse ─[gate]─┘
//          └video_1─ queue ─ parse ─[gate]─ mux ─ filesink (out_rear.MP4.part)
//
// The seek snaps the start to the key frame before it, so that the first frame of each file decodes.
#include "export/ExportPipelines.h"
#include "export/ExportRun.h"

namespace vx {
namespace {

// queue ─ parse ─ mux for one stream of the source; false when an element is missing or does not link.
bool AddCopyBranch(CExportRun& run, GstElement* source, const ExportStream& stream, GstElement* mux,
                   bool measure) {
  GstElement* queue = AddElement(run.Bin(), "queue");
  GstElement* parse = AddElement(run.Bin(), ParserFor(stream.caps));
  if (!LinkChain({queue, parse, mux})) return false;
  run.Route(source, stream.padName, queue);
  const GstPtr<GstPad> toMux = Adopt(gst_element_get_static_pad(parse, "src"));
  run.Gate(toMux.get(), measure);
  return true;
}

// mux ─ filesink for output `index`.
GstElement* AddOutput(CExportRun& run, const PipelineJob& job, const std::string& path, int index) {
  GstElement* mux = AddElement(run.Bin(), job.streams.avi ? "avimux" : "mp4mux");
  const std::string name = "out" + std::to_string(index);
  GstElement* sink = AddElement(run.Bin(), "filesink", name.c_str());
  g_object_set(sink, "location", PartPath(path).c_str(), "async", FALSE, nullptr);
  return LinkChain({mux, sink}) ? mux : nullptr;
}

}  // namespace

PipelineOutcome RunCopy(const PipelineJob& job, const std::vector<std::string>& outPaths) {
  const ExportStream* rear = job.streams.Find("video_1");
  const std::vector<std::string> outputs(outPaths.begin(), outPaths.begin() + (rear ? 2 : 1));
  CExportRun run(Retain(gst_pipeline_new("vx880-export-copy")), job, outputs);
  std::vector<std::string> files;
  for (const ExportPiece& piece : job.plan->pieces) files.push_back(piece.path);
  std::string error;
  GstElement* source = AddPieceSource(run.Bin(), files, job.streams.avi, error);
  if (!source) return {false, false, error};
  GstElement* frontMux = AddOutput(run, job, outputs[0], 0);
  const ExportStream* sound = job.sound ? job.streams.Find("audio_0") : nullptr;
  bool built = frontMux && AddCopyBranch(run, source, *job.streams.Find("video_0"), frontMux, true) &&
               (!sound || AddCopyBranch(run, source, *sound, frontMux, false));
  if (built && rear) {
    GstElement* rearMux = AddOutput(run, job, outputs[1], 1);
    built = rearMux && AddCopyBranch(run, source, *rear, rearMux, false);
  }
  if (!built) return {false, false, "a GStreamer element the copy needs is missing"};
  return run.Run(static_cast<GstSeekFlags>(GST_SEEK_FLAG_KEY_UNIT | GST_SEEK_FLAG_SNAP_BEFORE));
}

}  // namespace vx
