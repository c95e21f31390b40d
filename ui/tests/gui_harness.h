// What the GUI tests share: the corpus, the desktop hooks that record messages and answer the
// file dialog and the close question, running View through the modal progress window, the
// tree as text, layout checks and screenshots.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <functional>

#include "ui/progress_dlg.h"
#include "ui/tessaly_dlg.h"

namespace guitest {

// The corpus folder ($TESSALY_CORPUS, else ../shared/corpus beside the source tree), or empty.
QString CorpusDir();
// One corpus file, e.g. "jet4/testV2003.mdb"; empty when the corpus is missing.
QString CorpusFile(const QString& relative);
// A copy of a corpus file in folder followed by a gigabyte of (sparse) empty pages: an analysis
// long enough to be caught while it runs, since it never waits for the window. Empty on failure.
QString CorpusFileWithEmptyPages(const QString& folder, const QString& relative);
// Names of the user tables that the peer reader found in the file (expected/NAME.json).
QStringList ExpectedTableNames(const QString& databasePath);

// Installed for the whole run by the test main.
struct Desktop {
  QStringList messages;
  QString nextFile;        // what the file dialog answers
  bool answerYes = false;  // what the close question answers
  QStringList questions;
  QList<QUrl> openedUrls;
  QString nextSaveFile;  // what the save dialog answers
  QStringList suggestedSaveNames;
};
Desktop& TheDesktop();
void InstallDesktopHooks();

// Browse (answering with path) and View; during runs on the GUI thread once the progress
// window is up, while the analysis runs. The progress window is closed when the analysis ends;
// afterwards the progress window can still be read through lastProgress.
struct ViewRun {
  QStringList statusLines;
  QString percent;
  QString tablesFound;
  QString buttonText;
};
ViewRun BrowseAndView(ui::CTessalyDlg& dlg, const QString& path,
                      const std::function<void(ui::CProgressDlg&)>& during = {}, const QString& screenshotName = {});
// start opens a file another way (the command line, a drop, a recent file) and returns once the
// progress window has been closed; what happens meanwhile as for BrowseAndView.
ViewRun ViewBy(ui::CTessalyDlg& dlg, const std::function<void()>& start,
               const std::function<void(ui::CProgressDlg&)>& during = {}, const QString& screenshotName = {});

// Every node below the root as "indent label" lines, bold nodes marked with "*".
QStringList TreeText(QTreeWidget* tree);
QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, const QString& label);
void Select(ui::CTessalyDlg& dlg, QTreeWidgetItem* item);
// Waits until the record loader has shown its page.
bool WaitForRecords(ui::CTessalyDlg& dlg);
// The cells of the record list, row by row, tab-separated.
QStringList GridRows(ui::CTessalyDlg& dlg);

// Labels and buttons whose text is wider than the control (with the dialog font).
QStringList CutTexts(QWidget* window);
// Saves window->grab() as NAME.png under the build folder's screenshots; returns the path.
QString SaveScreenshot(QWidget* window, const QString& name);

template <typename T>
T* Control(QWidget* window, const char* id) {
  return window->findChild<T*>(id);
}

}  // namespace guitest

#define SKIP_WITHOUT_CORPUS_QT()                                                       \
  do {                                                                                 \
    if (::guitest::CorpusDir().isEmpty())                                              \
      QSKIP("shared corpus not found (../shared/corpus or $TESSALY_CORPUS): skipped"); \
  } while (0)
