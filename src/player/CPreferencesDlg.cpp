// The Preferences dialog: one spin box per preference field, limited to the field's range and decimals.
#include "player/CPreferencesDlg.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QMessageBox>
#include <QPushButton>

#include "player/ViewerPreferencesStore.h"

namespace vx {

CPreferencesDlg::CPreferencesDlg(CSettingsStore store, QWidget* parent) : QDialog(parent), m_store(std::move(store)) {
  setWindowTitle(tr("Preferences"));
  auto* form = new QFormLayout;
  for (const PreferenceField& field : PreferenceFields()) {
    auto* spinBox = new QDoubleSpinBox(this);
    spinBox->setObjectName(QString::fromLatin1(field.name));
    spinBox->setDecimals(field.decimals);
    spinBox->setRange(field.min, field.max);
    spinBox->setSingleStep(field.decimals == 0 ? 1.0 : 0.05);
    form->addRow(QString::fromUtf8(field.label), spinBox);
    m_spinBoxes.push_back(spinBox);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::RestoreDefaults);
  buttons->button(QDialogButtonBox::RestoreDefaults)->setText(tr("Defaults"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
          [this] { Show(ViewerPreferences{}); });
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  Show(LoadViewerPreferences(m_store));
}

ViewerPreferences CPreferencesDlg::Values() const {
  ViewerPreferences preferences;
  const auto fields = PreferenceFields();
  for (std::size_t i = 0; i < fields.size(); ++i) preferences.*fields[i].value = m_spinBoxes[i]->value();
  return preferences;
}

void CPreferencesDlg::Show(const ViewerPreferences& preferences) {
  const auto fields = PreferenceFields();
  for (std::size_t i = 0; i < fields.size(); ++i) m_spinBoxes[i]->setValue(preferences.*fields[i].value);
}

void CPreferencesDlg::accept() {
  if (!SaveViewerPreferences(m_store, Values())) {
    QMessageBox::warning(this, windowTitle(), tr("The preferences could not be saved to %1.")
                                                  .arg(QString::fromStdString(m_store.File().string())));
    return;
  }
  QDialog::accept();
}

}  // namespace vx
