// The main player window: a borderless skinned window with the two video views, the recording
// catalogue, the transport buttons, the timeline and the volume, in a normal and a full-screen mode.
#pragma once

#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "core/cardindex/RecordingSummary.h"
#include "core/cardindex/TripRows.h"
#include "core/export/SpanMarks.h"
#include "core/player/CatalogueRows.h"
#include "core/player/TripTimeline.h"
#include "core/player/ViewSlots.h"
#include "core/player/WindowLayout.h"
#include "core/telemetry/MomentReadout.h"
#include "core/telemetry/TelemetryTrack.h"
#include "engine/CNrvVideoView.h"
#include "engine/CPlaybackEngine.h"

namespace vx {

class CEventsDlg;
class CExportDlg;
struct ExportRequest;
class CGSensorDlg;
class CMapView;
class CMyButton;
class CTkSlider;
class CRecordingCatalogue;
class CSettingDlg;
class IDriveList;

inline constexpr const char* kWindowTitle = "VX-880QN Player";
inline constexpr const char* kSourceMissingMessage = "Source Filter가 등록되지 않았습니다.";
inline constexpr const char* kDecoderMissingText = "Video Filter(ffdshow)가 등록되지 않았습니다.";
inline constexpr int kTimelineTimerMs = 100;

// Where the window's texts come from and where the chosen language is kept.
struct TextTableFiles {
  std::filesystem::path read;  // the Setting.ini whose texts are shown
  // Saves "Select" so that the next start reads it back. Answers the file that now holds it (the one to
  // read from then on), or nothing when it could not be kept anywhere.
  std::function<std::optional<std::filesystem::path>(int position)> saveSelected;
};

class CQuelmarDlg : public QWidget {
  Q_OBJECT

 public:
  CQuelmarDlg(IDriveList& drives, TextTableFiles texts, QWidget* parent = nullptr);
  ~CQuelmarDlg() override;

  // Creates the views and controls, lays them out and checks the media components (the message boxes
  // of a missing component are shown through `showMessage`).
  void OnInitDialog(const std::function<void(const QString&)>& showMessage);

  // Routes a control or menu command through the command table; false for an unknown ID.
  bool OnCommand(int id);

  // Transport and timeline.
  bool OpenRecording(const RecordingEntry& entry);
  void PlayPause();
  void StopPlayback();
  void PlayPrevious();
  void PlayNext();
  void UpdateTimeline();
  // Plays from now on, and every recording started later, at the step's rate; the speed label names it.
  void SetSpeedStep(int step);

  // Attaches the GPX at `gpxPath` to `row`'s recording, its points moved by `offsetSeconds`, as "Attach GPX…"
  // does once its dialogs are answered: empty, or the reason it was not attached.
  QString AttachGpx(int row, const std::string& gpxPath, int offsetSeconds);

  // Layout and view arrangement.
  void ApplyLayout(int mode);
  void ToggleFullScreen();
  void ArrangeViews();

  // What tests and the command line look at.
  CPlaybackEngine& Engine() { return m_engine; }
  CRecordingCatalogue& Catalogue() { return *m_pCatalogue; }
  CNrvVideoView& FrontView() { return m_frontView; }
  CNrvVideoView& RearView() { return m_rearView; }
  const TelemetryTrack& Telemetry() const { return m_telemetry; }
  // The position and length the slider and the time labels show: the trip's while a trip plays.
  std::int64_t PlayingPositionMs() const;
  std::int64_t TimelineDurationMs();
  // The trip that plays as one: which of its recordings is open, and its time line; empty and null when a
  // recording plays by itself.
  std::optional<std::size_t> TripFile() const;
  const TripTimeline* TripTimeLine() const { return m_trip ? &m_trip->timeline : nullptr; }
  ViewSlots Slots() const { return m_slots; }
  int WindowMode() const { return m_nWindowMode; }
  int SpeedStep() const { return m_nSpeedStep; }
  bool IsTimerActive() const { return m_timer.isActive(); }
  QWidget* Control(int id) const;
  CEventsDlg* EventsWindow() const;
  CExportDlg* ExportWindow() const;
  // The in and out points marked for export, on the time line that plays.
  const MarkedSpan& Span() const { return m_span; }
  QString ControlText(int id) const;

