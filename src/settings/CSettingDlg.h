// The settings dialog: the editor of the camera's settings file setup.cfg on the memory card.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <map>

#include "core/settings/SettingChoices.h"
#include "core/settings/SetupRecord.h"
#include "core/settings/ZoneClock.h"
#include "settings/CClockThread.h"

class QAbstractButton;
class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QLayout;

namespace vx {

class IDriveList;
struct RadioRow;
struct ImpulseIds;

// Modeless: the main window creates it on the first press of its settings button, calls Create() once, and
// shows the same object on later presses. The card is chosen in Create() and by SELECT; SAVE reads the
// card's record again and writes it back with the controls' choices.
class CSettingDlg : public QDialog {
  Q_OBJECT

 public:
  using UtcSource = std::function<std::int64_t()>;

  // pParent: the main window. textTablePath: the text table (Setting.ini) whose saved language labels the
  // dialog and the drive selection. drives: the removable volumes offered by the drive selection. utcNow:
  // the clock the camera time is read from (called on the clock thread).
  CSettingDlg(QWidget* pParent, std::filesystem::path textTablePath, IDriveList& drives,
              UtcSource utcNow = SystemUtcSeconds);
  ~CSettingDlg() override;

  // Start-up, once, before the first show(): texts and language list, the card chosen in the drive selection
  // and its setup.cfg (or the defaults), the computer's time zone and the clock thread.
  void Create();

  // The settings record's zone, quarter hours east of UTC (4 more after a save with summer time). While this
  // dialog exists the main window dates the catalogue with ZoneOffsetMinutes() of it (core/settings/TimeZones.h).
  std::int16_t ZoneQuarterHours() const { return m_setup.nTimeZone; }
  // The folder of setup.cfg, ending with "/"; empty when no card was chosen.
  const QString& CardFolder() const { return m_strCardFolder; }
  QWidget* GetDlgItem(int id) const;
  // The text table to read from now on: the main window moved the chosen language into another file.
  void SetTextTablePath(std::filesystem::path path) { m_textTablePath = std::move(path); }

 signals:
  // Message 0x7E8: the dialog closed through SAVE or CANCEL. nLanguage is the position chosen in the language
  // list (-1 for none); the main window keeps it where the next start reads it and shows its texts.
  void LanguageChanged(int nLanguage);

 protected:
  // The card's folder from the drive selection dialog; empty when it was cancelled or there was no volume.
  virtual QString RunDriveSelection();
  // A folder for setup.cfg from a folder browser, when SAVE has no card; empty when cancelled.
  virtual QString BrowseCardFolder();

  // Any free spot of the dialog drags it.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Controls (CSettingDlgControls.cpp)
  void CreateControls();
  QGroupBox* CreateImpulseGroup(const ImpulseIds& ids, const char* title);
  QGroupBox* CreateMachineGroup();
  QGroupBox* CreateSoundGroup();
  QGroupBox* CreateBitrateGroup();
  QGroupBox* CreateTimeGroup();
  QGroupBox* CreateLanguageGroup();
  QGroupBox* CreateUserInfoGroup();
  QLayout* CreateButtons();
  void CreateHiddenControls();
  void ConnectCommands();
  template <typename T>
  T* Add(int id, T* widget);
  void AddRadioRow(QGridLayout* grid, const RadioRow& row);
  QButtonGroup* AddRadioGroup(std::initializer_list<QAbstractButton*> buttons);
  template <typename T>
  T* Item(int id) const;
  int RadioIndex(int firstId) const;
  void SetRadioIndex(int firstId, int index);
  void SetSliders(int firstId, const std::array<int, 3>& positions);
  std::array<int, 3> Sliders(int firstId) const;

  // Handlers (CSettingDlg.cpp)
  void OnSave();
  void OnCancel();
  void OnSelect();
  void OnQuickPreset(int buttonId);
  void OnHd();
  void OnVga();
  void OnFrontBitrate(int mbps);
  void OnRearBitrate(int mbps);
  void OnCutOff(int position);
  void OnLanguageChange(int index);
  void OnZoneChange();
  void OnClockText(const QString& text, int offsetMinutes);

  void LoadTexts(int language);
  void StartZoneAndClock();
  void AdoptCardFolder(const QString& folder);
  void ReadCardRecord();
  void ShowDeviceValues();
  SettingChoices CurrentChoices() const;
  void ShowChoices(const SettingChoices& choices);
  void ShowSaveFailure(const QString& file, const QString& reason);

  std::filesystem::path m_textTablePath;
  IDriveList& m_drives;
  UtcSource m_utcNow;
  std::map<int, QWidget*> m_controls;
  std::map<int, QButtonGroup*> m_radioGroups;  // by the ID of the group's first button

  SetupRecord m_setup;
  QString m_strCardFolder;
  QString m_strZoneLabel;
  std::int16_t m_nZoneQuarterHours = 0;  // the selected zone without summer time
  bool m_bFillingLanguages = false;

  CZoneClock m_clock;
  CClockThread* m_pClockThread = nullptr;

  bool m_bDragging = false;
  QPoint m_dragOffset;
};

}  // namespace vx
