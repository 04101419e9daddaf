#pragma once
// After the page's own materials, every stylesheet and script the batches met is fetched
// again and searched for the materials it names (background images, imports, script paths).
// What those batches meet is analysed in turn, in at most three nested passes per phase,
// which also ends cycles such as a stylesheet importing itself.
#include <string>

#include "store/capture_record.h"

namespace qz {

inline constexpr int kNestedPasses = 3;

// Stylesheets: materials resolve against the stylesheet's own directory.
void reanalyseStylesheets(StoreContext& context);
// Scripts: backslashes are deleted first (escaped slashes in strings), and materials resolve
// against the page's directory, where the script runs.
void reanalyseScripts(StoreContext& context, const std::string& workingAddress);

}  // namespace qz