 signals:
  // Playing through the list ran past its last row (or no row from the one asked for would open).
  void playedThrough();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct CommandEntry {
    int id;
    void (CQuelmarDlg::*handler)();
  };
  struct KeyEntry {
    int key;
    bool ctrl;      // only with Ctrl held
    bool consumed;  // the focused control does not see the key
    void (CQuelmarDlg::*handler)();
  };
  static std::span<const CommandEntry> CommandTable();
  static std::span<const KeyEntry> KeyTable();
  bool HandleKey(QKeyEvent* event);

  // Construction of the controls.
  void CreateControls();
  CMyButton* AddButton(int id, const char* text);
  QLabel* AddLabel(int id, const char* text);
  void ConnectSignals();
  void LoadTexts();

  // Window commands: minimise, close, the settings dialog, a language change, card removal.
  void OnMinimize();
  void OnClose();
  void OnEscape();
  void OnSettings();
  void OnLanguageChanged(int language);
  void OnMountsChanged();
  bool StartsDragAt(QPoint at) const;
  bool IsOwnedWindow(const QWidget* window) const;

  // Transport (QuelmarTransport.cpp).
  void OnPlayCommand() { PlayPause(); }
  void PlayRow(int row);
  void PlayChosenRow(int row);
  // Stands on a row that did not open, saying so over the video area.
  void StandOnUnplayable(int row);
  void ShowPlayMessage(const QString& text);
  void StartPlaying();
  void BackOneSecond() { Seek(&CPlaybackEngine::SkipBack, 1.0); }
  void ForwardOneSecond() { Seek(&CPlaybackEngine::SkipForward, 1.0); }
  void BackToStart() { Seek(&CPlaybackEngine::SkipBack, 1000.0); }
  void ForwardToEnd() { Seek(&CPlaybackEngine::SkipForward, 1000.0); }
  void Seek(int (CPlaybackEngine::*skip)(double), double seconds);
  void NextFrame() { StepFrame(true); }
  void PreviousFrame() { StepFrame(false); }
  void StepFrame(bool forward);
  void Slower();
  void Faster();
  void ChangeSpeed(bool faster);
  void ToggleSound();
  void OnPositionSlider(int code, int position);
  void OnVolumeSlider(int code, int position);
  void ApplyVolume();
  void OnTimer();
  void UpdateTimeLabels(std::int64_t positionMs, std::int64_t durationMs);
  void ResetTimeLabels();
  // Opens a recording's file for the row or the trip that plays it: engine, card, unit; false when it does
  // not open (logged).
  bool OpenRecordingFile(const RecordingEntry& entry);
  // Speed, heading and G of the open recording's telemetry at `positionMs`; dashes when nothing is open.
  void UpdateReadout(std::int64_t positionMs);
  void SetPlayText(bool playing);
  void UpdateMapButtons();
  bool IsLoaded() const { return m_engine.Recording() != nullptr; }
  EngineState State() const;
  int LoadedVideoStreams() const;

  // Layout (QuelmarLayout.cpp).
  void PlaceControls(const ModeLayout& layout);
  void PlaceSpeedLabel();
  void SwapFrontRear();
  void RearVideo();
  void SetRearVideoButton(RearVideoButton offer);

  // Map, graph and snapshot (QuelmarViews.cpp).
  void OnMap();
  void OnLargeMap();
  bool HasGps() const;
  void ApplyMapCommand(const std::optional<MapCommandResult>& result);
  void ToggleGraph();
  void ShowRecordingOnGraph();
  void HideGraph();
  void TakeSnapshotCommand();
  void ResetZoom();
  CMapView& MapView();
  void PrepareMapWhenIdle();
  void HandOnPosition(std::uint32_t positionMs);
  void SeekToMs(qint64 ms);

  // A GPX track attached to a recording (QuelmarGpx.cpp).
  void OnAttachGpx();
  void OnDetachGpx();
  void ShowAttachedTrack(int row, const std::function<TelemetryTrack()>& track);
  // The attached track of `recordingPath`: an empty layout when none is attached.
  static TelemetryTrack AttachedGpx(const std::string& recordingPath);
  // Shows `track` as the open recording's telemetry on the map and the graph.
  void ShowTelemetry(TelemetryTrack track);

