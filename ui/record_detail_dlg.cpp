// RecordDetailDlg.
#include "ui/record_detail_dlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontDatabase>
#include <QHeaderView>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

#include "ui/desktop.h"

namespace ui {

namespace {
constexpr int kPictureView = 1;

QString describe(const ObjectFile& object) {
  const QString name = object.name.isEmpty() ? QString() : object.name + ", ";
  return QString("%1%2 object, %3 bytes").arg(name, object.extension.toUpper()).arg(object.bytes.size());
}

// A file name made of the field's name and the object's type.
QString suggestedName(const QString& field, const ObjectFile& object) {
  if (!object.name.isEmpty()) return object.name;
  QString base = field;
  for (QChar& c : base)
    if (!c.isLetterOrNumber() && c != '-' && c != '_') c = '_';
  return (base.isEmpty() ? QString("object") : base) + "." + object.extension;
}
}  // namespace

RecordDetailDlg::RecordDetailDlg(QWidget* parent, const QString& title, const std::vector<DetailField>& fields)
    : QDialog(parent) {
  setObjectName("recordDetail");
  setWindowTitle(title);
  setSizeGripEnabled(true);
  for (const DetailField& field : fields) {
    if (field.value.kind == support::ValueKind::kAttachments && field.value.attachments.size() > 1) {
      for (const support::Attachment& file : field.value.attachments) {
        support::Value one;
        one.kind = support::ValueKind::kAttachments;
        one.attachments = {file};
        m_entries.push_back({field.name, QString::fromStdString(file.name), ObjectFileOf(one)});
      }
      continue;
    }
    m_entries.push_back({field.name, field.text, ObjectFileOf(field.value)});
  }

  m_fields = new QTableWidget(static_cast<int>(m_entries.size()), 2, this);
  m_fields->setObjectName("detailFields");
  m_fields->setHorizontalHeaderLabels({"Field", "Value"});
  m_fields->verticalHeader()->hide();
  m_fields->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_fields->setSelectionMode(QAbstractItemView::SingleSelection);
  m_fields->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_fields->setWordWrap(false);
  m_fields->horizontalHeader()->setStretchLastSection(true);
  for (int row = 0; row < static_cast<int>(m_entries.size()); ++row) {
    const Entry& entry = m_entries[row];
    m_fields->setItem(row, 0, new QTableWidgetItem(entry.name));
    auto* value = new QTableWidgetItem(entry.object ? describe(*entry.object) : entry.text);
    value->setToolTip(entry.text);
    m_fields->setItem(row, 1, value);
  }
  m_fields->resizeColumnToContents(0);

  m_text = new QPlainTextEdit(this);
  m_text->setObjectName("detailText");
  m_text->setReadOnly(true);
  m_picture = new QLabel(this);
  m_picture->setObjectName("detailPicture");
  m_picture->setAlignment(Qt::AlignCenter);
  auto* pictureScroll = new QScrollArea(this);
  pictureScroll->setWidget(m_picture);
  pictureScroll->setWidgetResizable(true);
  pictureScroll->setAlignment(Qt::AlignCenter);
  m_view = new QStackedWidget(this);
  m_view->addWidget(m_text);
  m_view->addWidget(pictureScroll);

  m_objectInfo = new QLabel(this);
  m_objectInfo->setObjectName("detailObjectInfo");
  m_btnSave = new QPushButton("Save object as\u2026", this);
  m_btnSave->setObjectName("saveObject");
  m_btnSave->setAutoDefault(false);
  connect(m_btnSave, &QPushButton::clicked, this, &RecordDetailDlg::SaveObjectAs);

  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(m_fields);
  auto* right = new QWidget(splitter);
  auto* rightColumn = new QVBoxLayout(right);
  rightColumn->setContentsMargins(0, 0, 0, 0);
  rightColumn->addWidget(m_view, 1);
  auto* objectRow = new QHBoxLayout;
  objectRow->addWidget(m_objectInfo, 1);
  objectRow->addWidget(m_btnSave);
  rightColumn->addLayout(objectRow);
  splitter->addWidget(right);
  splitter->setSizes({320, 480});

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter, 1);
  layout->addWidget(buttons);
  resize(820, 520);

  connect(m_fields, &QTableWidget::currentCellChanged, this, [this](int row) { showField(row); });
  // The first picture is what most people open the record for; else the first field.
  int first = 0;
  for (int row = 0; row < static_cast<int>(m_entries.size()); ++row)
    if (m_entries[row].object && !ObjectPicture(*m_entries[row].object).isNull()) {
      first = row;
      break;
    }
  SelectField(first);
}

void RecordDetailDlg::SelectField(int row) {
  if (row < 0 || row >= m_fields->rowCount()) return showField(-1);
  m_fields->setCurrentCell(row, 1);
  showField(row);
}

void RecordDetailDlg::showField(int row) {
  const Entry* entry = row >= 0 && row < static_cast<int>(m_entries.size()) ? &m_entries[row] : nullptr;
  const QImage picture = entry && entry->object ? ObjectPicture(*entry->object) : QImage();
  if (!picture.isNull()) {
    m_picture->setPixmap(QPixmap::fromImage(picture));
    m_view->setCurrentIndex(kPictureView);
  } else {
    m_picture->clear();
    m_text->setPlainText(entry ? entry->text : QString());
    m_view->setCurrentIndex(0);
  }
  m_objectInfo->setText(entry && entry->object ? describe(*entry->object) : QString());
  m_btnSave->setEnabled(entry && entry->object);
}

bool RecordDetailDlg::SaveObjectAs() {
  const int row = m_fields->currentRow();
  if (row < 0 || row >= static_cast<int>(m_entries.size()) || !m_entries[row].object) return false;
  const ObjectFile& object = *m_entries[row].object;
  const QString path = ChooseSaveFile(this, suggestedName(m_entries[row].name, object));
  if (path.isEmpty()) return false;
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(object.bytes) != object.bytes.size()) {
    ShowMessage(this, "The object could not be saved to " + path + ".");
    return false;
  }
  return true;
}

}  // namespace ui
