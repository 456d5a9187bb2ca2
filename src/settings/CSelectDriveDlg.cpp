// The drive selection dialog: the list of removable volumes, the first selected, OK or Esc.
#include "settings/CSelectDriveDlg.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include "core/text/TextTable.h"
#include "settings/IDriveList.h"
#include "settings/SettingDlgIds.h"

namespace vx {

CSelectDriveDlg::CSelectDriveDlg(const IDriveList& drives, const ProfileFile& texts, QWidget* parent)
    : QDialog(parent),
      m_pDriveList(new QComboBox(this)),
      m_pDriveLabel(new QLabel(QStringLiteral("Drive:"), this)),
      m_pHelp(new QLabel(QStringLiteral("Black box that is used to choose the drive."), this)),
      m_pOk(new QPushButton(QStringLiteral("OK"), this)) {
  setWindowTitle(QStringLiteral("Drive Select"));
  m_pDriveList->setEditable(true);  // a folder may be typed instead of a volume chosen
  m_pDriveList->addItems(drives.RemovableVolumes());
  m_pDriveList->model()->sort(0);
  m_pDriveList->setCurrentIndex(0);
  m_pDriveList->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  m_pDriveList->setMinimumContentsLength(24);
  m_pHelp->setWordWrap(true);
  m_pOk->setDefault(true);
  for (const auto& [id, widget] : {std::pair<int, QWidget*>{IDC_DRIVE_LIST, m_pDriveList},
                                   {IDC_DRIVE_LABEL, m_pDriveLabel}, {IDC_DRIVE_HELP, m_pHelp}, {IDOK_DRIVE, m_pOk}}) {
    widget->setObjectName(QString::number(id));
  }
  for (const ControlText& text : LoadDriveSelectionTexts(texts)) {
    const QString label = QString::fromStdU16String(text.text);
    if (text.controlId == IDC_DRIVE_LABEL) m_pDriveLabel->setText(label);
    if (text.controlId == IDC_DRIVE_HELP) m_pHelp->setText(label);
    if (text.controlId == IDOK_DRIVE) m_pOk->setText(label);
  }

  auto* layout = new QGridLayout(this);
  layout->addWidget(m_pDriveLabel, 0, 0);
  layout->addWidget(m_pDriveList, 0, 1);
  layout->addWidget(m_pOk, 0, 2);
  layout->addWidget(m_pHelp, 1, 0, 1, 3);
  connect(m_pOk, &QPushButton::clicked, this, &CSelectDriveDlg::OnOK);
}

int CSelectDriveDlg::DoModal() {
  if (m_pDriveList->count() == 0) return QDialog::Rejected;
  return exec();
}

QWidget* CSelectDriveDlg::GetDlgItem(int id) const { return findChild<QWidget*>(QString::number(id)); }

void CSelectDriveDlg::OnOK() {
  const QString typed = m_pDriveList->currentText().trimmed();
  const QString folder = typed.endsWith(QLatin1Char('/')) ? typed : typed + QLatin1Char('/');
  const QFileInfo info(folder);
  if (typed.isEmpty() || !info.isAbsolute() || !info.isDir()) {
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(),
                                tr("%1 is not an existing folder. Choose a drive or type the full path of a folder.")
                                    .arg(typed),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return;
  }
  m_strDrive = folder;
  accept();
}

}  // namespace vx
