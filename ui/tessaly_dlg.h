// CTessalyDlg: the main window. It owns the one analysis object, lets the user choose a file
// (Browse), analyse it (View) beside the recovery progress window, browse the tables and
// queries in the tree and the records in the grid, export, and close.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "records/linked_tables.h"
#include "records/record_fetch.h"
#include "ui/gui_calls.h"
#include "ui/recovered_rows_cache.h"
#include "ui/white_dialog.h"

namespace records {
class RecordIndex;
}

namespace ui {

class CProgressDlg;
class RecordDetailDlg;
struct DetailField;

// "Records 101–200 of 600,000" for the page (from 1) showing rowsShown records.
QString RecordRangeText(int32_t page, int32_t rowsShown, int64_t recordCount);

// A position in a table: the three paging values record retrieval keeps in the Table.
struct tblTraverseInfo {
  int32_t currentPageIndex = -1;
  int32_t nextRecordIndex = -1;
  int32_t nextRowInPage = -1;
};

class CTessalyDlg : public WhiteDialog {
  Q_OBJECT
 public:
  explicit CTessalyDlg(QWidget* parent = nullptr);
  ~CTessalyDlg() override;

  // Commands.
  void OnBrowse();
  void OnView();
  void OnExport();
  void OnClose();
  void OnHelpContents();
  void OnAboutUs();
  void OnNext();
  void OnPrev();
  // The switch that adds deleted and free-space rows after the live records of the shown table.
  void OnShowDeletedRows(bool show);
  // Shows page (from 1) of the shown table, clamped to its pages; once its records are counted.
  void GoToPage(int32_t page);
  int32_t PageCount() const;
  // Records of the shown table (its recovered rows included while they are shown), or -1 while
  // they are not counted.
  int64_t RecordCount() const;

  // Opens a file at once, as if it had been chosen by Browse and View pressed (the command
  // line, a file dropped on the window, a recent file). False when an analysis or export runs.
  bool OpenFile(const QString& path);
  // Shows row (of the shown page) in full in the record detail window; null when there is none.
  RecordDetailDlg* ShowRecordDetail(int row);
  std::vector<DetailField> RecordDetailFields(int row) const;

  // The recent files, newest first (kept between runs).
  QStringList RecentFiles() const;

  // Called by the progress window for every table and query the analysis publishes.
  void AddTableToTree(analysis::Table* table);
  void AddQueryToTree(analysis::Queries* query);

  // The analysis has ended (the analysis thread, on the GUI thread): controls enabled again.
  // recovered: Analyze ran to its end; damage: what the analysis found lost (one line each).
  void AnalysisEnded(bool recovered = true, const QStringList& damage = {},
                     const std::vector<records::LinkedTable>& linked = {});
  // A "Linked tables" folder with the tables whose rows live elsewhere (none: no folder).
  void AddLinkedTablesToTree(const std::vector<records::LinkedTable>& linked);
  // The notice above the tree that names the damage of the shown file (hidden when none).
  void ShowDamageNotice(const QStringList& damage);

  bool IsRecovering() const { return m_bRecovering != 0; }
  bool IsLoadingRecords() const { return m_bLoadingRecords != 0; }
  CProgressDlg* ProgressDlg() const { return m_pProgressDlg.get(); }
  QTreeWidgetItem* TablesItem() const { return m_hTablesItem; }
  QTreeWidgetItem* QueriesItem() const { return m_hQueriesItem; }
  analysis::MdbRecovery& Analysis() { return m_analysis; }

  // Export members: written by the export options dialog, read by the export.
  std::string m_strExportFolder;
  int32_t m_nExportFormat = 0;    // 1 Access database, 2 CSV files
  int32_t m_nExportMode = 0;      // 10 schema only, 11 schema and data
  bool m_bExportDeleted = false;  // with the data, also each table's deleted and free-space rows
  std::vector<analysis::Table*> m_exportTables;
  std::vector<analysis::Queries*> m_exportQueries;
  std::atomic<int32_t> m_bExporting{0};

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void OnInitDialog();
  void buildControls();
  void buildMenu();
  QWidget* buildPagingRow(QWidget* parent);
  // The two busy checks that open every command that changes or closes the view.
  bool refuseWhileBusy();
  void ChooseFile(const QString& chosen);
  void RememberRecentFile(const QString& path);
  void FillRecentMenu();
  void SaveWindowState();
  void RestoreWindowState();
  void ResetTree();
  void hideContentPanes();
  void showBlankPane();
  void DeleteTempOleFiles();
  // Export: the options dialog and the export progress window (built by the export dialogs).
  bool ShowExportOptions();
  void RunExportProgress();

