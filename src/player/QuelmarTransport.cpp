// The main window's transport and timeline: opening rows, play and pause, stop, previous and next,
// seeking, speed, sound and volume, and the 100 ms tick that moves the slider, the time labels and the readout.
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <algorithm>
#include <limits>

#include "core/player/ControlIds.h"
#include "core/player/SpeedSteps.h"
#include "core/player/TimelineRules.h"
#include "core/player/VolumeScale.h"
#include "core/telemetry/RecordingStart.h"
#include "core/telemetry/TelemetryLayouts.h"
#include "core/widgets/ScrollCodes.h"
#include "player/CQuelmarDlg.h"
#include "player/QtRect.h"
#include "views/CGSensorDlg.h"
#include "views/CMapView.h"
#include "player/CRecordingCatalogue.h"
#include "player/CRecordingListModel.h"
#include "settings/IDriveList.h"
#include "widgets/CMyButton.h"
#include "widgets/CTkSlider.h"

namespace vx {
namespace {

std::int32_t ClampToInt(std::int64_t ms) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(ms, 0, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

EngineState CQuelmarDlg::State() const {
  return IsLoaded() ? m_engine.Recording()->State() : EngineState::Closed;
}

int CQuelmarDlg::LoadedVideoStreams() const { return IsLoaded() ? m_engine.Recording()->VideoStreamCount() : 0; }

// Opens one row's recording (by its path's bytes, with its rear partner file when it has one): engine,
// duration, view slots, telemetry. A failure is logged with the file's path and reported to the caller,
// which decides whether the next row follows. A trip that played ends here: the row plays by itself.
bool CQuelmarDlg::OpenRecording(const RecordingEntry& entry) {
  EndTrip();
  ClearSpan();  // marks belong to the time line they were set on
  if (!OpenRecordingFile(entry)) return false;
  const std::string& filePath = entry.filePath;
  const std::int64_t durationMs = m_engine.GetDurationMs();
  m_pPositionSlider->SetRange(0, ClampToInt(durationMs));
  // The thumb starts at the new recording's start: a focused slider that pages from the previous
  // recording's place (Page Down is also the window's "next") would seek the new one there.
  m_pPositionSlider->SetPos(0);
  UpdateTimeLabels(0, durationMs);
  TelemetryTrack track = ReadRecordingTelemetry(filePath, m_engine.Recording()->TelemetrySource());
  if (!track.warning.empty()) qWarning("vx880: %s: %s", filePath.c_str(), track.warning.c_str());
  // A track the user attached stands in where the recording has none of its own.
  ShowTelemetry(track.layout.empty() ? AttachedGpx(filePath) : std::move(track));
  return true;
}

bool CQuelmarDlg::OpenRecordingFile(const RecordingEntry& entry) {
  const std::string& filePath = entry.filePath;
  m_engine.SetTelemetryOption(false);
  if (m_engine.Open(filePath, entry.partnerFilePath) != 1) {
    qWarning("vx880: %s: cannot be played", filePath.c_str());
    update();
    return false;
  }
  ShowPlayMessage({});
  m_bFrameStepped = false;
  m_strPlayingMountPoint = m_drives.MountPointOf(QFile::decodeName(QByteArray::fromStdString(filePath)));
  const std::optional<SetupRecord> setup = CardSetupRecord(filePath);
  m_cardSpeedUnit = setup ? std::optional(setup->bSpeedUnit) : std::nullopt;
  UpdateSpeedUnit();
  return true;
}

void CQuelmarDlg::ShowTelemetry(TelemetryTrack track) {
  m_telemetry = std::move(track);
  MarkEvents();
  // A map left from the recording before would show its track and marker, with no button to put it away.
  m_slots = SlotsForOpenedRecording(HasGps() ? m_slots : SlotsWithoutMap(m_slots), LoadedVideoStreams());
  ArrangeViews();
  if (m_pMapView) m_pMapView->SetRecording(m_telemetry, TimelineDurationMs(), m_events);
  ShowRecordingOnGraph();
  UpdateMapButtons();
  UpdateReadout(PlayingPositionMs());
  update();
}

// The map buttons are enabled only where a press does something; disabled, they look grey.
void CQuelmarDlg::UpdateMapButtons() {
  const bool act = MapButtonsAct(m_slots, LoadedVideoStreams(), HasGps());
  m_controls.at(IDC_MAP)->setEnabled(act);
  m_controls.at(IDC_LARGE_MAP)->setEnabled(act);
}

void CQuelmarDlg::PlayPause() {
  if (State() == EngineState::Paused) {
    SetPlayText(true);
    m_engine.Recording()->Run();
    m_timer.start();
    return;
  }
  if (State() == EngineState::Running) {
    m_engine.Recording()->Pause();
    SetPlayText(false);
    ArrangeViews();
    return;
  }
  if (m_pCatalogue->RowCount() == 0) return;
  const int row = std::max(m_pCatalogue->FirstSelectedRow(), 0);
  if (!m_pCatalogue->IsPlayingRow(row) || !IsLoaded()) {
    PlayRow(row);
    return;
  }
  StartPlaying();
}

// Opens `row`, or the first row after it that opens, and plays it; after the last row the window is idle.
// Playing through the card passes over recordings that do not play; the list marks them.
void CQuelmarDlg::PlayRow(int row) {
  const int opened =
      m_pCatalogue->OpenFrom(row, [this](const RecordingEntry& entry) { return OpenRecording(entry); });
  if (opened < 0) {
    StopPlayback();
    emit playedThrough();
    return;
  }
  StartPlaying();
}

// Plays the row the user chose by itself (double-click, Previous). One that does not play stops the window
// on it with a message, instead of silently playing another: Next and Previous then step from it.
void CQuelmarDlg::PlayChosenRow(int row) {
  if (m_pCatalogue->OpenOnly(row, [this](const RecordingEntry& entry) { return OpenRecording(entry); }) >= 0) {
    StartPlaying();
    return;
  }
  StopPlayback();
  StandOnUnplayable(row);
}

void CQuelmarDlg::StandOnUnplayable(int row) {
  if (row < 0 || row >= m_pCatalogue->RowCount()) return;
  m_pCatalogue->StandOn(row);
  ShowPlayMessage(QStringLiteral("%1\n%2").arg(QFileInfo(m_pCatalogue->PathAt(row)).fileName(), UnplayableText()));
}

// A text over the large video area while no picture is there; an empty text hides it.
void CQuelmarDlg::ShowPlayMessage(const QString& text) {
  if (text.isEmpty()) {
    if (m_pPlayMessage) m_pPlayMessage->hide();
    return;
  }
  if (!m_pPlayMessage) {
    m_pPlayMessage = new QLabel(this);
    m_pPlayMessage->setObjectName(QStringLiteral("playMessage"));
    m_pPlayMessage->setAlignment(Qt::AlignCenter);
    m_pPlayMessage->setWordWrap(true);
    m_pPlayMessage->setStyleSheet(QStringLiteral("color: rgb(230, 230, 230); background: rgb(24, 24, 24);"));
    m_pPlayMessage->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  m_pPlayMessage->setText(text);
  m_pPlayMessage->setGeometry(
      ToQRect(m_nWindowMode == 1 ? kLargeSlot : FullScreenViewRect(width(), height())));
  m_pPlayMessage->show();
  m_pPlayMessage->raise();
}

void CQuelmarDlg::StartPlaying() {
  m_engine.ChangeRate(SpeedRate(m_nSpeedStep));
  if (IsLoaded()) m_engine.Recording()->Run();
  m_timer.start();
  SetPlayText(true);
  const std::int64_t durationMs = TimelineDurationMs();
  m_pPositionSlider->SetRange(0, ClampToInt(durationMs));
  UpdateTimeLabels(PlayingPositionMs(), durationMs);
  if (m_telemetry.accel.empty()) HideGraph();
  ArrangeViews();
  update();
}

void CQuelmarDlg::StopPlayback() {
  EndTrip();
  if (IsLoaded()) m_engine.Recording()->Stop();
  m_timer.stop();
  HideGraph();
  m_frontView.hide();
  m_rearView.hide();
  m_pPositionSlider->SetPos(0);
  m_pPositionSlider->SetMarks({});
  ResetTimeLabels();
  m_pCatalogue->ClearPlayingRow();
  SetPlayText(false);
  m_engine.Close();
  UpdateReadout(0);
  if (m_pMapView) m_pMapView->SetRecording(TelemetryTrack(), 0);
  m_strPlayingMountPoint.clear();
  if (m_nWindowMode == 1) SetRearVideoButton(RearVideoButton::OfferRear);
  m_slots = SlotsAfterStop();
  UpdateMapButtons();
  if (m_pMapView) m_pMapView->setGeometry(ToQRect(kMapParked));
  update();
}

// Within a playing trip, previous and next step through the trip's recordings.
void CQuelmarDlg::PlayPrevious() {
  if (m_trip) {
    StepTrip(false);
    return;
  }
  const int row = m_pCatalogue->PreviousRow();
  if (row >= 0) PlayChosenRow(row);
}

void CQuelmarDlg::PlayNext() {
  if (m_trip) {
    StepTrip(true);
    return;
  }
  PlayRow(m_pCatalogue->NextRow());
}

void CQuelmarDlg::Seek(int (CPlaybackEngine::*skip)(double), double seconds) {
  if (State() != EngineState::Running && State() != EngineState::Paused) return;
  m_bFrameStepped = false;
  (m_engine.*skip)(seconds);
  UpdateTimeline();
}

// A step while playing pauses first, as common players do: a step only makes sense on a still picture.
void CQuelmarDlg::StepFrame(bool forward) {
  if (State() == EngineState::Running) PlayPause();
  if (State() != EngineState::Paused && State() != EngineState::Stopped) return;
  m_engine.StepFrame(forward);
  m_bFrameStepped = true;
  UpdateTimeline();
}

void CQuelmarDlg::Slower() { ChangeSpeed(false); }
void CQuelmarDlg::Faster() { ChangeSpeed(true); }

// The label always names the rate the engine plays at; nothing changes unless playing.
void CQuelmarDlg::ChangeSpeed(bool faster) {
  const bool playing = State() == EngineState::Running;
  const int step = NextSpeedStep(m_nSpeedStep, faster ? SpeedButton::Faster : SpeedButton::Slower, playing);
  if (step != m_nSpeedStep) SetSpeedStep(step);
}

void CQuelmarDlg::SetSpeedStep(int step) {
  m_nSpeedStep = step;
  m_engine.ChangeRate(SpeedRate(step));
  static_cast<QLabel*>(m_controls.at(IDC_SPEED_LABEL))->setText(QString::fromStdString(SpeedLabel(step)));
  PlaceSpeedLabel();
}

void CQuelmarDlg::ToggleSound() {
  m_bSoundOn = !m_bSoundOn;
  ApplyVolume();
}

// The level of the player's own stream: the volume slider's, or silence while the sound is off.
void CQuelmarDlg::ApplyVolume() {
  m_engine.SetVolume(m_bSoundOn ? VolumeLevel(m_pVolumeSlider->GetPos()) : 0.0);
  const int bitmap = SoundButtonBitmap(m_bSoundOn);
  static_cast<CMyButton*>(m_controls.at(IDC_SOUND))->SetBitmaps(bitmap, bitmap, bitmap, kNormalSkinKey);
}

void CQuelmarDlg::OnPositionSlider(int code, int position) {
  if (code < TB_PAGEUP || code > TB_THUMBTRACK) return;
  m_bFrameStepped = false;
  if (m_trip) {
    SeekTrip(position);
  } else if (IsLoaded() && m_engine.Recording()->HasGraph()) {
    m_engine.Recording()->SetPosition(static_cast<RefTime>(position) * kRefTimePerMs);
  }
  UpdateTimeline();
}

// Dragging the volume to the left end mutes, and back up sounds again; other moves keep the sound button.
void CQuelmarDlg::OnVolumeSlider(int code, int position) {
  if (code < TB_PAGEUP || code > TB_THUMBTRACK) return;
  if (code == TB_THUMBTRACK) m_bSoundOn = position >= kAudibleVolumePosition;
  ApplyVolume();
}

void CQuelmarDlg::OnTimer() {
  if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) UpdateTimeline();
}

// In a trip the slider and the labels show the trip's time; the end that moves on is the open recording's.
void CQuelmarDlg::UpdateTimeline() {
  if (m_trip) TakeHandOver();
  if (!IsLoaded()) return;
  CRecordingGraph& recording = *m_engine.Recording();
  const EngineState state = recording.State();
  if (state != EngineState::Running && state != EngineState::Paused && state != EngineState::Stopped) return;
  if (state == EngineState::Running) m_bFrameStepped = false;
  if (state == EngineState::Stopped) recording.Pause();
  RefTime position = 0;
  recording.GetPosition(position);
  const std::int64_t fileMs = RefTimeToMs(position);
  const std::int64_t positionMs = m_trip ? m_trip->timeline.TripMs(m_trip->file, fileMs) : fileMs;
  m_pPositionSlider->SetPos(ClampToInt(positionMs));
  UpdateTimeLabels(positionMs, TimelineDurationMs());
  UpdateReadout(positionMs);
  const bool ended = ReachedEnd(fileMs, m_engine.GetDurationMs());
  if (state == EngineState::Running && ended) {
    // The next recording waits while the user holds the position slider. In a trip it was normally
    // handed over already; one that was not prepared in time opens here.
    if (!m_pPositionSlider->IsReleased()) return;
    if (m_trip && m_trip->file + 1 < m_trip->entries.size()) {
      if (!OpenTripFile(m_trip->file + 1, 0)) return;
      StartPlaying();
      PrepareTripNext();
      return;
    }
    // The end of a trip, as of a single recording, goes on with the list's next row.
    PlayRow(m_pCatalogue->NextRow());
    m_pPositionSlider->SetPos(0);
    return;
  }
  if (state != EngineState::Running && (ended || fileMs == 0)) return;
  if (state != EngineState::Running) recording.UpdateVideoWindows();
  HandOnPosition(static_cast<std::uint32_t>(ClampToInt(positionMs)));
}

void CQuelmarDlg::UpdateTimeLabels(std::int64_t positionMs, std::int64_t durationMs) {
  for (auto [id, ms] : {std::pair{IDC_CURRENT_TIME, positionMs}, {IDC_TOTAL_TIME, durationMs}}) {
    auto* label = static_cast<QLabel*>(m_controls.at(id));
    const bool withMs = id == IDC_CURRENT_TIME && m_bFrameStepped;
    const QString text = QString::fromStdString(withMs ? TimeTextWithMs(ms) : TimeText(ms));
    if (label->text() != text) label->setText(text);
  }
}

void CQuelmarDlg::ResetTimeLabels() { UpdateTimeLabels(0, 0); }

std::int64_t CQuelmarDlg::PlayingPositionMs() const {
  RefTime position = 0;
  if (IsLoaded()) m_engine.Recording()->GetPosition(position);
  return m_trip ? m_trip->timeline.TripMs(m_trip->file, RefTimeToMs(position)) : RefTimeToMs(position);
}

std::int64_t CQuelmarDlg::TimelineDurationMs() {
  return m_trip ? m_trip->timeline.TotalMs() : m_engine.GetDurationMs();
}

void CQuelmarDlg::UpdateReadout(std::int64_t positionMs) {
  static const TelemetryTrack kNoTrack;
  const TelemetryTrack& track = IsLoaded() ? m_telemetry : kNoTrack;  // a reference: no copy on every tick
  const MomentReadout readout = ReadoutAt(track, positionMs, m_speedUnit);
  const QString text = QString::fromStdString(readout.speed + "   " + readout.heading + "   " + readout.g + "  (" +
                                              readout.axes + ")");
  auto* label = static_cast<QLabel*>(m_controls.at(IDC_READOUT));
  if (label->text() != text) label->setText(text);
}

// The button's text names what it does now, and its picture shows it: pause while playing, play otherwise.
void CQuelmarDlg::SetPlayText(bool playing) {
  auto* button = static_cast<CMyButton*>(m_controls.at(IDC_PLAY));
  button->setText(playing ? "Pause" : "Play");
  const ButtonBitmaps pictures = PlayButtonBitmaps(m_nWindowMode, playing);
  const std::uint32_t key = m_nWindowMode == 2 ? kFullScreenSkinKey : kNormalSkinKey;
  button->SetBitmaps(pictures.normal, pictures.hot, pictures.hot, key);
}

}  // namespace vx
