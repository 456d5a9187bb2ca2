// A trip of the list's trips view played as one drive: its recordings one after another without a gap, the
// next one prepared while the open one plays, the slider, the labels, the map and the graph on the trip's time.
#include <QFile>
#include <QMetaObject>

#include <algorithm>
#include <cstdint>

#include "core/telemetry/TelemetryLayouts.h"
#include "player/CQuelmarDlg.h"
#include "player/CRecordingCatalogue.h"
#include "widgets/CTkSlider.h"

namespace vx {

std::optional<std::size_t> CQuelmarDlg::TripFile() const {
  return m_trip ? std::optional(m_trip->file) : std::nullopt;
}

// Recordings that cannot be read take no part; one the list does not show is listed first.
void CQuelmarDlg::PlayTrip(const std::vector<TripRecordingRow>& recordings) {
  TripPlayback trip;
  std::vector<std::int64_t> durations;
  for (const TripRecordingRow& recording : recordings) {
    if (!recording.problem.empty()) continue;
    int row = m_pCatalogue->RowOfFile(recording.path);
    if (row < 0) {
      m_pCatalogue->AddPaths({QFile::decodeName(QByteArray::fromStdString(recording.path))});
      row = m_pCatalogue->RowOfFile(recording.path);
    }
    if (row < 0) continue;
    trip.entries.push_back(m_pCatalogue->EntryAt(row));
    durations.push_back(recording.durationMs);
  }
  if (trip.entries.empty()) return;
  trip.timeline = TripTimeline(std::move(durations));
  for (const RecordingEntry& entry : trip.entries) {
    TelemetryTrack track = ReadRecordingTelemetry(entry.filePath);
    if (!track.warning.empty()) qWarning("vx880: %s: %s", entry.filePath.c_str(), track.warning.c_str());
    trip.tracks.push_back(track.layout.empty() ? AttachedGpx(entry.filePath) : std::move(track));
  }
  EndTrip();
  ClearSpan();  // marks belong to the time line they were set on
  m_trip = std::move(trip);
  if (!OpenTripFile(0, 0)) return;
  ShowTripTelemetry();
  StartPlaying();
  PrepareTripNext();
}

// The list's row of the recording becomes the playing one. The recording's own length, which can differ
// from the card index's by some milliseconds, moves the ones after it on the time line.
bool CQuelmarDlg::OpenTripFile(std::size_t file, std::int64_t fileMs) {
  const RecordingEntry entry = m_trip->entries[file];  // a copy: the list may sort its rows meanwhile
  const int row = m_pCatalogue->RowOfFile(entry.filePath);
  const int streamsBefore = LoadedVideoStreams();
  if (m_pCatalogue->OpenOnly(row, [this](const RecordingEntry& opened) { return OpenRecordingFile(opened); }) < 0) {
    StopPlayback();
    StandOnUnplayable(row);
    return false;
  }
  m_trip->file = file;
  TakeMeasuredLength(streamsBefore);
  if (fileMs > 0) m_engine.SeekMs(static_cast<std::int32_t>(fileMs));
  return true;
}

void CQuelmarDlg::TakeMeasuredLength(int streamsBefore) {
  const std::int64_t durationMs = m_engine.GetDurationMs();
  if (durationMs > 0 && durationMs != m_trip->timeline.DurationMs(m_trip->file)) {
    m_trip->timeline.SetDurationMs(m_trip->file, durationMs);
    ShowTripTelemetry();
    m_pPositionSlider->SetRange(0, static_cast<int>(std::min<std::int64_t>(TimelineDurationMs(), INT32_MAX)));
  } else if (LoadedVideoStreams() != streamsBefore) {
    m_slots = SlotsForOpenedRecording(HasGps() ? m_slots : SlotsWithoutMap(m_slots), LoadedVideoStreams());
    ArrangeViews();
  }
}

void CQuelmarDlg::PrepareTripNext() {
  const std::size_t next = m_trip ? m_trip->file + 1 : 0;
  if (!m_trip || next >= m_trip->entries.size()) {
    m_engine.DropPrepared();
    return;
  }
  m_engine.PrepareNext(m_trip->entries[next].filePath, m_trip->entries[next].partnerFilePath);
}

// The next recording already plays; what is left is the window's side of the change.
void CQuelmarDlg::TakeHandOver() {
  const int streamsBefore = LoadedVideoStreams();
  if (!m_engine.CompleteHandOver()) return;
  m_trip->file += 1;
  const int row = m_pCatalogue->RowOfFile(m_trip->entries[m_trip->file].filePath);
  m_pCatalogue->OpenOnly(row, [](const RecordingEntry&) { return true; });
  TakeMeasuredLength(streamsBefore);
  PrepareTripNext();
}

// A moment in the open recording is a seek in it; one in another recording opens that one there (the
// prepared one when it is that) and plays on if the trip was playing.
void CQuelmarDlg::SeekTrip(std::int64_t tripMs) {
  const TripMoment moment = m_trip->timeline.Locate(tripMs);
  if (moment.file == m_trip->file && IsLoaded()) {
    m_engine.SeekMs(static_cast<std::int32_t>(moment.fileMs));
    return;
  }
  const bool playing = State() == EngineState::Running;
  if (!OpenTripFile(moment.file, moment.fileMs)) return;
  if (playing) {
    StartPlaying();
  } else {
    m_engine.Recording()->Pause();
  }
  PrepareTripNext();
}

// Next and previous open the trip's next or previous recording from its start and play it, as they play the
// list's rows. Past the trip's last recording next ends as after the list's last row; before its first,
// previous does nothing, as on the list's first row.
void CQuelmarDlg::StepTrip(bool forward) {
  const std::optional<std::size_t> file = m_trip->timeline.StepFile(m_trip->file, forward);
  if (!file) {
    if (forward) PlayRow(m_pCatalogue->RowCount());
    return;
  }
  if (!OpenTripFile(*file, 0)) return;
  StartPlaying();
  PrepareTripNext();
  UpdateTimeline();
}

void CQuelmarDlg::ShowTripTelemetry() { ShowTelemetry(JoinTripTelemetry(m_trip->tracks, m_trip->timeline)); }

void CQuelmarDlg::EndTrip() {
  if (!m_trip) return;
  m_trip.reset();
  m_engine.DropPrepared();
}

// The engine tells of a hand-over on a streaming thread; the window takes it on its own.
void CQuelmarDlg::ListenForHandOvers() {
  m_engine.SetHandOverListener(
      [this] { QMetaObject::invokeMethod(this, [this] { UpdateTimeline(); }, Qt::QueuedConnection); });
}

}  // namespace vx
