// Paging by record numbers: the shown table's records are counted once (records::RecordIndex),
// so the paging row can say which records are shown of how many, and the first page, the last
// page or any page in between is fetched without reading the pages before it. With the
// recovered rows shown they follow the live records and count as records of the table.
#include <QLayout>
#include <QLocale>

#include "records/record_fetch.h"
#include "records/record_index.h"
#include "ui/tessaly_dlg.h"

namespace ui {

namespace {
QString grouped(int64_t number) {
  return QLocale(QLocale::English).toString(static_cast<qlonglong>(number));
}
}  // namespace

QString RecordRangeText(int32_t page, int32_t rowsShown, int64_t recordCount) {
  if (rowsShown <= 0) return QString("Records 0 of %1").arg(grouped(recordCount));
  const int64_t first = static_cast<int64_t>(page - 1) * records::kRecordsPerScreen + 1;
  return QString("Records %1\u2013%2 of %3").arg(grouped(first), grouped(first + rowsShown - 1), grouped(recordCount));
}

// Loader thread: the shown table's records are counted before its first page is fetched.
void CTessalyDlg::CountRecords(analysis::Table* table) {
  if (m_indexedTable == table && m_recordIndex) return;
  m_recordIndex = std::make_unique<records::RecordIndex>(m_analysis, *table);
  m_indexedTable = table;
}

void CTessalyDlg::ForgetRecordCounts() {
  m_recordIndex.reset();
  m_indexedTable = nullptr;
  m_nRecoveredRows = 0;
}

int64_t CTessalyDlg::RecordCount() const {
  return m_recordIndex ? m_recordIndex->recordCount() + m_nRecoveredRows : -1;
}

int32_t CTessalyDlg::PageCount() const {
  const int64_t count = RecordCount();
  if (count <= 0) return 1;
  return static_cast<int32_t>((count + records::kRecordsPerScreen - 1) / records::kRecordsPerScreen);
}

bool CTessalyDlg::CanPage() const {
  return m_hShownItem && !m_bLoadingRecords && ShownTable() && m_indexedTable == ShownTable() && m_recordIndex;
}

void CTessalyDlg::GoToPage(int32_t page) {
  if (!CanPage()) return;
  page = std::clamp(page, 1, PageCount());
  analysis::Table* table = ShownTable();
  JoinRecordLoader();
  m_recordIndex->positionAt(*table, static_cast<int64_t>(page - 1) * records::kRecordsPerScreen);
  // Prev from here goes by record numbers too; the stack only says that pages lie before.
  m_pageStack.assign(page > 1 ? 1 : 0, tblTraverseInfo{0, 0, 0});
  m_nRowsShown = 0;
  m_nPage = page;
  m_bLoadingRecords = 1;
  EnablePaging(false);
  StartRecordLoader();
}

void CTessalyDlg::EnablePaging(bool enable) {
  const bool counted = enable && CanPage();
  const bool before = enable && !m_pageStack.empty();
  // Without a count, a full page is the sign that more may follow.
  const bool after = enable && (counted ? m_nPage < PageCount() : m_list->rowCount() >= records::kRecordsPerScreen);
  m_btnFirst->setEnabled(before && counted);
  m_btnPrev->setEnabled(before);
  m_btnNext->setEnabled(after);
  m_btnLast->setEnabled(after && counted);
  m_spnPage->setEnabled(counted && PageCount() > 1);
  m_btnGo->setEnabled(counted && PageCount() > 1);
}

// GUI thread, once the page is in the list: the labels and buttons of the paging row.
void CTessalyDlg::ShowPagingState() {
  m_lblRowCount->setText(QString::number(m_list->rowCount()));
  m_lblPage->setText(QString::number(m_nPage));
  const int64_t count = RecordCount();
  m_lblRange->setText(count >= 0 ? RecordRangeText(m_nPage, m_list->rowCount(), count) : QString());
  {
    const QSignalBlocker blocker(m_spnPage);
    m_spnPage->setRange(1, PageCount());
    m_spnPage->setValue(m_nPage);
    m_spnPage->setSuffix(QString(" of %1").arg(QLocale(QLocale::English).toString(PageCount())));
  }
  m_bLoadingRecords = 0;
  EnablePaging(true);
  // The new figures get their room now, not at the next turn of the event loop.
  m_pagingFigures->layout()->activate();
}

}  // namespace ui
