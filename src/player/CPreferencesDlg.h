// The Preferences dialog: the trip gap, the event thresholds and the speed unit, kept in the viewer's store.
#pragma once

#include <QDialog>

#include <vector>

#include "app/CSettingsStore.h"
#include "core/cardindex/ViewerPreferences.h"

class QComboBox;
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
  // A number field's spin box or a choice field's combo box (the item's index is the value).
  struct Editor {
    QDoubleSpinBox* pSpinBox = nullptr;
    QComboBox* pComboBox = nullptr;
  };
  Editor MakeEditor(const PreferenceField& field);
  void Show(const ViewerPreferences& preferences);

  CSettingsStore m_store;
  std::vector<Editor> m_editors;  // one per PreferenceFields() entry, in its order
};

}  // namespace vx
