// Reads every row of every user table (or of the tables named) with the npm package mdb-reader,
// the way a program built on it would, and prints {"table": rows, ...} as JSON.
// Usage: node mdb_reader_rows.mjs FOLDER FILE [TABLE...], where FOLDER/node_modules holds mdb-reader.
import { createRequire } from "module";
import fs from "fs";
import path from "path";

const require = createRequire(path.join(path.resolve(process.argv[2]), "index.js"));
const MDBReader = (await import(require.resolve("mdb-reader"))).default;

const reader = new MDBReader(fs.readFileSync(process.argv[3]));
const rows = {};
const named = process.argv.slice(4);
const names = named.length ? named : reader.getTableNames({ normalTables: true, systemTables: false });
for (const name of names) {
  rows[name] = reader.getTable(name).getData().length;
}
process.stdout.write(JSON.stringify(rows) + "\n");
