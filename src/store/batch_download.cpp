#include "store/batch_download.h"

#include <optional>

#include "address/address_tools.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/settings_store.h"
#include "store/file_list.h"
#include "store/local_paths.h"
#include "store/stored_file.h"

namespace qz {
namespace {

// Characters that mark text from inline styles or scripts, or a call, rather than an address.
constexpr const char* kAddressRejects = "(),><{}|;";
// Characters no stored file name may hold; ":" also drops links with a scheme of their own.
constexpr const char* kNameRejects = "><|:\\/(){},;+";

struct Material {
  std::string address;  // absolute
  std::string name;
  std::string suffix;
};

bool containsAnyOf(const std::string& text, const char* characters) {
  return text.find_first_of(characters) != std::string::npos;
}

std::string withoutQueryAndFragment(std::string entry) {
  if (containsText(entry, "?")) entry = textBefore(entry, "?");
  if (containsText(entry, "#")) entry = textBefore(entry, "#");
  return entry;
}

bool namesExcludedHost(const std::string& entry) {
  for (const char* host : kExcludedHosts)
    if (containsText(entry, host, true)) return true;
  return false;
}

bool isStorableName(const std::string& name) {
  return !name.empty() && !containsAnyOf(name, kNameRejects) && name.back() != '-' &&
         name.back() != '?';
}

bool isSkippedSuffix(const StoreContext& context, const std::string& suffix) {
  // Read anew for every entry: the settings window may replace the list during a capture.
  return containsText(context.settings.current()->skipSuffixList, "|" + suffix + "|", true);
}

void reportTooLong(StoreContext& context, const std::string& address) {
  context.log.add("遭遇未知错误 " + address, LogColour::Red);
  ++context.tally.errorCount;
}

// The material an entry names, or nothing when the entry is not a downloadable file. The
// entry is left cut and without quotes; an over-long one is reported as an error.
std::optional<Material> materialOf(StoreContext& context, std::string& entry, std::string& base) {
  if (!containsText(entry, ".")) return std::nullopt;
  entry = withoutQueryAndFragment(entry);
  Material material;
  material.address = resolveAddress(base, entry);
  if (containsAnyOf(material.address, kAddressRejects)) return std::nullopt;
  if (entry.size() > kMaxEntryBytes) {
    reportTooLong(context, material.address);
    return std::nullopt;
  }
  if (namesExcludedHost(entry)) return std::nullopt;
  material.name = fileNameOf(material.address);
  if (!isStorableName(material.name)) return std::nullopt;
  material.suffix = suffixOf(material.name);
  if (material.suffix.size() > kMaxSuffixBytes || isSkippedSuffix(context, material.suffix))
    return std::nullopt;
  return material;
}

// Recorded whether or not the file gets stored, so the re-analysis reads it in any case.
void recordForReanalysis(CaptureTally& tally, const Material& material) {
  const std::string suffix = asciiLower(material.suffix);
  if (suffix == "css") tally.stylesheetList.push_back(material.address);
  if (suffix == "js") tally.scriptList.push_back(material.address);
}

// Problems are reported but not counted: the write that follows fails and is counted.
std::string prepareMaterialDirectory(StoreContext& context, const std::string& address) {
  const std::string directory = localDirectoryOf(address, context.captureFolder);
  const int code = createDirectoryTree(directory);
  if (code == kDirectoryCreated)
    context.log.add("创建目录成功 " + directory, LogColour::Black);
  else if (code == kDirectoryBadPath)
    context.log.add("创建目录失败 " + directory, LogColour::Red);
  else if (code != kDirectoryAccessDenied && code != kDirectoryExists)
    context.log.add("创建目录未知的值 Code:" + std::to_string(code) + " " + directory,
                    LogColour::Red);
  return directory;
}

void reportFailure(StoreContext& context, const std::string& address) {
  context.log.add("下载 " + address + " 失败", LogColour::Orange);
  ++context.tally.errorCount;
}

void storeMaterial(StoreContext& context, const std::string& entry, const Material& material) {
  context.log.add("正在下载 " + entry, LogColour::Red);
  context.log.add("网络地址 " + material.address, LogColour::Black);
  recordForReanalysis(context.tally, material);

  const std::string directory = prepareMaterialDirectory(context, material.address);
  const std::string path = localFilePath(directory, material.name);
  if (!liesInsideFolder(path, context.captureFolder))
    return reportFailure(context, material.address);
  if (pathExists(path)) return context.log.add(path + " 已存在", LogColour::Black);

  const StoredFile stored = storeFetched(path, context.fetcher, material.address);
  switch (stored.outcome) {
    case StoreOutcome::Written:
      return recordStoredFile(context, material.address, path, stored.bytes);
    case StoreOutcome::NameTaken: return context.log.add(path + " 已存在", LogColour::Black);
    case StoreOutcome::Failed: return reportFailure(context, material.address);
  }
}

}  // namespace

void downloadBatch(StoreContext& context, ResourceList& list, const std::string& base) {
  std::string cleanBase = base;
  for (std::string& entry : list) {
    if (context.stopRequested()) return;
    if (std::optional<Material> material = materialOf(context, entry, cleanBase))
      storeMaterial(context, entry, *material);
  }
}

}  // namespace qz
