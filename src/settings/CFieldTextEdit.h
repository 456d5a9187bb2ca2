// An edit box for a text field of the settings record: it takes only what the field can hold, and says so.
#pragma once

#include <QLineEdit>

namespace vx {

class CFieldTextEdit : public QLineEdit {
  Q_OBJECT

 public:
  enum Field {
    kSingleByte,  // at most 32 characters, each of code 255 or less (the serial number)
    kWide,        // at most 32 UTF-16 units (company, car licence)
  };

  explicit CFieldTextEdit(Field field, QWidget* parent = nullptr);

  // What the box says when it refuses a character or a paste.
  QString RefusalText() const;

 private:
  Field m_field;
};

}  // namespace vx
