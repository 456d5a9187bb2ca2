// The modal "Search Files" box shown while a folder is searched: it names the path being examined, and its
// OK button ends the search early.
//
// Used by the catalogue only: it opens the box with exec() while the worker runs and closes it (accept) when
// the search has finished.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QTimer;

namespace vx {

class CSearchFilesBox : public QDialog {
  Q_OBJECT

 public:
  // `examinedPath` is asked a few times a second for the path to show.
  CSearchFilesBox(QWidget* parent, std::function<QString()> examinedPath);

 private:
  void ShowExaminedPath();

  std::function<QString()> m_examinedPath;
  QLabel* m_pText;
  QTimer* m_pTimer;
};

}  // namespace vx
