// The settings dialog's controls with their IDs and template texts, in group boxes laid out in two columns.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "settings/CFieldTextEdit.h"
#include "settings/CSettingDlg.h"
#include "settings/SettingDlgIds.h"

namespace vx {

// One radio pair with its label; a label ID of 0 means the pair has none.
struct RadioRow {
  int labelId;
  const char* label;
  int firstId;
  const char* first;
  int secondId;
  const char* second;
};

// The controls of one impulse group (drive or parking).
struct ImpulseIds {
  int group, quickLabel, userLabel, lowEnd, highEnd;
  std::array<int, 3> presets;
  std::array<int, 3> axisLabels;
  int firstSlider;
};

namespace {

constexpr ImpulseIds kDriveImpulse{IDC_DRIVE_GROUP, IDC_DRIVE_QUICK_LABEL, IDC_DRIVE_USER_LABEL, IDC_DRIVE_LOW_END,
                                   IDC_DRIVE_HIGH_END, {IDC_DRIVE_INSENSITIVE, IDC_DRIVE_NORMALLY, IDC_DRIVE_SENSITIVE},
                                   {IDC_DRIVE_FB_LABEL, IDC_DRIVE_LR_LABEL, IDC_DRIVE_TB_LABEL}, IDC_DRIVE_FB};
constexpr ImpulseIds kParkingImpulse{
    IDC_PARKING_GROUP, IDC_PARKING_QUICK_LABEL, IDC_PARKING_USER_LABEL, IDC_PARKING_LOW_END, IDC_PARKING_HIGH_END,
    {IDC_PARKING_INSENSITIVE, IDC_PARKING_NORMALLY, IDC_PARKING_SENSITIVE},
    {IDC_PARKING_FB_LABEL, IDC_PARKING_LR_LABEL, IDC_PARKING_TB_LABEL}, IDC_PARKING_FB};

constexpr const char* kPresetTexts[] = {"insensitive", "Nomally", "Sensitive"};
constexpr const char* kAxisTexts[] = {"Front/Back", "Left/Right", "Top/Bottom"};

constexpr RadioRow kMachineRows[] = {
    {IDC_SPEED_UNIT_LABEL, "◎ Speed Unit", IDC_SPEED_KMH, "Km/hour", IDC_SPEED_MPH, "Mile/hour"},
    {IDC_PARKING_SD_LABEL, "◎ Parking SD Usage", IDC_PARKING_SD_USE, "Use", IDC_PARKING_SD_NOT_USE, "Not Use"},
    {IDC_REAR_CAMERA_LABEL, "◎ Rear Camera", IDC_REAR_CAMERA_USE, "Use", IDC_REAR_CAMERA_NOT_USE, "Not Use"},
};
constexpr RadioRow kSoundRows[] = {
    {IDC_BUZZER_LABEL, "◎ Buzzer", IDC_BUZZER_USE, "Use", IDC_BUZZER_NOT_USE, "Not Use"},
    {IDC_MIC_LABEL, "◎ MIC", IDC_MIC_USE, "Use", IDC_MIC_NOT_USE, "Not Use"},
};
// Never shown: the sound recording and voice pairs carry their record fields through a save.
constexpr RadioRow kHiddenRows[] = {
    {IDC_RECORDING_LABEL, "◎ Recoding", IDC_RECORDING_USE, "Use", IDC_RECORDING_NOT_USE, "Not Use"},
    {IDC_VOICE_LABEL, "◎ VOICE", IDC_VOICE_USE, "Use", IDC_VOICE_NOT_USE, "Not Use"},
    {IDC_BATTERY_SAFE_LABEL, "◎ Battery safe", IDC_BATTERY_SAFE_ON, "On", IDC_BATTERY_SAFE_OFF, "Off"},
    {0, nullptr, IDC_SHARE_25, "25%", IDC_SHARE_50, "50%"},
    {0, nullptr, IDC_VIDEO_HD_OLD, "HD", IDC_VIDEO_VGA_OLD, "VGA"},
    {0, nullptr, IDC_VIDEO_HD, "HD", IDC_VIDEO_VGA, "VGA"},
};
constexpr const char* kBatteryTimerTexts[] = {"11.5V", "11.7V", "11.9V", "12.1V", " 6 Hour", "12 Hour", "24 Hour", "48 Hour"};

QString Text(const char* text) { return QString::fromUtf8(text); }

QSlider* MakeSlider(int minimum, int maximum) {
  auto* slider = new QSlider(Qt::Horizontal);
  slider->setRange(minimum, maximum);
  slider->setTickPosition(QSlider::NoTicks);
  slider->setMinimumWidth(150);
  return slider;
}

}  // namespace

template <typename T>
T* CSettingDlg::Add(int id, T* widget) {
  widget->setObjectName(QString::number(id));
  m_controls[id] = widget;
  return widget;
}

QButtonGroup* CSettingDlg::AddRadioGroup(std::initializer_list<QAbstractButton*> buttons) {
  auto* group = new QButtonGroup(this);
  int index = 0;
  for (QAbstractButton* button : buttons) group->addButton(button, index++);
  m_radioGroups[group->button(0)->objectName().toInt()] = group;
  return group;
}

void CSettingDlg::AddRadioRow(QGridLayout* grid, const RadioRow& row) {
  auto* first = Add(row.firstId, new QRadioButton(Text(row.first), this));
  auto* second = Add(row.secondId, new QRadioButton(Text(row.second), this));
  AddRadioGroup({first, second});
  QLabel* label = row.labelId != 0 ? Add(row.labelId, new QLabel(Text(row.label), this)) : nullptr;
  if (grid == nullptr) {
    for (QWidget* widget : std::initializer_list<QWidget*>{first, second, label}) {
      if (widget != nullptr) widget->hide();
    }
    return;
  }
  const int line = grid->rowCount();
  grid->addWidget(label, line, 0);
  grid->addWidget(first, line, 1);
  grid->addWidget(second, line, 2);
}

QGroupBox* CSettingDlg::CreateImpulseGroup(const ImpulseIds& ids, const char* title) {
  auto* group = Add(ids.group, new QGroupBox(Text(title), this));
  auto* grid = new QGridLayout(group);
  grid->addWidget(Add(ids.quickLabel, new QLabel(Text("◎ Quick Setting"))), 0, 0);
  auto* presets = new QHBoxLayout;
  std::array<QAbstractButton*, 3> buttons{};
  for (std::size_t i = 0; i < 3; ++i) {
    buttons[i] = Add(ids.presets[i], new QRadioButton(Text(kPresetTexts[i])));
    presets->addWidget(buttons[i]);
  }
  AddRadioGroup({buttons[0], buttons[1], buttons[2]});
  grid->addLayout(presets, 0, 1);
  grid->addWidget(Add(ids.userLabel, new QLabel(Text("◎ User Setting"))), 1, 0);
  auto* ends = new QHBoxLayout;
  ends->addWidget(Add(ids.lowEnd, new QLabel(Text("insensitive"))));
  ends->addStretch();
  ends->addWidget(Add(ids.highEnd, new QLabel(Text("sensitive"))));
  grid->addLayout(ends, 1, 1);
  for (int axis = 0; axis < 3; ++axis) {
    grid->addWidget(Add(ids.axisLabels[static_cast<std::size_t>(axis)], new QLabel(Text(kAxisTexts[axis]))), 2 + axis, 0);
    grid->addWidget(Add(ids.firstSlider + axis, MakeSlider(0, kImpulseMaxPosition)), 2 + axis, 1);
  }
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* CSettingDlg::CreateMachineGroup() {
  auto* group = Add(IDC_MACHINE_GROUP, new QGroupBox(Text("Machine"), this));
  auto* grid = new QGridLayout(group);
  for (const RadioRow& row : kMachineRows) AddRadioRow(grid, row);
  return group;
}

QGroupBox* CSettingDlg::CreateSoundGroup() {
  auto* group = Add(IDC_SOUND_GROUP, new QGroupBox(Text("Sound"), this));
  auto* grid = new QGridLayout(group);
  for (const RadioRow& row : kSoundRows) AddRadioRow(grid, row);
  return group;
}

QGroupBox* CSettingDlg::CreateBitrateGroup() {
  auto* group = Add(IDC_BITRATE_GROUP, new QGroupBox(Text("Set ZedezOda Time"), this));
  auto* grid = new QGridLayout(group);
  const std::pair<int, int> rows[] = {{IDC_FRONT_LABEL, IDC_FRONT_BITRATE}, {IDC_BACK_LABEL, IDC_REAR_BITRATE}};
  const char* labels[] = {"◎ Front", "◎ Back"};
  for (int line = 0; line < 2; ++line) {
    grid->addWidget(Add(rows[line].first, new QLabel(Text(labels[line]))), line, 0);
    grid->addWidget(new QLabel(QStringLiteral("2M")), line, 1);
    grid->addWidget(Add(rows[line].second, MakeSlider(kBitrateMinMbps, kBitrateMaxMbps)), line, 2);
    grid->addWidget(new QLabel(QStringLiteral("6M")), line, 3);
  }
  grid->setColumnStretch(2, 1);
  return group;
}

// Spans the dialog's width, so that the longest zone entry shows whole.
QGroupBox* CSettingDlg::CreateTimeGroup() {
  auto* group = Add(IDC_TIME_GROUP, new QGroupBox(Text("Time"), this));
  auto* grid = new QGridLayout(group);
  auto* zones = Add(IDC_TIME_ZONE, new QComboBox);
  grid->addWidget(zones, 0, 0, 1, 3);
  auto* clock = Add(IDC_CLOCK, new QLineEdit);
  clock->setReadOnly(true);
  clock->setMinimumWidth(clock->fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00, 00 : 00 : 00 (GMT+00:00) WWWWW")));
  grid->addWidget(clock, 1, 0);
  grid->addWidget(Add(IDC_TIME_SET_USE, new QCheckBox(Text("Time Set Use"))), 1, 1);
  grid->addWidget(Add(IDC_SUMMER_TIME, new QCheckBox(Text("Set Summer Time"))), 1, 2);
  grid->setColumnStretch(0, 1);
  return group;
}

QGroupBox* CSettingDlg::CreateLanguageGroup() {
  auto* group = Add(IDC_LANGUAGE_GROUP, new QGroupBox(Text("Language"), this));
  auto* box = new QVBoxLayout(group);
  box->addWidget(Add(IDC_LANGUAGE, new QComboBox));
  return group;
}

QGroupBox* CSettingDlg::CreateUserInfoGroup() {
  auto* group = Add(IDC_USER_INFO_GROUP, new QGroupBox(Text("User Info"), this));
  auto* grid = new QGridLayout(group);
  const std::tuple<int, const char*, QWidget*> rows[] = {
      {IDC_PRODUCT_LABEL, "◎ Product Name", Add(IDC_PRODUCT, new QLabel)},
      {IDC_SERIAL_LABEL, "◎ Serial Number", Add(IDC_SERIAL, new CFieldTextEdit(CFieldTextEdit::kSingleByte))},
      {IDC_ROM_COUNT_LABEL, "◎ Rom Count", Add(IDC_ROM_COUNT, new QLabel)},
      {IDC_FW_LABEL, "◎ F/W Version", Add(IDC_FW, new QLabel)},
      {IDC_COMPANY_LABEL, "◎ Company", Add(IDC_COMPANY, new CFieldTextEdit(CFieldTextEdit::kWide))},
      {IDC_CAR_LICENCE_LABEL, "◎ Car Licence", Add(IDC_CAR_LICENCE, new CFieldTextEdit(CFieldTextEdit::kWide))},
  };
  for (const auto& [labelId, label, value] : rows) {
    const int line = grid->rowCount();
    grid->addWidget(Add(labelId, new QLabel(Text(label))), line, 0);
    grid->addWidget(value, line, 1, 1, 2);
  }
  const int line = grid->rowCount();
  grid->addWidget(Add(IDC_CUT_OFF_LABEL, new QLabel(Text("차단전압설정"))), line, 0);
  grid->addWidget(Add(IDC_CUT_OFF, MakeSlider(0, kCutOffMaxPosition)), line, 1);
  grid->addWidget(Add(IDC_CUT_OFF_VALUE, new QLabel(Text("12.000 V"))), line, 2);
  grid->setColumnStretch(1, 1);
  return group;
}

QLayout* CSettingDlg::CreateButtons() {
  auto* row = new QHBoxLayout;
  for (const auto& [id, text] : {std::pair{IDC_SELECT, "SELECT"}, {IDC_SAVE, "SAVE"}, {IDC_CANCEL, "CANCEL"}}) {
    auto* button = Add(id, new QPushButton(Text(text), this));
    button->setAutoDefault(false);
    row->addWidget(button);
  }
  row->insertStretch(1);  // SELECT on the left, SAVE and CANCEL on the right
  return row;
}

void CSettingDlg::CreateHiddenControls() {
  for (const RadioRow& row : kHiddenRows) AddRadioRow(nullptr, row);
  auto* timer = Add(IDC_BATTERY_TIMER, new QComboBox(this));
  for (const char* text : kBatteryTimerTexts) timer->addItem(Text(text));
  timer->setCurrentIndex(2);
  timer->hide();
  Add(IDC_HW_UPDATE, new QPushButton(Text("H/W Update"), this))->hide();
  Add(IDC_EMPTY_STATIC, new QLabel(this))->hide();
}

void CSettingDlg::CreateControls() {
  auto* left = new QVBoxLayout;
  left->addWidget(CreateImpulseGroup(kDriveImpulse, "Drive impulse"));
  left->addWidget(CreateImpulseGroup(kParkingImpulse, "Parking impulse"));
  left->addWidget(CreateBitrateGroup());
  left->addStretch();
  auto* right = new QVBoxLayout;
  right->addWidget(CreateMachineGroup());
  right->addWidget(CreateSoundGroup());
  right->addWidget(CreateLanguageGroup());
  right->addWidget(CreateUserInfoGroup());
  right->addStretch();
  auto* columns = new QHBoxLayout;
  columns->addLayout(left);
  columns->addLayout(right);
  auto* page = new QVBoxLayout(this);
  page->addLayout(columns);
  page->addWidget(CreateTimeGroup());
  page->addLayout(CreateButtons());
  CreateHiddenControls();
}

}  // namespace vx
