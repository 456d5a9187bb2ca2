// The main window's life: controls, start-up, painting, dragging, drops, closing, card removal, texts.
#include "player/CQuelmarDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFont>
#include <QMimeData>
#include <QPainter>
#include <QTreeView>

#include "core/player/ControlIds.h"
#include "core/player/TimelineRules.h"
#include "core/player/VolumeScale.h"
#include "core/settings/TimeZones.h"
#include "core/text/TextTable.h"
#include "player/CRecordingCatalogue.h"
#include "settings/CSettingDlg.h"
#include "views/CGSensorDlg.h"
#include "views/CMapView.h"
#include "settings/IDriveList.h"
#include "widgets/CClientDrag.h"
#include "widgets/CMyButton.h"
#include "widgets/CTkSlider.h"
#include "widgets/SkinBitmaps.h"
#include "widgets/SkinIds.h"

namespace vx {
namespace {

constexpr int kFullScreenBackground = 302;
constexpr int kTimeFontPixels = 10;
// Text of the labels: green on the background picture, which shows through.
constexpr const char* kLabelStyle = "color: rgb(0, 220, 0); background: transparent;";

struct ButtonText {
  int id;
  const char* text;
};

// The window's skinned buttons with the texts of its template (hidden under their pictures; they name
// the buttons for accessibility and tests).
constexpr ButtonText kButtons[] = {
    {IDC_MINIMIZE, "-"},     {IDC_CLOSE, "X"},           {IDC_PREV, "PRE"},
    {IDC_PLAY, "Play"},      {IDC_STOP, "STOP"},         {IDC_NEXT, "NEXT"},
    {IDC_BACK_1S, "<- SEC"}, {IDC_FORWARD_1S, "-> SEC"}, {IDC_FPS, "FPS"},
    {IDC_OPEN, "OPEN"},      {IDC_SETTINGS, "설정"},     {IDC_SNAPSHOT, "캡쳐"},
    {IDC_FULL_SCREEN, "전체화면"}, {IDC_SOUND, "On"},    {IDC_NORMAL_SIZE, "이전크기"},
    {IDC_SWAP, "전방/후방 영상전환"}, {IDC_GSENSOR, "가속도 그래프"}, {IDC_MAP, "지도보기"},
    {IDC_REAR_VIDEO, "후방영상"}, {IDC_LARGE_MAP, "지도 크게보기"}, {IDC_SLOWER, "<SPEED"},
    {IDC_FASTER, "SPEED>"},
};

constexpr ButtonText kLabels[] = {
    {IDC_CURRENT_TIME, "00:00:00"}, {IDC_TIME_SEPARATOR, "/"}, {IDC_TOTAL_TIME, "00:00:00"},
    {IDC_SPEED_LABEL, "X 1.0"},
};

constexpr int kFramePieces[] = {IDC_FRAME_DIVIDER, IDC_FRAME_BOTTOM_BAR, IDC_FRAME_MIDDLE, IDC_FRAME_SPEED_PLATE,
                                IDC_FRAME_TOP_BAR, IDC_SPARE_PICTURE};

}  // namespace

CQuelmarDlg::CQuelmarDlg(IDriveList& drives, TextTableFiles texts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_drives(drives), m_texts(std::move(texts)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAcceptDrops(true);
  setWindowTitle(kWindowTitle);
  setWindowIcon(QIcon(QPixmap::fromImage(LoadSkinImage(IDR_MAINFRAME))));
  m_timer.setInterval(kTimelineTimerMs);
  connect(&m_timer, &QTimer::timeout, this, &CQuelmarDlg::OnTimer);
  new CClientDrag(this, [this](QPoint at) { return StartsDragAt(at); });
}

CQuelmarDlg::~CQuelmarDlg() {
  qApp->removeEventFilter(this);
  m_timer.stop();
  m_engine.Close();
}

void CQuelmarDlg::OnInitDialog(const std::function<void(const QString&)>& showMessage) {
  m_normalBackground = LoadSkinImage(IDB_BACKGROUND);
  resize(kNormalWindowWidth, kNormalWindowHeight);
  CreateControls();
  m_engine.AttachWindows(&m_frontView, &m_rearView);
  ListenForHandOvers();
  m_nWindowMode = 1;
  m_slots = {};
  LoadTexts();
  ConnectSignals();
  ApplyLayout(m_nWindowMode);
  // Nothing is loaded: the window starts as STOP leaves it, both views hidden (they would otherwise show
  // black over the timeline and the view buttons) and the rear-video button offering the rear picture.
  ArrangeViews();
  SetRearVideoButton(RearVideoButton::OfferRear);
  UpdateReadout(0);
  ApplyVolume();
  qApp->installEventFilter(this);
  const int components = m_engine.CheckComponents();
  if (components == -1) showMessage(QString::fromUtf8(kSourceMissingMessage));
  if (components == -2) showMessage(QString::fromUtf8(kDecoderMissingText));
}

void CQuelmarDlg::CreateControls() {
  m_frontView.setParent(this);
  m_frontView.setObjectName("Video window1");
  m_rearView.setParent(this);
  m_rearView.setObjectName("Video window2");
  m_frontView.setGeometry(20, 70, 640, 367);
  m_rearView.setGeometry(675, 70, 318, 262);
  for (const ButtonText& button : kButtons) AddButton(button.id, button.text);
  m_controls[IDC_FPS]->hide();
  for (const ButtonText& label : kLabels) AddLabel(label.id, label.text);
  static_cast<QLabel*>(m_controls[IDC_TOTAL_TIME])->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  // The time labels are 50 pixels wide and 12 high: small digits fit "00:00:00" whole.
  QFont timeFont;
  timeFont.setPixelSize(kTimeFontPixels);
  AddLabel(IDC_READOUT, "")->setObjectName(QStringLiteral("readout"));
  for (int id : {IDC_CURRENT_TIME, IDC_TIME_SEPARATOR, IDC_TOTAL_TIME, IDC_READOUT}) m_controls[id]->setFont(timeFont);
  QFont speedFont("Arial");
  speedFont.setPixelSize(17);
  speedFont.setBold(true);
  m_controls[IDC_SPEED_LABEL]->setFont(speedFont);
  for (int id : kFramePieces) AddLabel(id, "")->setScaledContents(true);
  m_pPositionSlider = new CTkSlider(this);
  m_pVolumeSlider = new CTkSlider(this);
  m_controls[IDC_POSITION_SLIDER] = m_pPositionSlider;
  m_controls[IDC_VOLUME_SLIDER] = m_pVolumeSlider;
  m_pVolumeSlider->SetRange(0, kVolumeSliderMax);
  m_pVolumeSlider->SetPos(kDefaultVolumePosition);
  m_pPositionSlider->InitSkin();
  m_pVolumeSlider->InitSkin();
  m_pCatalogue = new CRecordingCatalogue(this, this);
  m_controls[IDC_LIST] = m_pCatalogue->List();
}

CMyButton* CQuelmarDlg::AddButton(int id, const char* text) {
  auto* button = new CMyButton(this);
  button->setText(QString::fromUtf8(text));
  button->setFocusPolicy(Qt::NoFocus);
  connect(button, &CMyButton::clicked, this, [this, id] { OnCommand(id); });
  m_controls[id] = button;
  return button;
}

QLabel* CQuelmarDlg::AddLabel(int id, const char* text) {
  auto* label = new QLabel(QString::fromUtf8(text), this);
  label->setStyleSheet(kLabelStyle);
  label->setAttribute(Qt::WA_TransparentForMouseEvents);
  m_controls[id] = label;
  return label;
}

void CQuelmarDlg::ConnectSignals() {
  connect(m_pPositionSlider, &CTkSlider::HScroll, this, &CQuelmarDlg::OnPositionSlider);
  connect(m_pVolumeSlider, &CTkSlider::HScroll, this, &CQuelmarDlg::OnVolumeSlider);
  connect(m_pCatalogue, &CRecordingCatalogue::rowActivated, this, &CQuelmarDlg::PlayChosenRow);
  connect(m_pCatalogue, &CRecordingCatalogue::recordingActivated, this, &CQuelmarDlg::PlayRecordingFile);
  connect(m_pCatalogue, &CRecordingCatalogue::tripActivated, this, &CQuelmarDlg::PlayTrip);
  connect(m_pCatalogue, &CRecordingCatalogue::commandChosen, this, &CQuelmarDlg::OnCommand);
  connect(&m_drives, &IDriveList::MountsChanged, this, &CQuelmarDlg::OnMountsChanged);
}

// The list's column titles in the language the text table names; the list is emptied.
void CQuelmarDlg::LoadTexts() {
  const std::optional<ProfileFile> file = ProfileFile::Load(m_texts.read);
  const MainWindowTexts texts = LoadMainWindowTexts(file.value_or(ProfileFile()));
  m_nLanguageIndex = texts.languageIndex;
  m_pCatalogue->ReloadTitles(texts.columnTitles);
}

QWidget* CQuelmarDlg::Control(int id) const {
  const auto found = m_controls.find(id);
  return found == m_controls.end() ? nullptr : found->second;
}

QString CQuelmarDlg::ControlText(int id) const {
  if (auto* label = qobject_cast<QLabel*>(Control(id))) return label->text();
  if (auto* button = qobject_cast<QAbstractButton*>(Control(id))) return button->text();
  return {};
}

// The background picture of the mode, unscaled from the top-left corner; every control paints itself.
// The full-screen picture is large and loaded the first time it is shown, which keeps it out of start-up.
void CQuelmarDlg::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (!m_bNormalBackground && m_fullScreenBackground.isNull())
    m_fullScreenBackground = LoadSkinImage(kFullScreenBackground);
  painter.drawImage(0, 0, m_bNormalBackground ? m_normalBackground : m_fullScreenBackground);
}

// The normal window moves when dragged by its background. A press inside a button's rectangle belongs to
// the button, also where its picture leaves a gap, and never moves the window.
bool CQuelmarDlg::StartsDragAt(QPoint at) const {
  if (m_nWindowMode != 1) return false;
  for (const auto& [id, control] : m_controls) {
    if (qobject_cast<CMyButton*>(control) && control->isVisible() && control->geometry().contains(at)) return false;
  }
  return true;
}

// The program ends with its main window: every window it owns (settings, graph) closes with it, or a tool
// window left open would keep the program running with no main window.
void CQuelmarDlg::closeEvent(QCloseEvent* event) {
  m_timer.stop();
  if (IsLoaded()) m_engine.Recording()->Stop();
  m_engine.Close();
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window != this && window->isVisible() && IsOwnedWindow(window)) window->close();
  }
  QWidget::closeEvent(event);
}

