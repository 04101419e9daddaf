#pragma once
// The program's data places and the user's options.
//
// The settings file is an INI profile with one section "Quenzil"; booleans are stored as
// "真" and "假" and read as true exactly when the stored text is "真". The Settings record is
// published as an immutable snapshot: the GUI thread replaces it while a capture thread may
// be reading the one it took, and no field is ever seen half replaced.
#include <memory>
#include <mutex>
#include <string>

namespace qz {

inline constexpr const char* kProgramName = "Quenzil";
inline constexpr const char* kSettingsSection = "Quenzil";
inline constexpr const char* kTrueText = "真";
inline constexpr const char* kFalseText = "假";
inline constexpr const char* kDefaultSkipSuffixes =
    "|html|htm|shtml|php|jsp|asp|url|aspx|exe|rar|zip|mp3|wav|mid|com|";
inline constexpr const char* kNoticeFileName = "用户注意.txt";
inline constexpr const char* kNoticeText =
    "本目录为数据保存目录,用户请勿手动修改或删除本目录下任何文件,以免相应的软件运行出错\r\n";
inline constexpr const char* kSettingsFileName = "Pirnexsoft.p";
inline constexpr const char* kFallbackSettingsFileName = "Corvath.txt";
inline constexpr const char* kHistoryFileName = "网址保存文件.txt";

namespace keys {
inline constexpr const char* kPreprocess = "目标网页打开预处理";
inline constexpr const char* kCustomSaveRoot = "指定下载后的存放目录";
inline constexpr const char* kSaveRootPath = "用户设置的存放目录";
inline constexpr const char* kSkipSuffixSwitch = "要求不下载设置";
inline constexpr const char* kSkipSuffixes = "不下载的后缀_A";
inline constexpr const char* kLocalView = "下载后支持本地查看";
inline constexpr const char* kMatchCase = "区分大小写";
inline constexpr const char* kKeepBackup = "保存备份";
inline constexpr const char* kLastPlainAddress = "上次下载的网址";
inline constexpr const char* kLastComboAddress = "上次下载的网址2";
}  // namespace keys

// The default save root: the user's home directory, with a trailing "/".
std::string defaultSaveRoot();

// $XDG_DATA_HOME/Pirnex/ when the notice file can be written there, else fallbackDataRoot().
std::string resolveDataRoot();
// ${TMPDIR:-/tmp}/Pirnex-<uid>/3d/, created level by level.
std::string fallbackDataRoot();
// DataRoot + "Pirnexsoft.p" when the data directory is writable, else
// ${TMPDIR:-/tmp}/Pirnex-<uid>/Corvath.txt.
std::string resolveSettingsFile();

// The key's value in section "Quenzil" (at most 10 239 bytes), or `fallback` when missing.
std::string readSetting(const std::string& settingsFile, const std::string& key,
                        const std::string& fallback = {});
// Stores one key; creates file and section when missing. False when the write failed.
bool writeSetting(const std::string& settingsFile, const std::string& key,
                  const std::string& value);
bool writeSetting(const std::string& settingsFile, const std::string& key, bool value);
bool settingIsTrue(const std::string& value);

struct Settings {
  bool preprocessOption = false;
  bool customSaveRootOption = false;
  std::string saveRoot;
  bool skipSuffixOption = true;
  std::string skipSuffixList;  // "|" + list + "|", or "|url|" with the switch off
  bool localViewOption = true;

  // Reads every option from the file with its default; creates the save root.
  static Settings load(const std::string& settingsFile);
};

// The process-wide holder of the settings file path and the current Settings snapshot.
class SettingsStore {
 public:
  explicit SettingsStore(std::string settingsFile);

  const std::string& file() const { return file_; }
  std::shared_ptr<const Settings> current() const;

  // Settings::load from the file, published as the new snapshot.
  void load();
  // Replaces only the save root of the snapshot (the normalised root a capture uses for the
  // rest of the run; it is not written to the file).
  void setSaveRoot(const std::string& saveRoot);
  // Publishes options that hold for this run only (command-line flags); nothing is written.
  void useForThisRun(const Settings& settings);

  std::string read(const std::string& key, const std::string& fallback = {}) const;
  bool write(const std::string& key, const std::string& value) const;
  bool write(const std::string& key, bool value) const;

 private:
  void publish(std::shared_ptr<const Settings> next);

  std::string file_;
  mutable std::mutex mutex_;
  std::shared_ptr<const Settings> current_;
};

}  // namespace qz
