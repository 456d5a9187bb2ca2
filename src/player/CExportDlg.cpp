// The export dialog. The worker hands progress and the outcome to the dialog's thread by queued calls that Qt
// drops once the dialog is gone; the dialog never goes before its worker ends.
#include "player/CExportDlg.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QMetaObject>
#include <QVBoxLayout>

#include <algorithm>

#include "core/export/SpanMarks.h"

namespace vx {
namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// The result as the user reads it: the files written and the notes, or why nothing was kept.
QString OutcomeText(const ExportReport& report) {
  if (report.cancelled) return QStringLiteral("Cancelled: nothing was kept.");
  if (!report.ok) return QStringLiteral("The export failed: %1\nNothing was kept.").arg(Text(report.error));
  QString text = QStringLiteral("Written:");
  for (const std::string& path : report.written) text += QStringLiteral("\n  ") + Text(path);
  text += QStringLiteral("\nSpan: ") + Text(report.widening);
  if (!report.notes.empty()) text += QStringLiteral("\nNotes:");
  for (const std::string& note : report.notes) text += QStringLiteral("\n  ") + Text(note);
  return text;
}

}  // namespace

CExportDlg::CExportDlg(const QString& span, const QString& defaultPath, RequestMaker makeRequest, QWidget* parent)
    : QDialog(parent), m_makeRequest(std::move(makeRequest)) {
  setWindowTitle(QStringLiteral("Export"));
  m_pPath = new QLineEdit(defaultPath, this);
  m_pBrowse = new QPushButton(QStringLiteral("Browse\u2026"), this);
  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(m_pPath, 1);
  pathRow->addWidget(m_pBrowse);
  m_pRear = new QComboBox(this);
  m_pRear->addItem(QStringLiteral("Picture in picture"), static_cast<int>(RearLayout::PictureInPicture));
  m_pRear->addItem(QStringLiteral("Side by side"), static_cast<int>(RearLayout::SideBySide));
  m_pRear->addItem(QStringLiteral("Left out"), static_cast<int>(RearLayout::None));
  // Sound is off until asked for: voices in the car are personal data, and a picture rarely needs them.
  m_pSound = new QCheckBox(QStringLiteral("With sound (voices in the car are personal data)"), this);
  m_pCopy = new QCheckBox(QStringLiteral("No re-encoding: each camera's stream as it is, from the key frame "
                                         "before the span"), this);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Span:"), new QLabel(span, this));
  form->addRow(QStringLiteral("File:"), pathRow);
  form->addRow(QStringLiteral("Rear picture:"), m_pRear);
  form->addRow(QString(), m_pSound);
  form->addRow(QString(), m_pCopy);
  m_pProgress = new QProgressBar(this);
  m_pProgress->setRange(0, 1000);
  m_pProgress->setValue(0);
  m_pTimeLeft = new QLabel(this);
  m_pResult = new QLabel(this);
  m_pResult->setWordWrap(true);
  m_pResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_pExport = new QPushButton(QStringLiteral("Export"), this);
  m_pExport->setDefault(true);
  m_pCancel = new QPushButton(QStringLiteral("Cancel"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_pExport);
  buttons->addWidget(m_pCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(m_pProgress);
  layout->addWidget(m_pTimeLeft);
  layout->addWidget(m_pResult, 1);
  layout->addLayout(buttons);
  setMinimumWidth(560);

  connect(m_pBrowse, &QPushButton::clicked, this, &CExportDlg::Browse);
  connect(m_pExport, &QPushButton::clicked, this, &CExportDlg::StartExport);
  connect(m_pCancel, &QPushButton::clicked, this, &CExportDlg::reject);
  // Copies keep the pictures as they are: there is no rear placement to choose.
  connect(m_pCopy, &QCheckBox::toggled, this, [this](bool copy) { m_pRear->setEnabled(!copy); });
}

CExportDlg::~CExportDlg() {
  m_bCancel = true;
  JoinWorker();
}

void CExportDlg::JoinWorker() {
  if (m_worker.joinable()) m_worker.join();
}

void CExportDlg::Browse() {
  const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export to"), m_pPath->text(),
                                                    QStringLiteral("MP4 video (*.mp4)"));
  if (!path.isEmpty()) m_pPath->setText(path);
}

void CExportDlg::StartExport() {
  if (IsRunning() || m_pPath->text().trimmed().isEmpty()) return;
  JoinWorker();  // an export that finished before: its worker has ended
  ExportRequest choices;
  choices.outPath = QFile::encodeName(QDir::cleanPath(m_pPath->text().trimmed())).toStdString();
  choices.rear = static_cast<RearLayout>(m_pRear->currentData().toInt());
  choices.sound = m_pSound->isChecked();
  choices.copy = m_pCopy->isChecked();
  for (QWidget* choice : std::initializer_list<QWidget*>{m_pPath, m_pBrowse, m_pRear, m_pSound, m_pCopy, m_pExport}) {
    choice->setEnabled(false);
  }
  m_pCancel->setText(QStringLiteral("Cancel"));
  m_pProgress->setValue(0);
  m_pTimeLeft->setText(Text(TimeLeftText(std::nullopt)));
  m_pResult->clear();
  m_report.reset();
  m_bCancel = false;
  m_elapsed.start();
  m_worker = std::thread([this, choices] {
    ExportRequest request = m_makeRequest();
    request.outPath = choices.outPath;
    request.rear = choices.rear;
    request.sound = choices.sound;
    request.copy = choices.copy;
    const ExportProgress progress = [this](std::int64_t doneMs, std::int64_t totalMs) {
      QMetaObject::invokeMethod(this, [this, doneMs, totalMs] { ShowProgress(doneMs, totalMs); }, Qt::QueuedConnection);
    };
    ExportReport report = ExportEvidence(request, progress, &m_bCancel);
    if (m_bCancel && !report.ok) report.cancelled = true;
    QMetaObject::invokeMethod(this, [this, report] { ShowOutcome(report); }, Qt::QueuedConnection);
  });
}

void CExportDlg::CancelExport() {
  if (!IsRunning()) return;
  m_bCancel = true;
  m_pTimeLeft->setText(QStringLiteral("Cancelling\u2026"));
}

void CExportDlg::reject() {
  if (IsRunning()) {
    CancelExport();
    return;
  }
  QDialog::reject();
}

void CExportDlg::ShowProgress(std::int64_t doneMs, std::int64_t totalMs) {
  if (m_report || m_bCancel) return;
  m_pProgress->setValue(totalMs > 0 ? static_cast<int>(std::clamp<std::int64_t>(doneMs * 1000 / totalMs, 0, 1000)) : 0);
  m_pTimeLeft->setText(Text(TimeLeftText(ExportTimeLeftMs(doneMs, totalMs, m_elapsed.elapsed()))));
}

void CExportDlg::ShowOutcome(const ExportReport& report) {
  m_report = report;
  JoinWorker();
  if (report.ok) m_pProgress->setValue(m_pProgress->maximum());
  m_pTimeLeft->clear();
  m_pResult->setText(OutcomeText(report));
  m_pCancel->setText(QStringLiteral("Close"));
  // Another try after a failure or a cancel may change the file or the options.
  for (QWidget* choice : std::initializer_list<QWidget*>{m_pPath, m_pBrowse, m_pSound, m_pCopy, m_pExport}) {
    choice->setEnabled(!report.ok);
  }
  m_pRear->setEnabled(!report.ok && !m_pCopy->isChecked());
  emit exportFinished();
}

}  // namespace vx
