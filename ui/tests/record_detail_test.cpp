// The record detail window: every field in full, OLE pictures (also bare bitmaps) and image
// attachments shown, "Save object as..." writing the object with its own file type; and the
// grid's double-click opening it for the row.
#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "ui/record_detail_dlg.h"
#include "ui/tests/gui_harness.h"
#include "ui/tests/gui_tests.h"
#include "ui/tests/test_databases.h"

using guitest::TheDesktop;

namespace {
QByteArray encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

QImage testPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(QColor(200, 40, 40));
  for (int x = 0; x < width; ++x) image.setPixelColor(x, height / 2, Qt::white);
  return image;
}

std::vector<uint8_t> toBytes(const QByteArray& bytes) {
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// An OLE object: a wrapper of `header` bytes in front of the inner object.
support::Value oleObject(const QByteArray& inner, const char* extension, int header = 24) {
  support::Value value;
  value.kind = support::ValueKind::kLongBinary;
  value.bytes = toBytes(QByteArray(header, 'w') + inner);
  value.object.wrapped = true;
  value.object.extension = extension;
  value.object.innerOffset = static_cast<size_t>(header);
  value.object.innerLength = static_cast<size_t>(inner.size());
  return value;
}

support::Value textValue(const std::string& text) {
  support::Value value;
  value.kind = support::ValueKind::kText;
  value.text = text;
  return value;
}
}  // namespace

class RecordDetailTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { TheDesktop() = {}; }
  void cleanup() { QSettings().clear(); }

  void picturesShowAndObjectsSaveWithTheirOwnType() {
    const QByteArray png = encoded(testPicture(64, 48), "PNG");
    // A picture object often holds a bare bitmap: the BMP file without its 14-byte header.
    const QByteArray dib = encoded(testPicture(30, 20), "BMP").mid(14);
    const std::string memo = std::string(3000, 'a') + " end";
    support::Value attachments;
    attachments.kind = support::ValueKind::kAttachments;
    attachments.attachments = {{"photo.jpg", "jpg", toBytes(encoded(testPicture(16, 16), "JPG"))},
                               {"notes.txt", "txt", toBytes("plain words")}};
    const std::vector<ui::DetailField> fields = {
        {"ID", "7", textValue("7")},
        {"Notes", QString::fromStdString(memo), textValue(memo)},
        {"Photo", "#OLE-OBJECT", oleObject(png, "png")},
        {"Sketch", "#OLE-OBJECT", oleObject(dib, "bmp")},
        {"Files", "photo.jpg;notes.txt", attachments},
        {"Empty", "NULL", {}},
    };
    ui::RecordDetailDlg dlg(nullptr, "Record 7 of Things", fields);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    // One entry per attachment; the window opens on the first picture.
    QCOMPARE(dlg.fieldList()->rowCount(), 7);
    QCOMPARE(dlg.fieldList()->currentRow(), 2);
    QVERIFY(dlg.pictureView()->isVisible());
    QCOMPARE(dlg.pictureView()->pixmap().size(), QSize(64, 48));
    QCOMPARE(dlg.fieldList()->item(2, 1)->text(), QString("PNG object, %1 bytes").arg(png.size()));
    guitest::SaveScreenshot(&dlg, "record-detail-picture");

    struct Shown {
      int row;
      QSize picture;  // empty: the text view
      QString text;
      bool saves;
    };
    const Shown shown[] = {
        {0, {}, "7", false},          {1, {}, QString::fromStdString(memo), false},
        {3, QSize(30, 20), {}, true}, {4, QSize(16, 16), {}, true},
        {5, {}, "notes.txt", true},   {6, {}, "NULL", false},
    };
    for (const Shown& s : shown) {
      dlg.SelectField(s.row);
      const QString where = QString("row %1").arg(s.row);
      QVERIFY2(dlg.pictureView()->isVisible() == s.picture.isValid(), qPrintable(where));
      if (s.picture.isValid())
        QCOMPARE(dlg.pictureView()->pixmap().size(), s.picture);
      else
        QCOMPARE(dlg.textView()->toPlainText(), s.text);
      QVERIFY2(dlg.saveButton()->isEnabled() == s.saves, qPrintable(where));
    }

    QTemporaryDir folder;
    struct Saved {
      int row;
      QString suggested;
      QByteArray bytes;
    };
    const Saved saved[] = {
        {2, "Photo.png", png},
        {3, "Sketch.bmp", dib},
        {5, "notes.txt", "plain words"},
    };
    for (const Saved& s : saved) {
      dlg.SelectField(s.row);
      TheDesktop().nextSaveFile = folder.path() + "/" + s.suggested;
      QTest::mouseClick(dlg.saveButton(), Qt::LeftButton);
      QCOMPARE(TheDesktop().suggestedSaveNames.last(), s.suggested);
      QFile file(TheDesktop().nextSaveFile);
      QVERIFY(file.open(QIODevice::ReadOnly));
      QCOMPARE(file.readAll(), s.bytes);
    }
    // Cancelled, or a folder that cannot be written: nothing saved, and said so.
    TheDesktop().nextSaveFile.clear();
    QVERIFY(!dlg.SaveObjectAs());
    TheDesktop().nextSaveFile = folder.path() + "/missing/x.png";
    QVERIFY(!dlg.SaveObjectAs());
    QCOMPARE(TheDesktop().messages.size(), 1);
  }

  void aDoubleClickOnARowShowsItsRecord() {
    QTemporaryDir folder;
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::WriteNumbersDatabase(folder.path(), 12));
    guitest::Select(dlg, guitest::ChildNamed(dlg.TablesItem(), "Numbers"));
    QVERIFY(guitest::WaitForRecords(dlg));
    auto* list = guitest::Control<QTableWidget>(&dlg, "1002");
    const QRect cell = list->visualItemRect(list->item(9, 1));
    // A double-click is two presses on the same cell.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    auto* detail = dlg.findChild<ui::RecordDetailDlg*>("recordDetail");
    QVERIFY(detail && detail->isVisible());
    QCOMPARE(detail->windowTitle(), QString("Record 10 of Numbers"));
    QCOMPARE(detail->fieldList()->rowCount(), 3);
    QCOMPARE(detail->fieldList()->item(1, 0)->text(), QString("Name"));
    QCOMPARE(detail->fieldList()->item(1, 1)->text(), QString("NULL"));
    QVERIFY(detail->fieldList()->item(2, 1)->text().startsWith("15"));
  }
};

GUI_TEST_CLASS(RecordDetailTest);

#include "record_detail_test.moc"
