// The settings dialog's start-up and handlers: the card and its record, presets, bitrate limit, cut-off,
// language, time zone and clock, SAVE, CANCEL and SELECT.
#include "settings/CSettingDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QWindow>

#include "core/settings/TimeZones.h"
#include "core/text/TextTable.h"
#include "settings/CFieldTextEdit.h"
#include "settings/CSelectDriveDlg.h"
#include "settings/IDriveList.h"
#include "settings/SettingDlgIds.h"

namespace vx {
namespace {

constexpr const char* kWindowTitle = "Setup ZedezOda[Ver 2.0.1]";

// Slider positions set by the quick buttons (the record then stores 100 - position).
struct QuickPreset {
  int buttonId;
  int firstSliderId;
  std::array<int, 3> positions;  // front/back, left/right, top/bottom
};
constexpr QuickPreset kQuickPresets[] = {
    {IDC_DRIVE_INSENSITIVE, IDC_DRIVE_FB, {0, 0, 0}},       {IDC_DRIVE_NORMALLY, IDC_DRIVE_FB, {40, 60, 60}},
    {IDC_DRIVE_SENSITIVE, IDC_DRIVE_FB, {90, 90, 90}},      {IDC_PARKING_INSENSITIVE, IDC_PARKING_FB, {0, 0, 0}},
    {IDC_PARKING_NORMALLY, IDC_PARKING_FB, {70, 70, 70}},   {IDC_PARKING_SENSITIVE, IDC_PARKING_FB, {90, 90, 90}},
};

// Which control shows which choice.
constexpr std::pair<int, int SettingChoices::*> kRadioChoices[] = {
    {IDC_RECORDING_USE, &SettingChoices::recordSound}, {IDC_BUZZER_USE, &SettingChoices::buzzer},
    {IDC_PARKING_SD_USE, &SettingChoices::parkingSDUsage}, {IDC_MIC_USE, &SettingChoices::mic},
    {IDC_VOICE_USE, &SettingChoices::voice},           {IDC_REAR_CAMERA_USE, &SettingChoices::rearCamera},
    {IDC_SPEED_KMH, &SettingChoices::speedUnit},       {IDC_VIDEO_HD, &SettingChoices::hdVga},
};
constexpr std::pair<int, int SettingChoices::*> kSliderChoices[] = {
    {IDC_FRONT_BITRATE, &SettingChoices::frontMbps},
    {IDC_REAR_BITRATE, &SettingChoices::rearMbps},
    {IDC_CUT_OFF, &SettingChoices::cutOffPos},
};
constexpr std::pair<int, bool SettingChoices::*> kCheckChoices[] = {
    {IDC_TIME_SET_USE, &SettingChoices::timeSetUse},
    {IDC_SUMMER_TIME, &SettingChoices::summerTime},
};
constexpr std::pair<int, std::u16string SettingChoices::*> kTextChoices[] = {
    {IDC_SERIAL, &SettingChoices::serialNumber},
    {IDC_COMPANY, &SettingChoices::company},
    {IDC_CAR_LICENCE, &SettingChoices::carLicence},
};

ProfileFile LoadTextTable(const std::filesystem::path& path) { return ProfileFile::Load(path).value_or(ProfileFile{}); }

std::string LocalPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString WithSlash(const QString& folder) { return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'); }

void SetControlText(QWidget* control, const QString& text) {
  if (auto* label = qobject_cast<QLabel*>(control)) label->setText(text);
  if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setText(text);
  if (auto* group = qobject_cast<QGroupBox*>(control)) group->setTitle(text);
}

}  // namespace

CSettingDlg::CSettingDlg(QWidget* pParent, std::filesystem::path textTablePath, IDriveList& drives, UtcSource utcNow)
    : QDialog(pParent),
      m_textTablePath(std::move(textTablePath)),
      m_drives(drives),
      m_utcNow(std::move(utcNow)),
      m_setup(MakeDefaultRecord(0)) {
  CreateControls();
  ConnectCommands();
}

CSettingDlg::~CSettingDlg() {
  if (m_pClockThread != nullptr) m_pClockThread->Stop();
}

void CSettingDlg::ConnectCommands() {
  using Handler = void (CSettingDlg::*)();
  const std::pair<int, Handler> buttons[] = {
      {IDC_SELECT, &CSettingDlg::OnSelect}, {IDC_SAVE, &CSettingDlg::OnSave},   {IDC_CANCEL, &CSettingDlg::OnCancel},
      {IDC_VIDEO_HD, &CSettingDlg::OnHd},   {IDC_VIDEO_VGA, &CSettingDlg::OnVga},
  };
  for (const auto& [id, handler] : buttons) connect(Item<QAbstractButton>(id), &QAbstractButton::clicked, this, handler);
  for (const QuickPreset& preset : kQuickPresets) {
    connect(Item<QAbstractButton>(preset.buttonId), &QAbstractButton::clicked, this,
            [this, id = preset.buttonId] { OnQuickPreset(id); });
  }
  using ValueHandler = void (CSettingDlg::*)(int);
  const std::pair<int, ValueHandler> sliders[] = {
      {IDC_FRONT_BITRATE, &CSettingDlg::OnFrontBitrate},
      {IDC_REAR_BITRATE, &CSettingDlg::OnRearBitrate},
      {IDC_CUT_OFF, &CSettingDlg::OnCutOff},
  };
  for (const auto& [id, handler] : sliders) connect(Item<QSlider>(id), &QSlider::valueChanged, this, handler);
  connect(Item<QComboBox>(IDC_LANGUAGE), &QComboBox::currentIndexChanged, this, &CSettingDlg::OnLanguageChange);
  connect(Item<QComboBox>(IDC_TIME_ZONE), &QComboBox::currentIndexChanged, this, &CSettingDlg::OnZoneChange);
}

void CSettingDlg::Create() {
  setWindowTitle(QString::fromLatin1(kWindowTitle));
  LoadTexts(0);
  StartZoneAndClock();
  AdoptCardFolder(RunDriveSelection());
  ShowChoices(ChoicesFromRecord(m_setup));
}

QWidget* CSettingDlg::GetDlgItem(int id) const {
  const auto found = m_controls.find(id);
  return found != m_controls.end() ? found->second : nullptr;
}

template <typename T>
T* CSettingDlg::Item(int id) const {
  return qobject_cast<T*>(m_controls.at(id));
}

int CSettingDlg::RadioIndex(int firstId) const { return m_radioGroups.at(firstId)->checkedId(); }

void CSettingDlg::SetRadioIndex(int firstId, int index) {
  QButtonGroup* group = m_radioGroups.at(firstId);
  if (QAbstractButton* button = group->button(index)) {
    button->setChecked(true);
    return;
  }
  // A value the dialog does not know: no button of the group checked.
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) button->setChecked(false);
  group->setExclusive(true);
}

void CSettingDlg::SetSliders(int firstId, const std::array<int, 3>& positions) {
  for (int i = 0; i < 3; ++i) Item<QSlider>(firstId + i)->setValue(positions[static_cast<std::size_t>(i)]);
}

std::array<int, 3> CSettingDlg::Sliders(int firstId) const {
  return {Item<QSlider>(firstId)->value(), Item<QSlider>(firstId + 1)->value(), Item<QSlider>(firstId + 2)->value()};
}

SettingChoices CSettingDlg::CurrentChoices() const {
  SettingChoices c;
  c.drive = Sliders(IDC_DRIVE_FB);
  c.parking = Sliders(IDC_PARKING_FB);
  for (const auto& [id, member] : kRadioChoices) c.*member = RadioIndex(id);
  for (const auto& [id, member] : kSliderChoices) c.*member = Item<QSlider>(id)->value();
  for (const auto& [id, member] : kCheckChoices) c.*member = Item<QCheckBox>(id)->isChecked();
  for (const auto& [id, member] : kTextChoices) c.*member = Item<QLineEdit>(id)->text().toStdU16String();
  return c;
}

void CSettingDlg::ShowChoices(const SettingChoices& c) {
  SetSliders(IDC_DRIVE_FB, c.drive);
  SetSliders(IDC_PARKING_FB, c.parking);
  for (const auto& [id, member] : kRadioChoices) SetRadioIndex(id, c.*member);
  // The VGA limit is for the user's moves: a record is shown as it is stored, so an untouched SAVE keeps it.
  const QSignalBlocker noFrontLimit(Item<QSlider>(IDC_FRONT_BITRATE));
  const QSignalBlocker noRearLimit(Item<QSlider>(IDC_REAR_BITRATE));
  for (const auto& [id, member] : kSliderChoices) Item<QSlider>(id)->setValue(c.*member);
  OnCutOff(c.cutOffPos);  // the label also when the position did not change
  for (const auto& [id, member] : kCheckChoices) Item<QCheckBox>(id)->setChecked(c.*member);
  for (const auto& [id, member] : kTextChoices) Item<QLineEdit>(id)->setText(QString::fromStdU16String(c.*member));
}

void CSettingDlg::ShowDeviceValues() {
  Item<QLabel>(IDC_PRODUCT)->setText(QString::fromStdU16String(NarrowFieldText(m_setup.szProductName)));
  Item<QLabel>(IDC_FW)->setText(QString::fromStdU16String(NarrowFieldText(m_setup.szFWVersion)));
  Item<QLabel>(IDC_ROM_COUNT)->setText(QString::fromStdString(RomCountText(m_setup.dwRomCount)));
}

void CSettingDlg::LoadTexts(int language) {
  const SettingTexts texts = LoadSettingTexts(LoadTextTable(m_textTablePath), language);
  for (const ControlText& text : texts.texts) SetControlText(GetDlgItem(text.controlId), QString::fromStdU16String(text.text));
  if (language != 0) return;
  auto* languages = Item<QComboBox>(IDC_LANGUAGE);
  m_bFillingLanguages = true;
  languages->clear();
  for (const std::u16string& name : texts.languages) languages->addItem(QString::fromStdU16String(name));
  const int selected = texts.selected.value_or(-1);
  languages->setCurrentIndex(selected < languages->count() ? selected : -1);
  m_bFillingLanguages = false;
}

// A folder without a valid setup.cfg gets the defaults. The controls keep what the user set. Temporary copies
// that killed saves left on the card go.
void CSettingDlg::AdoptCardFolder(const QString& folder) {
  m_strCardFolder = folder;
  if (!folder.isEmpty()) RemoveStaleTemporaries(std::filesystem::path(LocalPath(folder)) / kSetupFileName);
  ReadCardRecord();
}

// The card's record supplies every field SAVE keeps: another card's device values never travel along.
void CSettingDlg::ReadCardRecord() {
  const auto record = m_strCardFolder.isEmpty() ? std::nullopt : ReadSetupRecord(LocalPath(m_strCardFolder));
  m_setup = record.value_or(MakeDefaultRecord(m_nZoneQuarterHours));
  m_setup.nTimeZone = m_nZoneQuarterHours;
  ShowDeviceValues();
}

void CSettingDlg::StartZoneAndClock() {
  const ComputerZone computer = StandardComputerZone(m_utcNow());
  m_strZoneLabel = QString::fromStdString(ComputerZoneLabel(computer));
  m_nZoneQuarterHours = vx::ZoneQuarterHours(computer.offsetMinutes);
  m_setup.nTimeZone = m_nZoneQuarterHours;
  m_clock.SetOffsetMinutes(computer.offsetMinutes);
  auto* zones = Item<QComboBox>(IDC_TIME_ZONE);
  {
    const QSignalBlocker noZoneChange(zones);  // preselecting is not a choice of the user
    for (const TimeZoneEntry& zone : TimeZoneTable()) {
      zones->addItem(QString::fromLatin1(zone.text.data(), static_cast<qsizetype>(zone.text.size())));
    }
    const auto index = ZoneIndexOfLabel(ComputerZoneLabel(computer));
    zones->setCurrentIndex(index ? static_cast<int>(*index) : -1);
  }
  const CZoneClock::Reading first = m_clock.Tick(m_utcNow());
  OnClockText(QString::fromStdString(first.text), first.offsetMinutes);
  m_pClockThread = new CClockThread(m_clock, m_utcNow, this);
  connect(m_pClockThread, &CClockThread::ClockText, this, &CSettingDlg::OnClockText);
  m_pClockThread->start();
}

QString CSettingDlg::RunDriveSelection() {
  CSelectDriveDlg dialog(m_drives, LoadTextTable(m_textTablePath), this);
  return dialog.DoModal() == QDialog::Accepted ? dialog.Drive() : QString();
}

QString CSettingDlg::BrowseCardFolder() { return QFileDialog::getExistingDirectory(this); }

void CSettingDlg::OnSelect() {
  const QString folder = RunDriveSelection();
  if (folder.isEmpty()) {
    m_strCardFolder.clear();  // SAVE asks for a folder
  } else {
    AdoptCardFolder(folder);
  }
}

void CSettingDlg::OnSave() {
  if (m_strCardFolder.isEmpty()) {
    const QString folder = BrowseCardFolder();
    if (folder.isEmpty()) return;
    AdoptCardFolder(WithSlash(folder));
  } else {
    // The camera may have rewritten the card since it was read, or another card taken its place: the fields
    // SAVE keeps (counter, device values, firmware) come from what the card holds now.
    ReadCardRecord();
  }
  OnZoneChange();
  const QString file = m_strCardFolder + QString::fromLatin1(kSetupFileName);
  const auto record = CollectRecord(m_setup, CurrentChoices(), m_nZoneQuarterHours, m_clock.Snapshot());
  if (!record) return ShowSaveFailure(file, Item<CFieldTextEdit>(IDC_SERIAL)->RefusalText());
  const FileWriteResult result = WriteSetupRecord(LocalPath(m_strCardFolder), *record);
  if (!result) return ShowSaveFailure(file, QString::fromStdString(result.Describe()));
  m_setup = *record;
  OnCancel();
}

void CSettingDlg::ShowSaveFailure(const QString& file, const QString& reason) {
  auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(),
                              tr("The settings were not saved to %1.\n%2").arg(file, reason), QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

void CSettingDlg::OnCancel() {
  emit LanguageChanged(Item<QComboBox>(IDC_LANGUAGE)->currentIndex());
  reject();
}

void CSettingDlg::OnQuickPreset(int buttonId) {
  for (const QuickPreset& preset : kQuickPresets) {
    if (preset.buttonId == buttonId) SetSliders(preset.firstSliderId, preset.positions);
  }
}

void CSettingDlg::OnHd() {
  Item<QSlider>(IDC_FRONT_BITRATE)->setValue(kBitrateMaxMbps);
  Item<QSlider>(IDC_REAR_BITRATE)->setValue(kBitrateMaxMbps);
}

void CSettingDlg::OnVga() {
  Item<QSlider>(IDC_FRONT_BITRATE)->setValue(kBitrateMaxMbps);
  Item<QSlider>(IDC_REAR_BITRATE)->setValue(kBitrateMinMbps);
}

void CSettingDlg::OnFrontBitrate(int mbps) {
  auto* rear = Item<QSlider>(IDC_REAR_BITRATE);
  if (RadioIndex(IDC_VIDEO_HD) == kVga && rear->value() > VgaBitrateCap(mbps)) rear->setValue(VgaBitrateCap(mbps));
}

void CSettingDlg::OnRearBitrate(int mbps) {
  auto* front = Item<QSlider>(IDC_FRONT_BITRATE);
  if (RadioIndex(IDC_VIDEO_HD) == kVga && front->value() > VgaBitrateCap(mbps)) front->setValue(VgaBitrateCap(mbps));
}

void CSettingDlg::OnCutOff(int position) {
  Item<QLabel>(IDC_CUT_OFF_VALUE)->setText(QString::fromStdString(CutOffText(position)));
}

void CSettingDlg::OnLanguageChange(int index) {
  if (!m_bFillingLanguages && index >= 0) LoadTexts(index + 1);
}

void CSettingDlg::OnZoneChange() {
  const int index = Item<QComboBox>(IDC_TIME_ZONE)->currentIndex();
  const auto zones = TimeZoneTable();
  // With no zone selected the computer's zone stays, so the saved time always matches the saved zone.
  if (index < 0 || static_cast<std::size_t>(index) >= zones.size()) return;
  const TimeZoneEntry& zone = zones[static_cast<std::size_t>(index)];
  m_strZoneLabel = QString::fromLatin1(ZoneLabel(zone).data(), static_cast<qsizetype>(kZoneLabelLength));
  m_nZoneQuarterHours = vx::ZoneQuarterHours(zone.offsetMinutes);
  m_setup.nTimeZone = m_nZoneQuarterHours;
  m_clock.SetOffsetMinutes(zone.offsetMinutes);
}

void CSettingDlg::OnClockText(const QString& text, int offsetMinutes) {
  // A text still on its way when the zone changed would show the old zone's time beside the new label.
  if (offsetMinutes != m_clock.OffsetMinutes()) return;
  Item<QLineEdit>(IDC_CLOCK)->setText(
      QString::fromStdString(ClockDisplay(text.toStdString(), m_strZoneLabel.toStdString())));
}

void CSettingDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
  // The window manager moves the window where it can (X11 and Wayland); elsewhere the dialog follows the mouse.
  if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
  m_bDragging = true;
  m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CSettingDlg::mouseMoveEvent(QMouseEvent* event) {
  if (m_bDragging && (event->buttons() & Qt::LeftButton)) move(event->globalPosition().toPoint() - m_dragOffset);
}

void CSettingDlg::mouseReleaseEvent(QMouseEvent* event) {
  m_bDragging = false;
  QDialog::mouseReleaseEvent(event);
}

}  // namespace vx
