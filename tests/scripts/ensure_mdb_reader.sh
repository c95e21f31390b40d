#!/usr/bin/env bash
# Makes the npm package mdb-reader available in the folder given (installing it once, under a
# lock, when it is missing). Exit status 0 when it is there afterwards; a reason on stdout otherwise.
set -u
folder="$1"
mkdir -p "$folder" || { echo "cannot make $folder"; exit 1; }
[ -f "$folder/node_modules/mdb-reader/package.json" ] && exit 0
command -v node >/dev/null 2>&1 || { echo "node is not installed"; exit 1; }
command -v npm >/dev/null 2>&1 || { echo "npm is not installed"; exit 1; }
exec 9>"$folder/.install.lock"
flock 9
[ -f "$folder/node_modules/mdb-reader/package.json" ] && exit 0
if ! timeout 300 npm install --prefix "$folder" --no-audit --no-fund mdb-reader >"$folder/npm-install.log" 2>&1; then
  echo "npm install mdb-reader failed (see $folder/npm-install.log)"
  exit 1
fi
[ -f "$folder/node_modules/mdb-reader/package.json" ] || { echo "mdb-reader missing after npm install"; exit 1; }
