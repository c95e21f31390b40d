// The small window that asks for the password of an encrypted file: a masked field, OK and
// Cancel. After a wrong password it says so and asks again.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <optional>
#include <string>

#include "ui/white_dialog.h"

namespace ui {

class CPasswordDlg : public WhiteDialog {
  Q_OBJECT
 public:
  CPasswordDlg(QWidget* parent, bool afterWrongPassword);

  std::string Password() const;
  // Shows the window modally: the password typed, or no value on Cancel.
  static std::optional<std::string> Ask(QWidget* parent, bool afterWrongPassword);

  QLineEdit* m_edtPassword;
  QPushButton* m_btnOk;
  QPushButton* m_btnCancel;
};

}  // namespace ui
