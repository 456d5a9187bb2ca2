// Edit boxes that refuse text their record field cannot hold, with a tooltip that says why.
#include "settings/CFieldTextEdit.h"

#include <QToolTip>
#include <QValidator>

#include "core/settings/SetupRecord.h"

namespace vx {
namespace {

class FieldValidator : public QValidator {
 public:
  FieldValidator(CFieldTextEdit::Field field, QObject* parent) : QValidator(parent), m_field(field) {}

  State validate(QString& input, int&) const override {
    const std::u16string text = input.toStdU16String();
    const bool fits = m_field == CFieldTextEdit::kSingleByte ? FitsNarrowField(text) : FitsWideField(text);
    return fits ? Acceptable : Invalid;
  }

 private:
  CFieldTextEdit::Field m_field;
};

}  // namespace

CFieldTextEdit::CFieldTextEdit(Field field, QWidget* parent) : QLineEdit(parent), m_field(field) {
  setValidator(new FieldValidator(field, this));
  connect(this, &QLineEdit::inputRejected, this,
          [this] { QToolTip::showText(mapToGlobal(QPoint(0, height())), RefusalText(), this); });
}

QString CFieldTextEdit::RefusalText() const {
  if (m_field == kSingleByte) {
    return tr("The camera keeps at most 32 characters here, each a Latin-1 character (code 255 or less).");
  }
  return tr("The camera keeps at most 32 characters here (some symbols count as two).");
}

}  // namespace vx
