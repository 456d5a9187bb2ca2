// The "Search Files" box: a message, the path under examination, and OK.
#include "player/CSearchFilesBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace vx {
namespace {

constexpr int kTextWidth = 520;  // room for a card path; longer ones are shortened in the middle
constexpr int kRefreshMs = 100;

}  // namespace

CSearchFilesBox::CSearchFilesBox(QWidget* parent, std::function<QString()> examinedPath)
    : QDialog(parent), m_examinedPath(std::move(examinedPath)), m_pText(new QLabel(this)), m_pTimer(new QTimer(this)) {
  setWindowTitle(QStringLiteral("Search Files"));
  setModal(true);
  m_pText->setText(QStringLiteral("Please Wait For Search Files..."));
  m_pText->setFixedWidth(kTextWidth);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pText);
  layout->addWidget(buttons);
  connect(m_pTimer, &QTimer::timeout, this, &CSearchFilesBox::ShowExaminedPath);
  m_pTimer->start(kRefreshMs);
}

void CSearchFilesBox::ShowExaminedPath() {
  const QString path = m_examinedPath();
  if (path.isEmpty()) return;
  m_pText->setText(m_pText->fontMetrics().elidedText(path, Qt::ElideMiddle, kTextWidth));
}

}  // namespace vx
