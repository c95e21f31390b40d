// Asking for a password on the terminal without echoing what is typed.
#pragma once

#include <optional>
#include <string>

namespace platform {

// True when standard input is a terminal.
bool StdinIsTerminal();
// Writes prompt to stderr and reads one line from the terminal with echo off; no value when
// standard input is not a terminal or the input ends first.
std::optional<std::string> ReadPasswordFromTerminal(const std::string& prompt);

}  // namespace platform
