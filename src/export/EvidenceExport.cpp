// Runs the chosen pipeline, then writes the GPX of the span and the manifest, hashing every file read-only.
#include "export/EvidenceExport.h"

#include <sys/stat.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/telemetry/TelemetryExport.h"
#include "core/common/CFormat.h"
#include "core/common/Sha256.h"
#include "core/export/ExportManifest.h"
#include "core/telemetry/TelemetryLayouts.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kShortfallMs = 250;  // beyond a few frames of difference, a span is not all there

std::string IsoUtc(std::time_t seconds) {
  std::tm tm{};
  char text[32] = "";
  if (gmtime_r(&seconds, &tm)) std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &tm);
  return text;
}

// "2026-12-06T08:15:03.250Z"
std::string IsoUtcMs(std::int64_t utcMs) {
  const std::string seconds = IsoUtc(static_cast<std::time_t>(utcMs / 1000));
  char millis[8];
  std::snprintf(millis, sizeof millis, ".%03dZ", static_cast<int>(utcMs % 1000));
  return seconds.substr(0, seconds.size() - 1) + millis;
}

std::string SecondsText(std::int64_t ms) { return FormatFixed(static_cast<double>(ms) / 1000.0, 3) + " s"; }

std::string Stem(const std::string& path) { return (fs::path(path).parent_path() / fs::path(path).stem()).string(); }

// The files the pipeline writes: one MP4, or each camera's copy in the original container.
std::vector<std::string> OutputsOf(const ExportRequest& request) {
  if (!request.copy) return {request.outPath};
  const std::string extension = fs::path(request.plan.pieces.front().path).extension().string();
  return {Stem(request.outPath) + "_front" + extension, Stem(request.outPath) + "_rear" + extension};
}

// The valid fixes of the span's pieces as one GPX track per piece.
bool WriteSpanGpx(const std::string& path, const ExportPlan& plan, const std::vector<TelemetryTrack>& tracks) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "w"), &std::fclose);
  if (!file) return false;
  {
    telemetry::GpxWriter gpx(file.get());
    for (std::size_t i = 0; i < plan.pieces.size(); ++i) {
      TelemetryTrack span = tracks[i];
      std::erase_if(span.gps, [&](const GpsSample& fix) {
        return fix.mediaMs < plan.pieces[i].fromMs || fix.mediaMs > plan.pieces[i].toMs;
      });
      gpx.Track(fs::path(plan.pieces[i].path).filename().string(), span);
    }
  }
  return std::fflush(file.get()) == 0 && !std::ferror(file.get());
}

// A file of the manifest with its size and SHA-256; nothing when it cannot be read.
std::optional<ManifestFile> Described(ManifestFile::Role role, const std::string& path, const std::string& named) {
  struct stat info{};
  const std::optional<std::string> sha = FileSha256(path);
  if (!sha || ::stat(path.c_str(), &info) != 0) return std::nullopt;
  ManifestFile file;
  file.role = role;
  file.path = named;
  file.sizeBytes = static_cast<std::uint64_t>(info.st_size);
  file.sha256 = *sha;
  if (role == ManifestFile::Role::Original) file.modified = IsoUtc(info.st_mtim.tv_sec);
  return file;
}

std::string Relative(const std::string& path, const std::string& root) {
  const fs::path relative = fs::path(path).lexically_relative(root);
  return relative.empty() || *relative.begin() == ".." ? path : relative.string();
}

// The notes on what the export lacks: the requester's choices and what the recordings do not hold.
std::vector<std::string> Notes(const ExportRequest& request, const PipelineJob& job,
                               const std::vector<TelemetryTrack>& tracks) {
  std::vector<std::string> notes;
  if (!job.streams.Find("audio_0")) notes.push_back("the recording has no sound");
  else if (!request.sound) notes.push_back("sound left out");
  if (!job.streams.Find("video_1")) notes.push_back("the recording has no rear picture");
  else if (request.rear == RearLayout::None && !request.copy) notes.push_back("rear picture left out");
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    const std::string name = fs::path(request.plan.pieces[i].path).filename().string();
    if (tracks[i].layout.empty()) notes.push_back(name + " has no telemetry: no time of fix, speed or place from it");
    if (!tracks[i].warning.empty()) notes.push_back(name + ": " + tracks[i].warning);
  }
  for (std::size_t i = 0; i + 1 < request.plan.pieces.size(); ++i) {
    const ExportPiece& a = request.plan.pieces[i];
    const ExportPiece& b = request.plan.pieces[i + 1];
    const std::int64_t gap = b.recordingStartUtcMs - (a.recordingStartUtcMs + a.toMs);
    if (gap > 0) notes.push_back("the " + SecondsText(gap) + " between " + fs::path(a.path).filename().string() +
                                 " and the next recording are not on the card and are left out");
  }
  return notes;
}

}  // namespace

