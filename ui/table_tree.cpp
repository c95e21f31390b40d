// The table tree: the root, "TABLES" with a node per table and its columns, "QUERIES" with a
// node per saved query, "Hidden queries" with the record sources of forms and reports, "Linked
// tables" with the tables whose rows live elsewhere; and what selecting a node shows.
#include <QFont>

#include "records/type_names.h"
#include "support/sql_layout.h"
#include "ui/art.h"
#include "ui/desktop.h"
#include "ui/tessaly_dlg.h"

namespace ui {

namespace {
enum TreeImage { kImageRoot = 0, kImageTables = 1, kImageTable = 2, kImageQuery = 4, kImageColumn = 5 };

// The record sources of forms and reports get a folder of their own, made when the first arrives.
constexpr const char* kHiddenQueriesLabel = "Hidden queries";
constexpr const char* kLinkedTablesLabel = "Linked tables";

bool isFolder(const QTreeWidgetItem* item, const QTreeWidgetItem* root, const char* label) {
  return item && item->parent() == root && item->text(0) == label;
}

bool isHiddenQueriesFolder(const QTreeWidgetItem* item, const QTreeWidgetItem* root) {
  return isFolder(item, root, kHiddenQueriesLabel);
}

bool isLinkedTablesFolder(const QTreeWidgetItem* item, const QTreeWidgetItem* root) {
  return isFolder(item, root, kLinkedTablesLabel);
}

QTreeWidgetItem* hiddenQueriesFolder(QTreeWidgetItem* root, const QIcon& icon) {
  for (int i = 0; i < root->childCount(); ++i)
    if (isHiddenQueriesFolder(root->child(i), root)) return root->child(i);
  auto* folder = new QTreeWidgetItem(root, QStringList(kHiddenQueriesLabel));
  folder->setIcon(0, icon);
  return folder;
}

QString columnLabel(const analysis::Column& column) {
  const std::string typeName = records::GetTypeName(column);
  QString label = typeName == "TEXT" ? QString("%1 [%2(%3)]").arg(ToQt(column.name), ToQt(typeName)).arg(column.length)
                                     : QString("%1 [%2]").arg(ToQt(column.name), ToQt(typeName));
  // A calculated column shows the expression whose results its rows keep.
  if (!column.expression.empty()) label += QString(" = %1").arg(ToQt(column.expression));
  return label;
}

template <typename Record>
void attach(QTreeWidgetItem* item, Record* record) {
  item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(record)));
}

template <typename Record>
Record* attached(const QTreeWidgetItem* item) {
  return item ? reinterpret_cast<Record*>(item->data(0, Qt::UserRole).value<quintptr>()) : nullptr;
}
}  // namespace

void CTessalyDlg::ResetTree() {
  if (m_imageList.isEmpty())
    for (const char* name : {"icon-database", "icon-tables", "icon-table", "icon-spare", "icon-query", "icon-column"})
      m_imageList.append(ArtIcon(name));
  m_hShownItem = nullptr;
  m_bLoadingRecords = 0;
  ++m_nLoad;
  ForgetRecordCounts();
  m_recoveredRows.clear();
  m_linkedTables.clear();
  ShowNameCaption(Caption::kTable);
  m_tree->clear();
  m_hRootItem = new QTreeWidgetItem(m_tree, QStringList("DATABASE_NAME"));
  m_hRootItem->setIcon(0, m_imageList[kImageRoot]);
  m_hTablesItem = new QTreeWidgetItem(m_hRootItem, QStringList("TABLES"));
  m_hTablesItem->setIcon(0, m_imageList[kImageTables]);
  m_hQueriesItem = new QTreeWidgetItem(m_hRootItem, QStringList("QUERIES"));
  m_hQueriesItem->setIcon(0, m_imageList[kImageQuery]);
  m_hRootItem->setExpanded(true);
}

void CTessalyDlg::AddTableToTree(analysis::Table* table) {
  // The catalog's own tables travel under "ASys" names and are not shown.
  if (!table || table->name.empty() || table->name.rfind("ASys", 0) == 0) return;
  auto* node = new QTreeWidgetItem(m_hTablesItem, QStringList(ToQt(table->name)));
  node->setToolTip(0, node->text(0));
  attach(node, table);
  for (const analysis::Column& column : table->columns) {
    auto* columnNode = new QTreeWidgetItem(node, QStringList(columnLabel(column)));
    columnNode->setToolTip(0, columnNode->text(0));
    attach(columnNode, table);
    columnNode->setIcon(0, m_imageList[kImageColumn]);
  }
  node->setIcon(0, m_imageList[kImageTable]);
  if (table->rowCount > 0) {
    QFont bold = node->font(0);
    bold.setBold(true);
    node->setFont(0, bold);
  }
  m_hTablesItem->setExpanded(true);
}

void CTessalyDlg::AddQueryToTree(analysis::Queries* query) {
  if (!query || query->name.empty()) return;
  QTreeWidgetItem* folder = query->hidden ? hiddenQueriesFolder(m_hRootItem, m_imageList[kImageQuery]) : m_hQueriesItem;
  auto* node = new QTreeWidgetItem(folder, QStringList(ToQt(query->name)));
  node->setToolTip(0, node->text(0));
  attach(node, query);
  node->setIcon(0, m_imageList[kImageQuery]);
  // The hidden ones, often many, stay folded until asked for.
  if (folder == m_hQueriesItem) m_hQueriesItem->setExpanded(true);
}

