// The CREATE TABLE statement of every table found, with its columns in column-number order.
#pragma once

namespace exporter {

// Sorts the columns of every table in analysis::g_tables by column number, ascending.
void SortTableColumns();
// Builds and stores the createStatement of every table in analysis::g_tables.
void BuildSchemaStatements();

}  // namespace exporter
