// The drive selection dialog: pick the camera's memory card among the mounted removable volumes.
#pragma once

#include <QDialog>
#include <QString>

#include "core/text/ProfileFile.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vx {

class IDriveList;

class CSelectDriveDlg : public QDialog {
  Q_OBJECT

 public:
  // texts: the text table (Setting.ini) whose selected language labels the dialog.
  CSelectDriveDlg(const IDriveList& drives, const ProfileFile& texts, QWidget* parent = nullptr);

  // Runs the dialog modally; with no removable volume it does not show and answers QDialog::Rejected at once.
  // After Accepted, Drive() is the chosen volume or the typed folder, ending with "/".
  int DoModal();
  const QString& Drive() const { return m_strDrive; }

  QWidget* GetDlgItem(int id) const;

 private:
  void OnOK();

  QComboBox* m_pDriveList;
  QLabel* m_pDriveLabel;
  QLabel* m_pHelp;
  QPushButton* m_pOk;
  QString m_strDrive;
};

}  // namespace vx
