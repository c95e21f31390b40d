// ExportProgressDlg: the modal window that runs one export. Its export thread calls the
// export runner, which reports every step; each change reaches the widgets on the GUI thread
// (the thread waits for it). At the end the window shows the statistics and OK.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <thread>

#include "analysis/mdb_recovery.h"
#include "export/export_settings.h"
#include "export/export_view.h"
#include "ui/gui_calls.h"
#include "ui/white_dialog.h"

namespace ui {

class CTessalyDlg;

class ExportProgressDlg : public WhiteDialog, private exporter::ExportView {
  Q_OBJECT
 public:
  ExportProgressDlg(CTessalyDlg* mainDlg, analysis::MdbRecovery& recovery, exporter::ExportSettings settings);
  ~ExportProgressDlg() override;

  void OnStop();
  void OnOK();
  // Opens the folder the export wrote to (for an Access target, the folder of the file).
  void OnOpenFolder();
  // The folder or file the export wrote, once it has ended (empty before).
  QString Target() const { return m_target; }

 signals:
  // A status line is at the top of the list (GUI thread; the export thread waits meanwhile).
  void statusShown(const QString& line);
  // The bar shows a new percentage (GUI thread).
  void percentShown(int percent);
  // The statistics and OK are shown.
  void summaryShown();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void OnInitDialog();
  void ExportThreadProc();
  void showSummary();

  // ExportView, called on the export thread.
  void statusInserted(const std::string& line) override;
  void percentChanged(int percent) override;
  void finished(const std::string& finalLine, const std::vector<exporter::ExportStatistic>& statistics) override;

  CTessalyDlg* m_pMainDlg;
  analysis::MdbRecovery& m_recovery;
  const exporter::ExportSettings m_settings;
  std::thread m_hExportThread;
  GuiCalls m_calls{this};
  std::vector<exporter::ExportStatistic> m_statistics;
  bool m_bCloseWhenDone = false;  // the close box was confirmed while the export ran

  QPushButton* m_btnStop;
  QProgressBar* m_progress;
  QLabel* m_lblPercent;
  QListWidget* m_lstStatus;
  QTableWidget* m_lstStatistics;
  QPushButton* m_btnOK;
  QPushButton* m_btnOpenFolder;
  QString m_target;
  QString m_targetFolder;
};

}  // namespace ui