  // Analysis thread and the previous run's threads.
  void AnalysisThreadProc(std::string path, int run);
  void StopPreviousAnalysis();

  // Table tree and record grid.
  void OnSelChangedTree();
  void BeginShowing(QTreeWidgetItem* item);
  void ShowTable(QTreeWidgetItem* item);
  void ShowQuery(QTreeWidgetItem* item);
  void ShowLinkedTable(QTreeWidgetItem* item);
  void StartRecordLoader();
  void JoinRecordLoader();
  void LoadRecordsThreadProc(analysis::Table* table, int load, int32_t page, bool withRecovered);
  // states (one per row, or empty) adds the leading state column; countsText the row counts;
  // recoveredRows the table's recovered rows when they are shown (0 when not).
  void ShowRecordPage(analysis::Table* table, tblTraverseInfo pageStart, std::vector<records::TypedRecord> rows,
                      const std::vector<records::RowState>& states, const std::string& countsText,
                      int64_t recoveredRows);
  void buildDeletedRowsSwitch(QHBoxLayout* row);
  analysis::Table* ShownTable() const;
  void CountRecords(analysis::Table* table);
  void ForgetRecordCounts();
  bool CanPage() const;
  void EnablePaging(bool enable);
  void ShowPagingState();
  void SetCutCellTooltips();
  // What the caption above the grid names: a table (with its record figures and page buttons),
  // a query (with "SQL"), or a linked table (its name alone: it has no rows here).
  enum class Caption { kTable, kQuery, kLinkedTable };
  void ShowNameCaption(Caption caption);

  analysis::MdbRecovery m_analysis;
  analysis::ProgressChannel* m_pChannel = nullptr;
  std::string m_strFilePath;
  std::string m_strFileTitle;
  std::atomic<int32_t> m_bRecovering{0};
  std::thread m_hAnalysisThread;
  int m_nRun = 0;  // counts the Views, so a late end of a replaced run is recognised
  std::unique_ptr<CProgressDlg> m_pProgressDlg;
  GuiCalls m_calls{this};

  // Paging state of the record grid.
  std::vector<tblTraverseInfo> m_pageStack;
  tblTraverseInfo m_shownPageStart;
  int32_t m_nPage = 0;
  int32_t m_nRowsShown = 0;
  QTreeWidgetItem* m_hShownItem = nullptr;
  int32_t m_bLoadingRecords = 0;
  std::thread m_recordLoader;
  int m_nLoad = 0;  // counts the page loads and tree resets, so a stale page is dropped
  // The record count of the shown table (written by the loader thread, read once it has ended).
  std::unique_ptr<records::RecordIndex> m_recordIndex;
  std::vector<records::TypedRecord> m_pageRows;  // the values of the shown page's rows
  std::unique_ptr<RecordDetailDlg> m_detailDlg;
  const analysis::Table* m_indexedTable = nullptr;
  RecoveredRowsCache m_recoveredRows;
  std::vector<records::LinkedTable> m_linkedTables;  // of the shown file, behind the tree's folder
  // The shown table's recovered rows when they are shown: they follow its live records and count
  // in its record count and pages.
  int64_t m_nRecoveredRows = 0;

  QTreeWidgetItem* m_hRootItem = nullptr;
  QTreeWidgetItem* m_hTablesItem = nullptr;
  QTreeWidgetItem* m_hQueriesItem = nullptr;
  QList<QIcon> m_imageList;
  QIcon m_hIcon;

  QMenuBar* m_menuBar;
  QMenu* m_recentMenu;
  QLabel* m_lblNotice;
  QSplitter* m_splitter;
  QPushButton* m_btnFirst;
  QPushButton* m_btnLast;
  QPushButton* m_btnGo;
  QSpinBox* m_spnPage;
  QLabel* m_lblRange;
  QLabel* m_lblNameCaption;
  QLabel* m_lblSql;
  QWidget* m_pagingFigures;
  QLabel* m_banner;
  QLineEdit* m_edtPath;
  QPushButton* m_btnBrowse;
  QPushButton* m_btnView;
  QTreeWidget* m_tree;
  QPushButton* m_btnPrev;
  QLabel* m_lblTableName;
  QLabel* m_lblRowCount;
  QLabel* m_lblPage;
  QPushButton* m_btnNext;
  QTableWidget* m_list;
  QPlainTextEdit* m_edtQuery;
  QWidget* m_browserPane;
  QPushButton* m_btnExport;
  QCheckBox* m_chkDeletedRows = nullptr;  // off: live records only
  QLabel* m_lblRowStates = nullptr;       // the shown table's row counts while the switch is on
  QAction* m_actBrowse;
};

// The one main window, through which the export reaches its members.
extern CTessalyDlg* g_pMainDlg;

}  // namespace ui