void CTessalyDlg::AddLinkedTablesToTree(const std::vector<records::LinkedTable>& linked) {
  if (linked.empty() || !m_hRootItem) return;
  m_linkedTables = linked;
  auto* folder = new QTreeWidgetItem(m_hRootItem, QStringList(kLinkedTablesLabel));
  folder->setIcon(0, m_imageList[kImageTables]);
  for (const records::LinkedTable& table : m_linkedTables) {
    auto* node = new QTreeWidgetItem(folder, QStringList(ToQt(table.name)));
    node->setToolTip(0, ToQt(records::LinkedTableSource(table)));
    node->setIcon(0, m_imageList[kImageTable]);
    attach(node, &table);
  }
  folder->setExpanded(true);
}

// A query shows "Query :" and "SQL" instead of a table's name and record figures.
void CTessalyDlg::ShowNameCaption(Caption caption) {
  const bool query = caption == Caption::kQuery;
  const bool paging = caption == Caption::kTable;
  m_lblNameCaption->setText(query ? "Query :" : "Table Name :");
  m_lblSql->setVisible(query);
  m_pagingFigures->setVisible(paging);
  for (QPushButton* button : {m_btnFirst, m_btnPrev, m_btnNext, m_btnLast}) button->setVisible(paging);
}

analysis::Table* CTessalyDlg::ShownTable() const {
  if (!m_hShownItem || m_hShownItem->parent() != m_hTablesItem) return nullptr;
  return attached<analysis::Table>(m_hShownItem);
}

void CTessalyDlg::OnSelChangedTree() {
  if (m_bRecovering || m_bExporting) return;
  const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
  QTreeWidgetItem* item = selected.isEmpty() ? nullptr : selected.first();
  if (!item) return;
  if (m_bLoadingRecords) {
    // The selection stays on the table whose page is loading.
    if (m_hShownItem && item != m_hShownItem) {
      const QSignalBlocker blocker(m_tree);
      m_tree->setCurrentItem(m_hShownItem);
    }
    return;
  }
  if (item == m_hQueriesItem || isHiddenQueriesFolder(item, m_hRootItem) || isLinkedTablesFolder(item, m_hRootItem)) {
    m_edtQuery->show();
    m_list->hide();
    m_lblTableName->setText(item->text(0));
    m_lblPage->setText("0");
    m_lblRowCount->setText("0");
    EnablePaging(false);
    ShowNameCaption(Caption::kQuery);
    m_edtQuery->clear();
    return;
  }
  if (item->parent() == m_hTablesItem) return ShowTable(item);
  if (item->parent() == m_hQueriesItem || isHiddenQueriesFolder(item->parent(), m_hRootItem)) return ShowQuery(item);
  if (isLinkedTablesFolder(item->parent(), m_hRootItem)) return ShowLinkedTable(item);
  // The root, "TABLES" and the column nodes leave the shown table and page as they are.
}

// Selecting a table or a query: the previous node folds, the new one is shown from page 1.
void CTessalyDlg::BeginShowing(QTreeWidgetItem* item) {
  m_lblTableName->setText(item->text(0));
  m_lblTableName->setToolTip(item->text(0));
  if (m_hShownItem && m_hShownItem != item) m_hShownItem->setExpanded(false);
  m_hShownItem = item;
  m_nRowsShown = 0;
  m_nPage = 1;
  m_lblPage->setText("1");
  m_lblRange->clear();
  EnablePaging(false);
  item->setExpanded(true);
  m_pChannel->abort = 0;
  m_pChannel->done = 0;
  m_pageStack.clear();
}

void CTessalyDlg::ShowTable(QTreeWidgetItem* item) {
  analysis::Table* table = attached<analysis::Table>(item);
  if (!table) return;
  m_edtQuery->hide();
  m_list->show();
  ShowNameCaption(Caption::kTable);
  BeginShowing(item);
  m_bLoadingRecords = 1;
  table->currentPageIndex = 0;
  table->nextRecordIndex = 0;
  table->nextRowInPage = 0;
  StartRecordLoader();
}

void CTessalyDlg::ShowQuery(QTreeWidgetItem* item) {
  analysis::Queries* query = attached<analysis::Queries>(item);
  m_edtQuery->show();
  m_list->hide();
  ShowNameCaption(Caption::kQuery);
  BeginShowing(item);
  m_lblRowCount->setText("1");
  m_edtQuery->setPlainText(query ? ToQt(support::LaidOutSql(query->sqlText)) : QString());
  m_bLoadingRecords = 0;
}

// A linked table has no rows here: the text area says where they are.
void CTessalyDlg::ShowLinkedTable(QTreeWidgetItem* item) {
  const records::LinkedTable* table = attached<const records::LinkedTable>(item);
  m_edtQuery->show();
  m_list->hide();
  ShowNameCaption(Caption::kLinkedTable);
  BeginShowing(item);
  m_lblRowCount->setText("0");
  QString text;
  if (table) {
    text = QString("The rows of %1 are not in this file. They are in:\n\n%2")
               .arg(ToQt(table->name), ToQt(records::LinkedTableSource(*table)));
  }
  m_edtQuery->setPlainText(text);
  m_bLoadingRecords = 0;
}

}  // namespace ui
