// RecordDetailDlg: one record of the grid in full. The fields are listed with their names; the
// chosen field shows its whole text, or its picture when it holds one (OLE pictures and image
// attachments through Qt's image readers), and "Save object as..." writes an OLE object,
// binary value or attachment to a file of the type the object says it is.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <vector>

#include "support/value.h"
#include "ui/object_file.h"

namespace ui {

struct DetailField {
  QString name;
  QString text;          // the grid's text of the value
  support::Value value;  // the typed value (a text value when only the text is known)
};

class RecordDetailDlg : public QDialog {
  Q_OBJECT
 public:
  // An attachment value with several files gives one entry per file.
  RecordDetailDlg(QWidget* parent, const QString& title, const std::vector<DetailField>& fields);

  void SelectField(int row);
  // Asks where to save the chosen field's object and writes it; false when there is none, the
  // user cancels or the file cannot be written.
  bool SaveObjectAs();

  QTableWidget* fieldList() const { return m_fields; }
  QPlainTextEdit* textView() const { return m_text; }
  QLabel* pictureView() const { return m_picture; }
  QPushButton* saveButton() const { return m_btnSave; }

 private:
  void showField(int row);

  struct Entry {
    QString name;
    QString text;
    std::optional<ObjectFile> object;
  };
  std::vector<Entry> m_entries;
  QTableWidget* m_fields;
  QStackedWidget* m_view;
  QPlainTextEdit* m_text;
  QLabel* m_picture;
  QLabel* m_objectInfo;
  QPushButton* m_btnSave;
};

}  // namespace ui
