// Record retrieval: one screen of up to 100 records of a table at a time, continuing where the
// previous screen ended (the paging position lives in the Table).
#pragma once

#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"
#include "analysis/model.h"
#include "support/value.h"

namespace records {

constexpr int kRecordsPerScreen = 100;

// Loads the data page at position index of dataPages into the table's page buffer; the rows
// its row table holds (a page that cannot be read is empty: 0).
int LoadDataPage(analysis::MdbRecovery& recovery, analysis::Table& table, int32_t index);

// The page number of dataPages at currentPageIndex (the loaded page), or -1.
int32_t CurrentPageNumber(const analysis::Table& table);

// Reads row rowIndex of the table's loaded page into text (a row text or a message). Returns 1
// when the row was decoded or was malformed (text then empty or the lookup message), 0 when it
// stores no columns, -1 for a deleted row or a moved-row pointer, or on abort.
int ReadRecord(analysis::MdbRecovery& recovery, analysis::Table& table, int rowIndex, std::string& text);

// Fills texts[0 ...] (at least 100 texts) with the next records; slots it does not fill are left
// empty. Returns 1, or -1 when the table has no data pages or on abort (then the paging position
// stays where it was).
int FetchRecords(analysis::MdbRecovery& recovery, analysis::Table& table, std::string* texts);

// One record of a screen as typed values: one per column of table.columns, in that order.
using TypedRecord = std::vector<support::Value>;

// As FetchRecords, the same records from the same paging position, as typed values (records is
// replaced by the screen's records; no OLE object is written to a file).
int FetchTypedRecords(analysis::MdbRecovery& recovery, analysis::Table& table, std::vector<TypedRecord>& records);

}  // namespace records
