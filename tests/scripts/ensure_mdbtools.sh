#!/usr/bin/env bash
# Makes mdbtools (mdb-tables, mdb-export) available, installing the Debian package when it is
# missing and we may. Exit status 0 when the tools are there; a reason on stdout otherwise.
set -u
command -v mdb-export >/dev/null 2>&1 && command -v mdb-tables >/dev/null 2>&1 && exit 0
command -v apt-get >/dev/null 2>&1 || { echo "mdbtools missing and no apt-get to install it"; exit 1; }
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo -n true 2>/dev/null || { echo "mdbtools missing and no right to install it"; exit 1; }
  sudo="sudo -n"
fi
DEBIAN_FRONTEND=noninteractive timeout 600 $sudo apt-get install -y -qq mdbtools >/dev/null 2>&1 ||
  { echo "apt-get install mdbtools failed"; exit 1; }
command -v mdb-export >/dev/null 2>&1 || { echo "mdbtools missing after installing it"; exit 1; }
