#pragma once
// The capture's list of stored files: one absolute address per line, each ended by CR LF, in
// the order the files were written.
#include <cstdint>
#include <string>

#include "store/capture_record.h"

namespace qz {

// Appends address + CR LF to the file list (open, append, close). A failure is ignored: the
// list is a record for the user, and the stored file is there either way.
void appendToFileList(const StoreContext& context, const std::string& address);

// One file written: its size counted, the two success lines logged, the download counted and
// its address listed. The page and the materials report a stored file the same way.
void recordStoredFile(StoreContext& context, const std::string& address, const std::string& path,
                      std::int64_t bytes);

}  // namespace qz