std::string ManifestPathOf(const std::string& outPath) { return Stem(outPath) + ".manifest.txt"; }

ExportReport ExportEvidence(const ExportRequest& request, const ExportProgress& progress,
                            const std::atomic<bool>* cancel) {
  ExportReport report;
  if (!request.plan.problem.empty() || request.plan.pieces.empty()) {
    report.error = request.plan.problem.empty() ? "nothing to export" : request.plan.problem;
    return report;
  }
  PipelineJob job{&request.plan, {}, {}, request.rear, request.sound, progress, cancel};
  const std::optional<RecordingStreams> streams = ProbeRecording(request.plan.pieces.front().path, report.error);
  if (!streams) {
    report.error = request.plan.pieces.front().path + ": " + report.error;
    return report;
  }
  job.streams = *streams;
  std::vector<TelemetryTrack> tracks;
  for (const ExportPiece& piece : request.plan.pieces) tracks.push_back(ReadRecordingTelemetry(piece.path));
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    const ExportPiece& piece = request.plan.pieces[i];
    job.overlays.push_back({fs::path(piece.path).filename().string(), piece.recordingStartUtcMs, request.zoneMinutes,
                            request.unit, &tracks[i]});
  }
  const std::vector<std::string> outputs = OutputsOf(request);
  const PipelineOutcome outcome = request.copy ? RunCopy(job, outputs) : RunReencode(job, outputs.front());
  if (!outcome.ok) {
    report.cancelled = outcome.cancelled;
    report.error = outcome.error;
    return report;
  }
  ExportManifest manifest{request.viewer, IsoUtc(std::time(nullptr)), request.cardRoot, {}, Notes(request, job, tracks), {}};
  // A damaged or cut recording can end before its header says: the export then says how much it holds.
  const std::int64_t askedMs = request.plan.DurationMs() + outcome.widenedEarlierMs;
  if (outcome.writtenMs + kShortfallMs < askedMs) {
    manifest.notes.push_back("the export holds only " + SecondsText(outcome.writtenMs) + " of the " +
                             SecondsText(askedMs) + " asked: the recording's pictures end early (damaged or cut)");
  }
  ExportSpan written = request.span;
  written.fromUtcMs -= outcome.widenedEarlierMs;
  manifest.span = IsoUtcMs(request.span.fromUtcMs) + " to " + IsoUtcMs(request.span.toUtcMs) + ", " +
                  SecondsText(request.plan.DurationMs()) + "; " + WideningText(request.span, written);
  for (const ExportPiece& piece : request.plan.pieces) {
    std::optional<ManifestFile> original =
        Described(ManifestFile::Role::Original, piece.path, Relative(piece.path, request.cardRoot));
    if (!original) {
      report.error = piece.path + " was removed or became unreadable during the export; nothing is kept";
      break;
    }
    original->span = SecondsText(piece.fromMs - (&piece == &request.plan.pieces.front() ? outcome.widenedEarlierMs : 0)) +
                     " to " + SecondsText(piece.toMs);
    manifest.files.push_back(*original);
  }
  const std::string gpx = Stem(request.outPath) + ".gpx";
  std::vector<std::string> exported;
  for (const std::string& out : outputs) {
    if (fs::exists(out)) exported.push_back(out);
  }
  if (report.error.empty() && !WriteSpanGpx(gpx, request.plan, tracks)) report.error = "cannot write " + gpx;
  for (std::size_t i = 0; report.error.empty() && i <= exported.size(); ++i) {
    const bool isGpx = i == exported.size();
    const std::string& path = isGpx ? gpx : exported[i];
    const auto file = Described(isGpx ? ManifestFile::Role::Gpx : ManifestFile::Role::Export, path,
                                fs::path(path).filename().string());
    if (file) manifest.files.push_back(*file);
    else report.error = "cannot read back " + path;
  }
  const std::string manifestPath = ManifestPathOf(request.outPath);
  if (report.error.empty()) {
    std::ofstream out(manifestPath, std::ios::binary | std::ios::trunc);
    out << WriteManifest(manifest);
    if (!out.flush()) report.error = "cannot write " + manifestPath;
  }
  if (!report.error.empty()) {
    for (const std::string& path : exported) fs::remove(path);
    fs::remove(gpx);
    fs::remove(manifestPath);
    return report;
  }
  report.ok = true;
  report.notes = manifest.notes;
  report.widening = WideningText(request.span, written);
  report.written = exported;
  report.written.insert(report.written.end(), {gpx, manifestPath});
  return report;
}

}  // namespace vx