bool CQuelmarDlg::IsOwnedWindow(const QWidget* window) const {
  for (const QWidget* owner = window->parentWidget(); owner; owner = owner->parentWidget()) {
    if (owner == this) return true;
  }
  return false;
}

void CQuelmarDlg::OnMinimize() { showMinimized(); }

void CQuelmarDlg::OnClose() { close(); }

void CQuelmarDlg::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CQuelmarDlg::dropEvent(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  m_pCatalogue->AddPaths(paths);
  event->acceptProposedAction();
}

void CQuelmarDlg::OnSettings() {
  if (!m_pSettingDlg) {
    m_pSettingDlg = new CSettingDlg(this, m_texts.read, m_drives);
    m_pSettingDlg->Create();
    connect(m_pSettingDlg, &CSettingDlg::LanguageChanged, this, &CQuelmarDlg::OnLanguageChanged);
    m_pCatalogue->SetZoneBiasSource([dialog = m_pSettingDlg]() -> std::optional<int> {
      if (!dialog) return std::nullopt;
      return ZoneOffsetMinutes(dialog->ZoneQuarterHours());
    });
  }
  m_pSettingDlg->show();
  m_pSettingDlg->raise();
}

// The settings dialog closed. Another language is kept for the next start and shown at once, read from the
// file that now holds it (the user's copy when the installed file is read-only), by this window and by the
// dialog. New titles empty the list, so the language already saved changes nothing.
void CQuelmarDlg::OnLanguageChanged(int language) {
  const std::optional<ProfileFile> shown = ProfileFile::Load(m_texts.read);
  if (language < 0 || (shown && IsSavedLanguage(*shown, language))) return;
  const std::optional<std::filesystem::path> kept = m_texts.saveSelected(language);
  if (!kept) return;
  m_texts.read = *kept;
  if (m_pSettingDlg) m_pSettingDlg->SetTextTablePath(m_texts.read);
  LoadTexts();
}

// The card whose file system held the playing recording went away: stop as the stop button does (views
// hidden, labels and slider at zero, nothing playing), keeping the rows.
void CQuelmarDlg::OnMountsChanged() {
  if (!IsLoaded() || m_strPlayingMountPoint.isEmpty()) return;
  const QString path = QString::fromStdString(m_engine.Recording()->FilePath());
  if (m_drives.MountPointOf(path) == m_strPlayingMountPoint) return;
  StopPlayback();
}

}  // namespace vx