  // A trip played as one (QuelmarTrip.cpp): its recordings one after another on the trip's time line.
  void PlayTrip(const std::vector<TripRecordingRow>& recordings);
  // Opens the trip's recording `file` at `fileMs`; false (and stopped on its row) when it does not open.
  bool OpenTripFile(std::size_t file, std::int64_t fileMs);
  // The open recording's measured length on the time line; the views again when its streams differ from
  // the one before.
  void TakeMeasuredLength(int streamsBefore);
  void PrepareTripNext();
  // Takes the hand-over of the trip's next recording that the engine made at the open one's end.
  void TakeHandOver();
  void SeekTrip(std::int64_t tripMs);
  void StepTrip(bool forward);
  // The joined telemetry of the trip's recordings on the current time line.
  void ShowTripTelemetry();
  void EndTrip();
  void ListenForHandOvers();

  // The events window of the listed card, and playing a moment chosen there (QuelmarEvents.cpp).
  void OnEvents();
  void PlayEvent(const std::string& recordingPath, std::uint32_t positionMs);
  // Plays a recording of the card by its file as a double-click on its row does; false when it does not open.
  bool PlayRecordingFile(const std::string& recordingPath);
  // Finds the events of the open recording's telemetry with the stored thresholds and marks them on the
  // position slider.
  void MarkEvents();
  // The span marked for export and its export, or an event's (QuelmarExport.cpp).
  void MarkIn();
  void MarkOut();
  void ClearSpan();
  void ShowSpan();
  void OnExport();
  // `kEventSpanMs` around an event of `recordingPath`, whose trip (or itself alone) is `chain`.
  void ExportEvent(const std::vector<RecordingSummary>& chain, const std::string& recordingPath,
                   std::int64_t eventUtcMs);
  void OpenExportDialog(const QString& span, const QString& defaultPath, std::function<ExportRequest()> makeRequest);
  // The Preferences dialog; saved thresholds mark the open recording's events anew.
  void OnPreferences();
  // The readout's unit from the stored preference, the open recording's card and the locale.
  void UpdateSpeedUnit();

  // Catalogue commands.
  void ChooseFolder();
  void OpenFiles();
  void SortAscending();
  void SortDescending();
  void RemoveSelected();
  void RemoveAll();
  void SelectAll();
  void ToggleTrips();

  IDriveList& m_drives;
  TextTableFiles m_texts;
  CPlaybackEngine m_engine;
  CNrvVideoView m_frontView;
  CNrvVideoView m_rearView;
  TelemetryTrack m_telemetry;  // of the open recording (or trip), whichever camera made it
  // A trip played as one: its recordings, their own telemetry, the time line and the open one.
  struct TripPlayback {
    std::vector<RecordingEntry> entries;
    std::vector<TelemetryTrack> tracks;
    TripTimeline timeline;
    std::size_t file = 0;
  };
  std::optional<TripPlayback> m_trip;
  std::vector<DetectedEvent> m_events;  // found in m_telemetry, for the slider and the map
  std::optional<std::uint8_t> m_cardSpeedUnit;  // bSpeedUnit of the open recording's card, when it has a setup.cfg
  SpeedUnit m_speedUnit = SpeedUnit::Kmh;
  CRecordingCatalogue* m_pCatalogue = nullptr;
  CMapView* m_pMapView = nullptr;  // control 1106, made on first use
  std::unique_ptr<CGSensorDlg> m_pGraphDlg;
  QPointer<CSettingDlg> m_pSettingDlg;
  QPointer<CEventsDlg> m_pEventsDlg;
  QPointer<CExportDlg> m_pExportDlg;
  MarkedSpan m_span;
  CTkSlider* m_pPositionSlider = nullptr;
  CTkSlider* m_pVolumeSlider = nullptr;
  QLabel* m_pPlayMessage = nullptr;  // why the chosen recording does not play, made on first use
  std::map<int, QWidget*> m_controls;  // by control ID
  QImage m_normalBackground;
  QImage m_fullScreenBackground;
  QTimer m_timer;
  QPoint m_normalTopLeft;
  QString m_strPlayingMountPoint;  // mount point of the playing file, to notice its card going away
  int m_nWindowMode = 1;
  ViewSlots m_slots;
  int m_nSpeedStep = 5;
  int m_nLanguageIndex = 0;
  bool m_bNormalBackground = true;
  bool m_bSoundOn = true;
  bool m_bGraphHidden = true;
  bool m_bMapPrepared = false;  // the map's preparation has begun; it is made once per window
  bool m_bFrameStepped = false;  // the paused picture was reached by frame steps: its time shows milliseconds
};

}  // namespace vx
