// The main window's analysis thread: runs Analyze beside the progress window, then hands the
// end of the run to the GUI thread.
#include "analysis/damage_report.h"
#include "ui/desktop.h"
#include "ui/progress_dlg.h"
#include "ui/tessaly_dlg.h"

namespace ui {

void CTessalyDlg::AnalysisThreadProc(std::string path, int run) {
  analysis::ProgressChannel& channel = *m_pChannel;
  const bool ok = m_analysis.Analyze(path);
  QStringList damage;
  std::vector<records::LinkedTable> linked;
  if (ok) {
    for (const std::string& line : analysis::AssessDamage(m_analysis).lines()) damage << ToQt(line);
    linked = records::ReadLinkedTables(m_analysis);
    channel.done = 1;
    channel.recoveryTblEvent.set();
    m_calls.post([this, run, damage] {
      if (run == m_nRun && m_pProgressDlg) m_pProgressDlg->ShowCompleted(damage);
    });
  } else {
    // The progress window says so instead of "Recovery Completed"; it lives until this thread
    // has been joined.
    if (m_pProgressDlg) m_pProgressDlg->MarkFailed();
    // A run that stopped early (unreadable file, refused format) publishes nothing more: the
    // progress threads are told to finish, so the window reaches "Close" instead of waiting.
    channel.abort = 1;
    channel.recoveryTblEvent.set();
    channel.updateProgStatusEvent.set();
  }
  // A run replaced by a newer View has been joined already; its end changes nothing.
  m_calls.post([this, run, ok, damage, linked] {
    if (run == m_nRun) AnalysisEnded(ok, damage, linked);
  });
}

void CTessalyDlg::AnalysisEnded(bool recovered, const QStringList& damage,
                                const std::vector<records::LinkedTable>& linked) {
  // The worker is past its last step; joining it here keeps every thread accounted for.
  if (m_hAnalysisThread.joinable()) m_hAnalysisThread.join();
  // A refused file leaves nothing to browse or export.
  m_btnExport->setEnabled(recovered);
  m_hRootItem->setHidden(!recovered);
  ShowDamageNotice(damage);
  AddLinkedTablesToTree(linked);
  m_btnBrowse->setEnabled(true);
  m_btnView->setEnabled(true);
  m_actBrowse->setEnabled(true);
  m_bRecovering = 0;
  update();
}

void CTessalyDlg::StopPreviousAnalysis() {
  // The worker is stopped while the progress threads still acknowledge it; they no longer
  // wait for this thread, so nothing waits in a circle.
  if (m_pProgressDlg) m_pProgressDlg->ReleaseCalls();
  if (m_hAnalysisThread.joinable()) {
    m_pChannel->abort = 1;
    m_hAnalysisThread.join();
  }
  if (m_pProgressDlg) m_pProgressDlg->StopThreads();
  m_pProgressDlg.reset();
}

}  // namespace ui

namespace ui {

void CTessalyDlg::ShowDamageNotice(const QStringList& damage) {
  m_lblNotice->setText(damage.isEmpty() ? QString() : "This file is damaged. " + damage.join("; ") + ".");
  m_lblNotice->setVisible(!damage.isEmpty());
}

}  // namespace ui
