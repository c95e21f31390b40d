// CProgressDlg: the modal window shown while a database is analysed. It never calls the
// analysis: its status and table threads (analysis::ProgressLoops) follow the progress channel
// and hand every change to this window on the GUI thread; the worker waits for each one.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <atomic>

#include "analysis/progress_loops.h"
#include "ui/gui_calls.h"
#include "ui/white_dialog.h"

namespace ui {

class CTessalyDlg;

class CProgressDlg : public WhiteDialog, private analysis::ProgressView {
  Q_OBJECT
 public:
  CProgressDlg(CTessalyDlg* mainDlg, analysis::ProgressChannel& channel);
  ~CProgressDlg() override;

  // The analysis ran to its end: "Close", 100, "100%" (the main window's analysis thread),
  // with what it found damaged listed below "Recovery Completed".
  void ShowCompleted(const QStringList& damage = {});
  // Any thread, before the analysis worker stops the loops: the analysis stopped early (a
  // refused or unreadable file), so the window ends with "Analysis failed", not at 100%.
  void MarkFailed() { m_bFailed = true; }
  bool Failed() const { return m_bFailed; }
  // GUI thread: the progress threads stop waiting for this window (their changes are dropped),
  // so the GUI thread may join the analysis worker that they still acknowledge.
  void ReleaseCalls();
  // GUI thread, once the worker has ended: ends both threads; afterwards no thread touches
  // the window.
  void StopThreads();

  QPushButton* stopButton() const { return m_btnStop; }
  QListWidget* statusList() const { return m_lstStatus; }

 signals:
  // The bar shows a new percentage (GUI thread; the worker waits meanwhile).
  void percentShown(int percent);

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void OnInitDialog();
  void OnStopOrClose();
  void showPercent(int percent);
  void showClose();

  // ProgressView, called on the loop threads.
  void statusChanged(const std::string& text) override;
  void databaseNameChanged(const std::string& name) override;
  void storageFormatChanged(const std::string& format) override;
  void percentChanged(int percent) override;
  void countsChanged(int tablesRead, int tablesTotal, int unnamedTables) override;
  void tableAdded(analysis::Table* table) override;
  void queryAdded(analysis::Queries* query) override;
  void statusLoopEnded() override;
  void tableLoopEnded() override;

  CTessalyDlg* m_pMainDlg;
  analysis::ProgressChannel* m_pChannel;
  GuiCalls m_calls{this};
  analysis::ProgressLoops m_loops;
  bool m_bStarted = false;
  std::atomic<bool> m_bFailed{false};

  QProgressBar* m_progress;
  QLabel* m_lblPercent;
  QLabel* m_lblDatabaseName;
  QLabel* m_lblStorageFormat;
  QLabel* m_lblTablesFound;
  QLabel* m_lblUnnamedTables;
  QListWidget* m_lstStatus;
  QPushButton* m_btnStop;
};

}  // namespace ui
