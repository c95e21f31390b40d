// Prints every user table of an Access file as JSON, read with the npm package mdb-reader:
// {"tables": [{"name", "columns": [{"name", "type"}], "rows": [[cell, ...]]}]}.
// Cells: null; booleans "1"/"0"; numbers and decimals as text; dates "YYYY-MM-DD HH:MM:SS"
// (UTC, the stored value as it is); binary and OLE values as lower-case hex; text as it is.
// Usage: node mdb_reader_dump.mjs FOLDER FILE [EVERY], where FOLDER/node_modules holds
// mdb-reader. With EVERY, a table lists only the 100 rows from row 0, EVERY, 2 x EVERY, ...
// and its last 100 rows, each as [row number, cells...], and gives "rowCount", the rows
// the reader returns (counted over the first column, which reads fast). A table the reader
// fails on is listed as {"name", "error"}.
import { createRequire } from "module";
import fs from "fs";
import path from "path";

const require = createRequire(path.join(path.resolve(process.argv[2]), "index.js"));
const MDBReader = (await import(require.resolve("mdb-reader"))).default;

const pad = (n) => String(n).padStart(2, "0");

function cell(value, type) {
  if (value === null || value === undefined) return null;
  if (type === "boolean") return value ? "1" : "0";
  if (value instanceof Date) {
    return `${String(value.getUTCFullYear()).padStart(4, "0")}-${pad(value.getUTCMonth() + 1)}-` +
      `${pad(value.getUTCDate())} ${pad(value.getUTCHours())}:${pad(value.getUTCMinutes())}:` +
      `${pad(value.getUTCSeconds())}`;
  }
  if (Buffer.isBuffer(value)) return value.toString("hex");
  return String(value);
}

const every = Number(process.argv[4] || 0);
const reader = new MDBReader(fs.readFileSync(process.argv[3]));
function dumpTable(name) {
  const table = reader.getTable(name);
  const columns = table.getColumns().map((c) => ({ name: c.name, type: c.type }));
  if (every > 0) {
    const rowCount = columns.length ? table.getData({ columns: [columns[0].name] }).length : 0;
    const starts = [];
    for (let start = 0; start < rowCount; start += every) starts.push(start);
    starts.push(Math.max(0, rowCount - 100));
    const rows = [];
    for (const start of starts) {
      table.getData({ rowOffset: start, rowLimit: 100 }).forEach((row, i) => {
        rows.push([start + i, ...columns.map((c) => cell(row[c.name], c.type))]);
      });
    }
    return { name, columns, rowCount, rows };
  }
  const rows = table.getData().map((row) => columns.map((c) => cell(row[c.name], c.type)));
  return { name, columns, rows };
}

const tables = reader.getTableNames({ normalTables: true, systemTables: false }).map((name) => {
  try {
    return dumpTable(name);
  } catch (error) {
    return { name, error: String(error) };
  }
});
process.stdout.write(JSON.stringify({ tables }) + "\n");
