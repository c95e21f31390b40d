// CPasswordDlg: layout and the two outcomes.
#include "ui/password_dlg.h"

#include "analysis/mdb_recovery.h"
#include "ui/dialog_controls.h"

namespace ui {

CPasswordDlg::CPasswordDlg(QWidget* parent, bool afterWrongPassword)
    : WhiteDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
  setObjectName("passwordDialog");
  setWindowTitle("Password");
  setDialogSize(204, 74);
  QLabel* reason =
      makeLabel(this, "passwordReason",
                afterWrongPassword ? analysis::kWrongPasswordMessage : analysis::kEncryptedFileMessage, 7, 7, 190, 9);
  if (afterWrongPassword) {
    QPalette colours = reason->palette();
    colours.setColor(QPalette::WindowText, Qt::red);
    reason->setPalette(colours);
  }
  makeLabel(this, nullptr, "Password:", 7, 26, 40, 9);
  m_edtPassword = new QLineEdit(this);
  m_edtPassword->setObjectName("passwordField");
  m_edtPassword->setEchoMode(QLineEdit::Password);
  place(m_edtPassword, 48, 24, 149, 12);
  m_btnOk = makeButton(this, "passwordOk", "OK", 88, 52, 50, 14);
  m_btnCancel = makeButton(this, "passwordCancel", "Cancel", 147, 52, 50, 14);
  m_btnOk->setDefault(true);
  connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_edtPassword, &QLineEdit::returnPressed, this, &QDialog::accept);
  m_edtPassword->setFocus();
}

std::string CPasswordDlg::Password() const {
  return m_edtPassword->text().toStdString();
}

std::optional<std::string> CPasswordDlg::Ask(QWidget* parent, bool afterWrongPassword) {
  CPasswordDlg dialog(parent, afterWrongPassword);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Password();
}

}  // namespace ui
