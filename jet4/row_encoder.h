// One row in the data-page form (offsets from the row start):
//
//  part           | size            | content
//  ---------------+-----------------+-----------------------------------------------
//  column count   | 2               | the table's columns
//  fixed area     | sum fixed sizes | each fixed column at 2 + its fixed offset (zeros when null)
//  variable data  | -               | values in slot order
//  eod            | 2               | offset of the end of the variable data
//  var offsets    | 2 x n           | start offset of each slot, slot n-1 first
//  var count n    | 2               |
//  null mask      | ceil(count / 8) | bit = column number, 1 = present; a BOOL's value is its bit
//
// A table without variable columns has no eod, offsets or var count.
#pragma once

#include <string>
#include <vector>

#include "jet4/table_schema.h"

namespace jet4 {

struct FieldValue {
  bool present = false;  // false: null (for a BOOL: false)
  std::string bytes;     // fixed columns: exactly their length; variable ones: the slot's bytes
};

// The row bytes; its length may exceed what a page holds (the caller checks).
std::string EncodeRow(const TableDef& table, const TableLayout& layout, const std::vector<FieldValue>& fields);

}  // namespace jet4
