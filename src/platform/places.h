#pragma once
// Where the program's own files live on this machine. Every place comes from HOME,
// XDG_DATA_HOME and TMPDIR; no other environment variable changes them.
#include <string>

namespace qz {

// The user's home directory with a trailing "/" (HOME, else the password database).
std::string homeDirectory();

// $XDG_DATA_HOME, else ~/.local/share; with a trailing "/".
std::string dataHomeDirectory();

// ${TMPDIR:-/tmp}/Pirnex-<uid>/ : the per-user folder of the fallbacks.
std::string userTemporaryFolder();

}  // namespace qz
