#include "settings/settings_store.h"

#include <sys/stat.h>

#include "address/address_tools.h"
#include "platform/files.h"
#include "platform/places.h"
#include "platform/profile.h"

namespace qz {
namespace {

std::string primaryDataRoot() { return dataHomeDirectory() + "Pirnex/"; }

// Creates the primary data directory and writes the notice file into it.
bool preparePrimaryDataRoot() {
  const std::string root = primaryDataRoot();
  createDirectoryTree(root);
  return writeFileAtomically(root + kNoticeFileName, kNoticeText);
}

bool isPrivateFolder(const std::string& folder) {
  struct stat info {};
  return ::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::getuid() && (info.st_mode & 0077) == 0;
}

// The per-user temporary folder holds the fallbacks; it is private to its user. The temporary
// directory is shared with other users, who could have made that name first (a folder of
// theirs, or a link into one) to read or steer our settings: such a folder is never used, and a
// fresh private one with a random name takes its place for this run.
std::string preparedUserTemporaryFolder() {
  std::string folder = userTemporaryFolder();
  ::mkdir(folder.c_str(), 0700);
  if (isPrivateFolder(folder)) return folder;
  std::string pattern = folder.substr(0, folder.size() - 1) + "-XXXXXX";
  return ::mkdtemp(pattern.data()) ? pattern + "/" : folder;
}

}  // namespace

std::string defaultSaveRoot() { return homeDirectory(); }

std::string fallbackDataRoot() {
  const std::string root = preparedUserTemporaryFolder() + "3d/";
  ::mkdir(root.c_str(), 0700);
  return root;
}

std::string resolveDataRoot() {
  return preparePrimaryDataRoot() ? primaryDataRoot() : fallbackDataRoot();
}

std::string resolveSettingsFile() {
  if (preparePrimaryDataRoot()) return resolveDataRoot() + kSettingsFileName;
  return preparedUserTemporaryFolder() + kFallbackSettingsFileName;
}

std::string readSetting(const std::string& settingsFile, const std::string& key,
                        const std::string& fallback) {
  return readProfileString(settingsFile, kSettingsSection, key, fallback);
}

bool writeSetting(const std::string& settingsFile, const std::string& key,
                  const std::string& value) {
  return writeProfileString(settingsFile, kSettingsSection, key, value);
}

bool writeSetting(const std::string& settingsFile, const std::string& key, bool value) {
  return writeSetting(settingsFile, key, std::string(value ? kTrueText : kFalseText));
}

bool settingIsTrue(const std::string& value) { return value == kTrueText; }

Settings Settings::load(const std::string& settingsFile) {
  auto read = [&](const char* key, const std::string& fallback = {}) {
    return readSetting(settingsFile, key, fallback);
  };
  Settings settings;
  settings.preprocessOption = settingIsTrue(read(keys::kPreprocess));
  settings.customSaveRootOption = settingIsTrue(read(keys::kCustomSaveRoot));
  settings.saveRoot = settings.customSaveRootOption ? read(keys::kSaveRootPath, defaultSaveRoot())
                                                    : defaultSaveRoot();
  createDirectoryTree(settings.saveRoot);
  settings.skipSuffixOption = settingIsTrue(read(keys::kSkipSuffixSwitch, kTrueText));
  const std::string list =
      settings.skipSuffixOption ? read(keys::kSkipSuffixes, kDefaultSkipSuffixes) : "url";
  settings.skipSuffixList = "|" + list + "|";
  settings.localViewOption = settingIsTrue(read(keys::kLocalView, kTrueText));
  return settings;
}

SettingsStore::SettingsStore(std::string settingsFile)
    : file_(std::move(settingsFile)), current_(std::make_shared<const Settings>()) {}

std::shared_ptr<const Settings> SettingsStore::current() const {
  std::lock_guard lock(mutex_);
  return current_;
}

void SettingsStore::publish(std::shared_ptr<const Settings> next) {
  std::lock_guard lock(mutex_);
  current_ = std::move(next);
}

void SettingsStore::load() { publish(std::make_shared<const Settings>(Settings::load(file_))); }

void SettingsStore::setSaveRoot(const std::string& saveRoot) {
  std::lock_guard lock(mutex_);
  auto next = std::make_shared<Settings>(*current_);
  next->saveRoot = saveRoot;
  current_ = std::move(next);
}

void SettingsStore::useForThisRun(const Settings& settings) {
  publish(std::make_shared<const Settings>(settings));
}

std::string SettingsStore::read(const std::string& key, const std::string& fallback) const {
  return readSetting(file_, key, fallback);
}

bool SettingsStore::write(const std::string& key, const std::string& value) const {
  return writeSetting(file_, key, value);
}

bool SettingsStore::write(const std::string& key, bool value) const {
  return writeSetting(file_, key, value);
}

}  // namespace qz
