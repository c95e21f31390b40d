// The viewer as a desktop program: a resizable window with its banner across its width and a
// grid that shows a whole page, paging by record numbers, tooltips on cut names and cells, the
// window state and recent files kept, honest outcomes for refused and damaged files, query
// captions and SQL layout, and files opened by the command line, by a drop and from the
// recent-files menu.
#include <QDropEvent>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>

#include "ui/tests/gui_harness.h"
#include "ui/tests/gui_tests.h"
#include "ui/tests/test_databases.h"

using guitest::Control;
using guitest::TheDesktop;

namespace {
QString label(ui::CTessalyDlg& dlg, const char* id) {
  return Control<QLabel>(&dlg, id)->text();
}
bool enabled(ui::CTessalyDlg& dlg, const char* id) {
  return Control<QPushButton>(&dlg, id)->isEnabled();
}
void click(ui::CTessalyDlg& dlg, const char* id) {
  QTest::mouseClick(Control<QPushButton>(&dlg, id), Qt::LeftButton);
}
void showTable(ui::CTessalyDlg& dlg, const QString& name) {
  QTreeWidgetItem* table = guitest::ChildNamed(dlg.TablesItem(), name);
  QVERIFY2(table, qPrintable(name));
  guitest::Select(dlg, table);
  QVERIFY(guitest::WaitForRecords(dlg));
}
QString firstCell(ui::CTessalyDlg& dlg) {
  return guitest::GridRows(dlg).value(0).section('\t', 0, 0);
}

// Six 2048-byte pages with the older format's page words, which the analysis refuses.
QString writeOlderFormatFile(const QString& folder) {
  QByteArray bytes(6 * 2048, '\0');
  bytes[1] = 0x01;
  for (int page = 1; page < 6; ++page) {
    bytes[page * 2048] = page == 1 ? 0x01 : 0x02;
    bytes[page * 2048 + 1] = 0x01;
    if (page >= 2) {
      bytes[page * 2048 + 2] = 0x56;
      bytes[page * 2048 + 3] = 0x43;
    }
  }
  const QString path = folder + "/Older.mdb";
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(bytes);
  return path;
}

void dropFile(ui::CTessalyDlg& dlg, const QString& path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(path)});
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&dlg, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&dlg, &drop);
  QVERIFY(drop.isAccepted());
}

// What the banner shows at the window's present size.
struct BannerLook {
  int windowWidth = 0;
  QSize label, picture;
  QColor rightEdge;   // the picture's last column, halfway down
  int logoWidth = 0;  // the most yellow pixels in one row of the logo
};

BannerLook bannerLook(ui::CTessalyDlg& dlg) {
  auto* banner = Control<QLabel>(&dlg, "1010");
  const QImage image = banner->pixmap().toImage();
  BannerLook look{dlg.width(), banner->size(), banner->pixmap().deviceIndependentSize().toSize(), {}, 0};
  if (image.isNull()) return look;
  look.rightEdge = image.pixelColor(image.width() - 1, image.height() / 2);
  const QColor yellow(0xf2, 0xc9, 0x4c);
  for (int y = 0; y < image.height(); ++y) {
    int count = 0;
    for (int x = 0; x < image.width() / 4; ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (std::abs(pixel.red() - yellow.red()) + std::abs(pixel.green() - yellow.green()) +
              std::abs(pixel.blue() - yellow.blue()) <
          40)
        ++count;
    }
    look.logoWidth = std::max(look.logoWidth, count);
  }
  return look;
}
}  // namespace

class DesktopViewerTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { TheDesktop() = {}; }
  // The window state and recent files of one test are not the next one's.
  void cleanup() { QSettings().clear(); }

  void aMaximisedWindowGivesTheGridTheSpaceAndAWholePage() {
    QTemporaryDir folder;
    const QString path = guitest::WriteNumbersDatabase(folder.path(), 250);
    ui::CTessalyDlg dlg;
    QVERIFY(dlg.windowFlags() & Qt::WindowMaximizeButtonHint);
    QVERIFY(dlg.minimumSize() != dlg.maximumSize());
    dlg.setGeometry(0, 0, 1366, 768);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    guitest::BrowseAndView(dlg, path);
    showTable(dlg, "Numbers");
    auto* list = Control<QTableWidget>(&dlg, "1002");
    QCOMPARE(dlg.size(), QSize(1366, 768));
    // The list takes most of the window, beside the tree.
    QVERIFY2(list->width() > 1366 * 6 / 10 && list->height() > 768 / 2,
             qPrintable(QString("%1x%2").arg(list->width()).arg(list->height())));
    // Every record of the page can be scrolled into view.
    list->scrollToBottom();
    QTest::qWait(0);
    const QRect last = list->visualItemRect(list->item(99, 0));
    QVERIFY(list->viewport()->rect().contains(last));
    // Columns as wide as their content: the short ID column is narrower than the name column.
    QVERIFY(list->columnWidth(0) < list->columnWidth(1) + 1);
    QVERIFY(list->columnWidth(0) < 180);
    QCOMPARE(guitest::CutTexts(&dlg).join('|'), QString());
    list->scrollToTop();
    guitest::SaveScreenshot(&dlg, "main-window-1366x768");

    // The banner spans the window at every width, its picture redrawn to the label's width
    // with the logo kept in proportion (as wide as at the first size), the band's blue reaching
    // the right-hand edge.
    const BannerLook first = bannerLook(dlg);
    QVERIFY2(first.logoWidth > 10, qPrintable(QString::number(first.logoWidth)));
    const struct {
      QSize window;
      const char* screenshot;
    } widths[] = {{QSize(1366, 768), nullptr}, {QSize(1920, 1080), "main-window-1920x1080"}};
    for (const auto& width : widths) {
      dlg.resize(width.window);
      QTest::qWait(0);
      const BannerLook look = bannerLook(dlg);
      const QString seen = QString("window %1: label %2x%3, picture %4x%5, edge %6, logo %7")
                               .arg(look.windowWidth)
                               .arg(look.label.width())
                               .arg(look.label.height())
                               .arg(look.picture.width())
                               .arg(look.picture.height())
                               .arg(look.rightEdge.name(QColor::HexArgb))
                               .arg(look.logoWidth);
      QVERIFY2(look.windowWidth == width.window.width(), qPrintable(seen));
      QVERIFY2(look.label.width() > look.windowWidth - 40, qPrintable(seen));
      QVERIFY2(look.picture == look.label, qPrintable(seen));
      QVERIFY2(look.label.height() == first.label.height(), qPrintable(seen));
      QVERIFY2(look.rightEdge.alpha() == 255 && look.rightEdge.blue() > look.rightEdge.red() + 80, qPrintable(seen));
      QVERIFY2(look.logoWidth == first.logoWidth, qPrintable(seen));
      if (width.screenshot) guitest::SaveScreenshot(&dlg, width.screenshot);
    }
    dlg.showMaximized();
    QTest::qWait(0);
    const BannerLook maximised = bannerLook(dlg);
    QVERIFY(maximised.picture == maximised.label && maximised.label.width() > maximised.windowWidth - 40);
    guitest::SaveScreenshot(&dlg, "main-window-maximised");
    dlg.showNormal();

    // The window as it first opens still shows every label whole.
    dlg.resize(QSize(950, 600));
    QTest::qWait(0);
    QCOMPARE(guitest::CutTexts(&dlg).join('|'), QString());
    QVERIFY(list->width() > 500);
  }

  void pagingGoesByRecordNumbers() {
    QTemporaryDir folder;
    const QString path = guitest::WriteNumbersDatabase(folder.path(), 250);
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, path);
    showTable(dlg, "Numbers");
    auto* range = Control<QLabel>(&dlg, "recordRange");
    auto* goTo = Control<QSpinBox>(&dlg, "goToPage");
    QCOMPARE(dlg.RecordCount(), 250);
    QCOMPARE(dlg.PageCount(), 3);
    struct Step {
      const char* button;  // pressed before the checks; null: go to page `page` by number
      int page;
      QString range;
      QString first;
      bool before, after;
    };
    const Step steps[] = {
        {nullptr, 1, "Records 1\u2013100 of 250", "1", false, true},
        {"last", 3, "Records 201\u2013250 of 250", "201", true, false},
        {"1070", 2, "Records 101\u2013200 of 250", "101", true, true},
        {"first", 1, "Records 1\u2013100 of 250", "1", false, true},
        {nullptr, 3, "Records 201\u2013250 of 250", "201", true, false},
        {"1070", 2, "Records 101\u2013200 of 250", "101", true, true},
        {"1071", 3, "Records 201\u2013250 of 250", "201", true, false},
    };
    for (const Step& step : steps) {
      const QString where = QString("%1 -> page %2").arg(step.button ? step.button : "go").arg(step.page);
      if (step.button) {
        click(dlg, step.button);
      } else if (step.page != 1) {
        goTo->setValue(step.page);
        click(dlg, "go");
      }
      QVERIFY2(guitest::WaitForRecords(dlg), qPrintable(where));
      QCOMPARE(label(dlg, "1074"), QString::number(step.page));
      QCOMPARE(range->text(), step.range);
      QCOMPARE(firstCell(dlg), step.first);
      QCOMPARE(goTo->value(), step.page);
      QCOMPARE(goTo->suffix(), QString(" of 3"));
      QVERIFY2(enabled(dlg, "first") == step.before && enabled(dlg, "1070") == step.before, qPrintable(where));
      QVERIFY2(enabled(dlg, "last") == step.after && enabled(dlg, "1071") == step.after, qPrintable(where));
    }
    // A page number past the end shows the last page.
    dlg.GoToPage(99);
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(label(dlg, "1074"), QString("3"));
  }

  void aTableOfExactlyOnePageHasNoNextPage() {
    QTemporaryDir folder;
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::WriteNumbersDatabase(folder.path(), 100));
    showTable(dlg, "Numbers");
    QCOMPARE(Control<QLabel>(&dlg, "recordRange")->text(), QString("Records 1\u2013100 of 100"));
    QVERIFY(!enabled(dlg, "1071") && !enabled(dlg, "last") && !enabled(dlg, "go"));
  }

  void cutNamesAndCellsShowTheirWholeTextAsTooltip() {
    QTemporaryDir folder;
    const std::string longName = "Orders received by the northern warehouse during the spring season";
    const std::string memo(400, 'm');
    const QString path =
        guitest::WriteDatabase(folder.path(), "Long.mdb",
                               {{"CREATE TABLE [" + longName + "] ([Short] TEXT(10), [Notes] MEMO)",
                                 longName,
                                 {{{"Short", "ab"}, {"Notes", memo}}, {{"Short", ""}, {"Notes", "x"}}}}});
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, path);
    QTreeWidgetItem* table = dlg.TablesItem()->child(0);
    QVERIFY(table);
    QCOMPARE(table->toolTip(0), QString::fromStdString(longName));
    QTreeWidgetItem* notes = guitest::ChildNamed(table, "Notes [MEMO]");
    QVERIFY(notes);
    QCOMPARE(notes->toolTip(0), QString("Notes [MEMO]"));
    showTable(dlg, QString::fromStdString(longName));
    auto* list = Control<QTableWidget>(&dlg, "1002");
    QCOMPARE(list->item(0, 1)->text(), QString::fromStdString(memo));
    QCOMPARE(list->item(0, 1)->toolTip(), QString::fromStdString(memo));
    QVERIFY(list->columnWidth(1) <= 320);
    QCOMPARE(list->item(0, 0)->toolTip(), QString());
    // An empty text is not a NULL.
    QCOMPARE(list->item(1, 0)->text(), QString());
    QVERIFY(!list->item(1, 0)->font().italic());
    QCOMPARE(Control<QLabel>(&dlg, "1068")->toolTip(), QString::fromStdString(longName));
  }

  void theWindowStateAndTheRecentFilesAreKept() {
    QTemporaryDir folder;
    const QString first = guitest::WriteNumbersDatabase(folder.path(), 3);
    const QString second = guitest::WriteNumbersDatabase(folder.path(), 4);
    QList<int> sizes;
    {
      ui::CTessalyDlg dlg;
      dlg.show();
      dlg.resize(1100, 700);
      auto* splitter = Control<QSplitter>(&dlg, "splitter");
      splitter->setSizes({300, 700});
      QTest::qWait(0);
      sizes = splitter->sizes();
      guitest::BrowseAndView(dlg, first);
      guitest::BrowseAndView(dlg, second);
      guitest::BrowseAndView(dlg, first);
      QCOMPARE(dlg.RecentFiles().mid(0, 2), QStringList({first, second}));
    }
    ui::CTessalyDlg dlg;
    dlg.show();
    QCOMPARE(dlg.size(), QSize(1100, 700));
    QCOMPARE(Control<QSplitter>(&dlg, "splitter")->sizes(), sizes);
    auto* recent = dlg.findChild<QMenu*>("recentFiles");
    QVERIFY(recent && recent->isEnabled());
    QCOMPARE(recent->actions().value(0)->toolTip(), first);
    QCOMPARE(recent->actions().value(1)->toolTip(), second);
    // A recent file opens at once.
    guitest::ViewBy(dlg, [&] { recent->actions().value(1)->trigger(); });
    QCOMPARE(dlg.RecentFiles().value(0), second);
    QCOMPARE(guitest::ChildNamed(dlg.TablesItem(), "Numbers")->childCount(), 3);
    QCOMPARE(Control<QLineEdit>(&dlg, "1005")->text(), second);
  }

  void aFileNamedOrDroppedOpensAtOnce() {
    QTemporaryDir folder;
    const QString path = guitest::WriteNumbersDatabase(folder.path(), 5);
    {
      // One main window at a time, as in the program (they share the progress channel).
      ui::CTessalyDlg dlg;
      dlg.show();
      // As "tessaly FILE" does: Browse and View at once.
      const guitest::ViewRun named = guitest::ViewBy(dlg, [&] { QVERIFY(dlg.OpenFile(path)); });
      QCOMPARE(named.statusLines.value(0), QString("Recovery Completed"));
      QCOMPARE(Control<QLineEdit>(&dlg, "1005")->text(), path);
      QVERIFY(guitest::ChildNamed(dlg.TablesItem(), "Numbers"));
      QVERIFY(enabled(dlg, "1008"));
    }

    ui::CTessalyDlg second;
    second.show();
    guitest::ViewBy(second, [&] {
      dropFile(second, path);
      QTRY_VERIFY_WITH_TIMEOUT(second.ProgressDlg() && !second.IsRecovering() && !second.ProgressDlg()->isVisible(),
                               60000);
    });
    QCOMPARE(Control<QLineEdit>(&second, "1005")->text(), path);
    QVERIFY(guitest::ChildNamed(second.TablesItem(), "Numbers"));
    // Only files are taken.
    QMimeData folderData;
    folderData.setUrls({QUrl::fromLocalFile(folder.path())});
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &folderData, Qt::LeftButton, Qt::NoModifier);
    enter.setAccepted(false);
    QCoreApplication::sendEvent(&second, &enter);
    QVERIFY(!enter.isAccepted());
  }

  void aRefusedFileSaysTheAnalysisFailedAndLeavesNothingToExport() {
    QTemporaryDir folder;
    ui::CTessalyDlg dlg;
    dlg.show();
    const guitest::ViewRun run =
        guitest::BrowseAndView(dlg, writeOlderFormatFile(folder.path()), {}, "refused-file-progress");
    QCOMPARE(run.statusLines.value(0), QString("Analysis failed"));
    QVERIFY(!run.statusLines.contains("Recovery Completed"));
    QCOMPARE(run.percent, QString("Failed"));
    QCOMPARE(run.buttonText, QString("Close"));
    QTRY_VERIFY(TheDesktop().messages.contains("File format not Supported."));
    QVERIFY(dlg.TablesItem()->parent()->isHidden());
    QVERIFY(!enabled(dlg, "1008"));
    QVERIFY(enabled(dlg, "1006") && enabled(dlg, "1007"));
    QVERIFY(Control<QLabel>(&dlg, "notice")->isHidden());
    guitest::SaveScreenshot(&dlg, "refused-file-main");
  }

  void aDamagedFileNamesItsDamage() {
    QTemporaryDir folder;
    const QString path = guitest::WriteDatabase(
        folder.path(), "Damaged.mdb",
        {{"CREATE TABLE [Customers] ([ID] LONG, [Name] TEXT(20))", "Customers", {{{"ID", "1"}, {"Name", "Ann"}}}},
         {"CREATE TABLE [Orders] ([ID] LONG, [Item] TEXT(20))", "Orders", {{{"ID", "7"}, {"Item", "Pen"}}}}});
    const int destroyed = guitest::DestroyCatalog(path);
    QVERIFY(destroyed > 0);
    ui::CTessalyDlg dlg;
    dlg.show();
    const guitest::ViewRun run = guitest::BrowseAndView(dlg, path, {}, "damaged-file-progress");
    QCOMPARE(run.statusLines.value(0), QString("Recovery Completed"));
    QCOMPARE(run.statusLines.value(1), QString("Damage found in this file:"));
    QCOMPARE(run.statusLines.value(2), QString("    Pages unreadable: %1").arg(destroyed));
    QVERIFY2(run.statusLines.value(3).startsWith("    Catalog lost: tables named \"Recovered Table NN\""),
             qPrintable(run.statusLines.join('|')));
    QCOMPARE(run.statusLines.value(4), QString("    Saved queries lost"));
    auto* notice = Control<QLabel>(&dlg, "notice");
    QVERIFY(notice->isVisible());
    QVERIFY2(notice->text().startsWith("This file is damaged. Pages unreadable: "), qPrintable(notice->text()));
    QVERIFY(notice->text().contains("Catalog lost"));
    QVERIFY(guitest::ChildNamed(dlg.TablesItem(), "Recovered Table 01"));
    QVERIFY(enabled(dlg, "1008"));
    guitest::SaveScreenshot(&dlg, "damaged-file-main");

    // The next sound file clears the notice.
    guitest::BrowseAndView(dlg, guitest::WriteNumbersDatabase(folder.path(), 2));
    QVERIFY(notice->isHidden());
  }

  void aQueryShowsQueryCaptionsAndItsSqlLaidOutInAFixedFont() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    guitest::BrowseAndView(dlg, guitest::CorpusFile("jet4/queryTestV2003.mdb"));
    // The selection stays on a table whose page is still loading (a slow build may still be at it).
    QVERIFY(guitest::WaitForRecords(dlg));
    guitest::Select(dlg, guitest::ChildNamed(dlg.QueriesItem(), "SelectQuery"));
    auto* edit = Control<QPlainTextEdit>(&dlg, "1003");
    QCOMPARE(label(dlg, "1028"), QString("Query :"));
    QVERIFY(Control<QLabel>(&dlg, "sqlCaption")->isVisible());
    QVERIFY(Control<QLabel>(&dlg, "1064")->isHidden() || !Control<QLabel>(&dlg, "1064")->isVisibleTo(&dlg));
    QVERIFY(!Control<QPushButton>(&dlg, "1071")->isVisible());
    QVERIFY(QFontInfo(edit->font()).fixedPitch());
    const QStringList lines = edit->toPlainText().split('\n');
    QVERIFY2(lines.size() >= 2 && lines[0].startsWith("SELECT DISTINCT") && lines[1].startsWith("FROM "),
             qPrintable(edit->toPlainText()));
    guitest::SaveScreenshot(&dlg, "main-window-sql");
    // A table again: the table captions come back.
    guitest::Select(dlg, dlg.TablesItem()->child(0));
    QVERIFY(guitest::WaitForRecords(dlg));
    QCOMPARE(label(dlg, "1028"), QString("Table Name :"));
    QVERIFY(Control<QLabel>(&dlg, "1064")->isVisible());
    QVERIFY(Control<QLabel>(&dlg, "sqlCaption")->isHidden());
  }
};

GUI_TEST_CLASS(DesktopViewerTest);

#include "desktop_viewer_test.moc"
