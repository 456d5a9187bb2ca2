// The Preferences dialog: one spin box per number field, limited to its range and decimals, and one combo box
// per choice field.
#include "player/CPreferencesDlg.h"

#include <QComboBox>
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
    const Editor editor = MakeEditor(field);
    QWidget* widget = editor.pComboBox ? static_cast<QWidget*>(editor.pComboBox) : editor.pSpinBox;
    widget->setObjectName(QString::fromLatin1(field.name));
    form->addRow(QString::fromUtf8(field.label), widget);
    m_editors.push_back(editor);
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

CPreferencesDlg::Editor CPreferencesDlg::MakeEditor(const PreferenceField& field) {
  if (!field.choices.empty()) {
    auto* comboBox = new QComboBox(this);
    for (const PreferenceChoice& choice : field.choices) comboBox->addItem(tr(choice.label));
    return {nullptr, comboBox};
  }
  auto* spinBox = new QDoubleSpinBox(this);
  spinBox->setDecimals(field.decimals);
  spinBox->setRange(field.min, field.max);
  spinBox->setSingleStep(field.decimals == 0 ? 1.0 : 0.05);
  return {spinBox, nullptr};
}

ViewerPreferences CPreferencesDlg::Values() const {
  ViewerPreferences preferences;
  const auto fields = PreferenceFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Editor& editor = m_editors[i];
    preferences.*fields[i].value = editor.pComboBox ? editor.pComboBox->currentIndex() : editor.pSpinBox->value();
  }
  return preferences;
}

void CPreferencesDlg::Show(const ViewerPreferences& preferences) {
  const auto fields = PreferenceFields();
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const double value = preferences.*fields[i].value;
    if (m_editors[i].pComboBox) {
      m_editors[i].pComboBox->setCurrentIndex(static_cast<int>(value));
    } else {
      m_editors[i].pSpinBox->setValue(value);
    }
  }
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
