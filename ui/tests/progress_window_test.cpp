// The recovery progress window: Stop during the page scan, a file the analysis refuses, and
// the layout at the dialog font.
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "ui/tests/gui_harness.h"
#include "ui/tests/gui_tests.h"

using guitest::Control;

class ProgressWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { guitest::TheDesktop() = {}; }

  void stopDuringThePageScanEndsTheScanAndShowsClose() {
    SKIP_WITHOUT_CORPUS_QT();
    ui::CTessalyDlg dlg;
    dlg.show();
    int pagesRead = 0, pagesTotal = 0;
    analysis::ProgressChannel& channel = dlg.Analysis().Channel();
    // The scan does not wait for the window, so it needs a file large enough to be caught in
    // flight: the corpus file followed by a gigabyte of (sparse) empty pages.
    QTemporaryDir folder;
    const QString large = guitest::CorpusFileWithEmptyPages(folder.path(), "jet4/testV2003.mdb");
    QVERIFY(!large.isEmpty());
    const guitest::ViewRun run = guitest::BrowseAndView(dlg, large, [&](ui::CProgressDlg& progress) {
      QCOMPARE(progress.windowTitle(), QString("Korvane Dunmere - Progress"));
      QCOMPARE(guitest::CutTexts(&progress), QStringList());
      // Stop lands while the scan is still reading pages.
      QObject::connect(&progress, &ui::CProgressDlg::percentShown, &progress, [&](int percent) {
        if (percent >= 4 && percent < 25 && progress.stopButton()->text() == "Stop") {
          progress.stopButton()->click();
          pagesRead = channel.pagesRead;
          pagesTotal = channel.pagesTotal;
        }
      });
    });
    QVERIFY(pagesTotal > 0);
    QVERIFY2(pagesRead < pagesTotal, qPrintable(QString("%1 of %2").arg(pagesRead).arg(pagesTotal)));
    QCOMPARE(run.buttonText, QString("Close"));
    QCOMPARE(run.statusLines.value(0), QString("Recovery Completed"));
    QVERIFY(!dlg.IsRecovering());
    QVERIFY(Control<QPushButton>(&dlg, "1007")->isEnabled());
  }

  void aRefusedFileStillReachesClose() {
    SKIP_WITHOUT_CORPUS_QT();
    const QString jet3 = guitest::CorpusDir() + "/jet3";
    const QStringList files = QDir(jet3).entryList({"*.mdb"});
    QVERIFY(!files.isEmpty());
    ui::CTessalyDlg dlg;
    dlg.show();
    const guitest::ViewRun run = guitest::BrowseAndView(dlg, jet3 + "/" + files.first());
    QCOMPARE(run.buttonText, QString("Close"));
    QTRY_VERIFY(guitest::TheDesktop().messages.contains("File format not Supported."));
    QCOMPARE(dlg.TablesItem()->childCount(), 0);
    QVERIFY(Control<QPushButton>(&dlg, "1006")->isEnabled());
  }
};

GUI_TEST_CLASS(ProgressWindowTest);

#include "progress_window_test.moc"
