// The Preferences dialog: the trip gap and the event thresholds, kept in the viewer's settings store.
#pragma once

#include <QDialog>

#include <vector>

#include "app/CSettingsStore.h"
#include "core/cardindex/ViewerPreferences.h"

class QDoubleSpinBox;

namespace vx {

class CPreferencesDlg : public QDialog {
  Q_OBJECT

 public:
  // Shows the preferences `store` holds; OK writes them back to it.
  CPreferencesDlg(CSettingsStore store, QWidget* parent);

  ViewerPreferences Values() const;
  // Writes the values and closes; when the store cannot be written a message names its file and the dialog
  // stays open, so that nothing typed is lost.
  void accept() override;

 private:
  void Show(const ViewerPreferences& preferences);

  CSettingsStore m_store;
  std::vector<QDoubleSpinBox*> m_spinBoxes;  // one per PreferenceFields() entry, in its order
};

}  // namespace vx
