// The events window: the card index is read by its reader; closing the window stops the reading, which ends
// after the recording it is at.
#include "player/CEventsDlg.h"

#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QShortcut>
#include <QVBoxLayout>

#include "core/export/ExportPlan.h"

namespace vx {
namespace {

constexpr const char* kColumnTitles[] = {"Time", "Kind", "Strength", "Place", "Recording"};
constexpr int kStrengthColumn = 2;
constexpr int kPlaceColumn = 3;

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

CEventsDlg::CEventsDlg(const std::string& cardFolder, const ViewerPreferences& preferences, QWidget* owner)
    : QWidget(owner, Qt::Window), m_strCardFolder(cardFolder) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Events \u2013 %1").arg(QFile::decodeName(QByteArray::fromStdString(cardFolder))));
  m_pStatus = new QLabel(this);
  m_pStatus->setObjectName(QStringLiteral("eventsStatus"));
  m_pRows = new QTreeWidget(this);
  m_pRows->setRootIsDecorated(false);
  m_pRows->setUniformRowHeights(true);
  m_pRows->setAllColumnsShowFocus(true);
  m_pRows->setSelectionMode(QAbstractItemView::SingleSelection);
  m_pRows->setEditTriggers(QAbstractItemView::NoEditTriggers);
  QStringList titles;
  for (const char* title : kColumnTitles) titles << QString::fromUtf8(title);
  m_pRows->setHeaderLabels(titles);
  m_pRows->header()->setStretchLastSection(true);
  m_pExport = new QPushButton(QStringLiteral("Export\u2026"), this);
  m_pExport->setToolTip(QStringLiteral("Export the chosen event, from 10 s before to 10 s after it"));
  m_pExport->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(m_pExport);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pStatus);
  layout->addWidget(m_pRows);
  layout->addLayout(buttons);
  resize(760, 360);

  // One click or Enter plays a row; double-click would play it twice.
  connect(m_pRows, &QTreeWidget::clicked, this, &CEventsDlg::ChooseRow);
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    auto* shortcut = new QShortcut(QKeySequence(key), m_pRows, nullptr, nullptr, Qt::WidgetShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { ChooseRow(m_pRows->currentIndex()); });
  }
  connect(m_pExport, &QPushButton::clicked, this, &CEventsDlg::ExportRow);
  connect(m_pRows, &QTreeWidget::currentItemChanged, this, [this] {
    const int row = m_pRows->currentIndex().row();
    m_pExport->setEnabled(row >= 0 && row < static_cast<int>(m_rows.size()) && !m_rows[static_cast<std::size_t>(row)].unreadable);
  });
  connect(&m_reader, &CCardIndexReader::progress, this, &CEventsDlg::ShowProgress);
  connect(&m_reader, &CCardIndexReader::finished, this, [this] { ShowIndex(m_reader.Index()); });
  m_pStatus->setText(QStringLiteral("Looking for recordings\u2026"));
  m_reader.Start(m_strCardFolder, preferences);
}

void CEventsDlg::closeEvent(QCloseEvent* event) {
  m_reader.Stop();  // the worker ends while the window goes; the reader waits for its last recording
  QWidget::closeEvent(event);
}

void CEventsDlg::ShowProgress(std::size_t done, std::size_t total) {
  m_pStatus->setText(QStringLiteral("Reading %1 of %2 recordings\u2026").arg(done).arg(total));
}

void CEventsDlg::ShowIndex(const CardIndex& index) {
  m_rows = MakeEventRows(index.summaries, CardDateTimeText(index.summaries));
  m_pRows->clear();
  std::size_t events = 0;
  for (const EventRow& row : m_rows) {
    auto* item = new QTreeWidgetItem(
        {Text(row.time), Text(row.kind), Text(row.strength), Text(row.place), Text(row.recording)});
    item->setTextAlignment(kStrengthColumn, Qt::AlignRight | Qt::AlignVCenter);
    if (row.unreadable) item->setForeground(1, palette().brush(QPalette::Disabled, QPalette::Text));
    else ++events;
    m_pRows->addTopLevelItem(item);
  }
  for (int column = 0; column < kPlaceColumn + 1; ++column) m_pRows->resizeColumnToContents(column);
  QString status = QStringLiteral("%1 events in %2 recordings").arg(events).arg(index.summaries.size());
  if (!index.cacheProblem.empty()) status += QStringLiteral(" (%1)").arg(Text(index.cacheProblem));
  m_pStatus->setText(status);
}

void CEventsDlg::ChooseRow(const QModelIndex& index) {
  if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size())) return;
  const EventRow& row = m_rows[static_cast<std::size_t>(index.row())];
  emit eventChosen(row.recordingPath, row.playFromMs);
}

// The event's trip on the card, so that its span may reach into the recordings before and after it.
void CEventsDlg::ExportRow() {
  const int index = m_pRows->currentIndex().row();
  if (index < 0 || index >= static_cast<int>(m_rows.size())) return;
  const EventRow& row = m_rows[static_cast<std::size_t>(index)];
  if (row.unreadable) return;
  emit exportChosen(ChainOf(m_reader.Index().summaries, row.recordingPath, m_reader.Preferences().Trips()),
                    row.recordingPath, row.utcMs);
}

}  // namespace vx
