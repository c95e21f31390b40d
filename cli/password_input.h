// Where the CLI gets the password of an encrypted file: --password-file FILE, else the
// TESSALY_PASSWORD environment variable, else a prompt without echo on a terminal. The
// password is only asked for when the file needs one, and is never printed.
#pragma once

#include <string>
#include <vector>

#include "analysis/mdb_recovery.h"

namespace cli {

// Takes --password-file FILE out of args and reads that file (one trailing line end is not part
// of the password). Returns 0, or the usage error's status when the value is missing or unreadable.
int TakePasswordOption(std::vector<std::string>& args);

// The source the analysis asks; a wrong password is not asked for again.
analysis::PasswordSource CliPasswordSource();

}  // namespace cli
