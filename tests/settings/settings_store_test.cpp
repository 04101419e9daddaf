// Where the program keeps its own files, how the options are read from the settings file,
// and the snapshot a capture thread reads while the window replaces it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "platform/places.h"
#include "settings/settings_store.h"
#include "support/test_environment.h"

namespace qz {
namespace {

using test::ScopedVariable;

namespace fs = std::filesystem;

// The notice bytes, written out here so that a change of the constant shows.
const std::string kExpectedNotice =
    "本目录为数据保存目录,用户请勿手动修改或删除本目录下任何文件,以免相应的软件运行出错\r\n";
const std::string kExpectedDefaultList =
    "||html|htm|shtml|php|jsp|asp|url|aspx|exe|rar|zip|mp3|wav|mid|com||";


bool isDirectory(const std::string& path) {
  std::error_code ignored;
  return fs::is_directory(path, ignored);
}

std::string uid() { return std::to_string(::getuid()); }

TEST(DataPlaces, UseTheDataHomeAndWriteTheNotice) {
  const std::string dataHome = test::makeScratchFolder("data-home");
  ScopedVariable variable("XDG_DATA_HOME", dataHome);
  // A notice someone changed is written anew, whole.
  fs::create_directories(dataHome + "Pirnex");
  writeFileAtomically(dataHome + "Pirnex/用户注意.txt",
                      "edited by hand, and longer than the notice itself " + kExpectedNotice);

  EXPECT_EQ(resolveDataRoot(), dataHome + "Pirnex/");
  EXPECT_EQ(readWholeFile(dataHome + "Pirnex/用户注意.txt"), kExpectedNotice);
  EXPECT_EQ(resolveSettingsFile(), dataHome + "Pirnex/Pirnexsoft.p");
  EXPECT_EQ(readWholeFile(dataHome + "Pirnex/用户注意.txt"), kExpectedNotice);
}

TEST(DataPlaces, CreateTheDataHomeWhenMissing) {
  const std::string dataHome = test::makeScratchFolder("data-home-missing") + "not/yet/there";
  ScopedVariable variable("XDG_DATA_HOME", dataHome);
  EXPECT_EQ(resolveDataRoot(), dataHome + "/Pirnex/");
  EXPECT_EQ(readWholeFile(dataHome + "/Pirnex/用户注意.txt"), kExpectedNotice);
}

// A data home below a plain file can never be created, whoever runs the test.
TEST(DataPlaces, FallBackToTheTemporaryFolderWhenTheDataHomeIsUnusable) {
  const std::string scratch = test::makeScratchFolder("data-home-blocked");
  writeFileAtomically(scratch + "a-file", "x");
  const std::string tmp = scratch + "tmp";
  fs::create_directory(tmp);
  ScopedVariable dataHome("XDG_DATA_HOME", scratch + "a-file/data");
  ScopedVariable tmpdir("TMPDIR", tmp);

  const std::string userFolder = tmp + "/Pirnex-" + uid() + "/";
  EXPECT_EQ(resolveSettingsFile(), userFolder + "Corvath.txt");
  EXPECT_EQ(resolveDataRoot(), userFolder + "3d/");
  EXPECT_TRUE(isDirectory(userFolder + "3d"));

  // The fallbacks are private to their user.
  struct stat info {};
  ASSERT_EQ(::stat(userFolder.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_EQ(info.st_uid, ::getuid());

  // The fallback settings file is usable as it is.
  ASSERT_TRUE(writeSetting(userFolder + "Corvath.txt", keys::kPreprocess, true));
  EXPECT_EQ(readSetting(userFolder + "Corvath.txt", keys::kPreprocess), "真");
}

// The temporary directory is shared: a name taken first by someone else (here a link to
// another folder) is never followed; a fresh private folder is used instead.
TEST(DataPlaces, NeverUseAFallbackFolderSomeoneElsePrepared) {
  const std::string scratch = test::makeScratchFolder("data-home-planted");
  writeFileAtomically(scratch + "a-file", "x");
  const std::string tmp = scratch + "tmp";
  const std::string planted = scratch + "planted";
  fs::create_directory(tmp);
  fs::create_directory(planted);
  fs::create_directory_symlink(planted, tmp + "/Pirnex-" + uid());
  ScopedVariable dataHome("XDG_DATA_HOME", scratch + "a-file/data");
  ScopedVariable tmpdir("TMPDIR", tmp);

  const std::string settingsFile = resolveSettingsFile();
  EXPECT_EQ(settingsFile.rfind(tmp + "/Pirnex-" + uid() + "-", 0), 0u) << settingsFile;
  ASSERT_TRUE(writeSetting(settingsFile, keys::kPreprocess, true));
  EXPECT_TRUE(fs::is_empty(planted));
}

// Each case writes some keys into a fresh settings file and loads the options.
TEST(SettingsLoad, ReadsEachOptionWithItsDefault) {
  const std::string home = homeDirectory();
  const std::string scratch = test::makeScratchFolder("settings-load");
  const std::string deepRoot = scratch + "one/two/three";
  const std::string longList = "|" + std::string(12000, 'x') + "|";

  struct Case {
    std::string name;
    std::vector<std::pair<std::string, std::string>> stored;
    bool preprocess, customRoot;
    std::string saveRoot;
    bool skipSwitch;
    std::string skipList;
    bool localView;
  };
  const std::vector<Case> cases = {
      {"no file", {}, false, false, home, true, kExpectedDefaultList, true},
      {"every switch on",
       {{keys::kPreprocess, "真"}, {keys::kSkipSuffixSwitch, "真"}, {keys::kLocalView, "真"},
        {keys::kSkipSuffixes, "gif|png"}},
       true, false, home, true, "|gif|png|", true},
      {"skip switch off: only shortcut files are skipped",
       {{keys::kSkipSuffixSwitch, "假"}, {keys::kSkipSuffixes, "|gif|png|"}},
       false, false, home, false, "|url|", true},
      {"local view stored as 1", {{keys::kLocalView, "1"}}, false, false, home, true,
       kExpectedDefaultList, false},
      {"local view stored as true", {{keys::kLocalView, "true"}}, false, false, home, true,
       kExpectedDefaultList, false},
      {"an empty value is no default",
       {{keys::kLocalView, ""}, {keys::kSkipSuffixSwitch, ""}}, false, false, home, false,
       "|url|", false},
      {"custom root off keeps the home default",
       {{keys::kCustomSaveRoot, "假"}, {keys::kSaveRootPath, scratch + "elsewhere"}}, false,
       false, home, true, kExpectedDefaultList, true},
      {"custom root on without a stored folder",
       {{keys::kCustomSaveRoot, "真"}}, false, true, home, true, kExpectedDefaultList, true},
      {"custom root on with an empty folder",
       {{keys::kCustomSaveRoot, "真"}, {keys::kSaveRootPath, ""}}, false, true, "", true,
       kExpectedDefaultList, true},
      {"custom root on with a folder three levels below nothing",
       {{keys::kCustomSaveRoot, "真"}, {keys::kSaveRootPath, deepRoot}}, false, true, deepRoot,
       true, kExpectedDefaultList, true},
      {"a suffix list beyond the read limit comes back cut",
       {{keys::kSkipSuffixes, longList}}, false, false, home, true,
       "|" + longList.substr(0, 10239) + "|", true},
  };
  int round = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = scratch + "settings-" + std::to_string(++round) + ".p";
    for (const auto& [key, value] : c.stored) ASSERT_TRUE(writeSetting(file, key, value));
    const Settings settings = Settings::load(file);
    EXPECT_EQ(settings.preprocessOption, c.preprocess);
    EXPECT_EQ(settings.customSaveRootOption, c.customRoot);
    EXPECT_EQ(settings.saveRoot, c.saveRoot);
    EXPECT_EQ(settings.skipSuffixOption, c.skipSwitch);
    EXPECT_EQ(settings.skipSuffixList, c.skipList);
    EXPECT_EQ(settings.localViewOption, c.localView);
    if (!c.saveRoot.empty()) {
      EXPECT_TRUE(isDirectory(c.saveRoot));
    }
  }
  EXPECT_FALSE(isDirectory(scratch + "elsewhere"));
}

TEST(SettingsLoad, SwitchingTheCustomRootOnCreatesIt) {
  const std::string scratch = test::makeScratchFolder("settings-switch");
  const std::string file = scratch + "Pirnexsoft.p";
  const std::string chosen = scratch + "chosen/captures";
  ASSERT_TRUE(writeSetting(file, keys::kSaveRootPath, chosen));
  ASSERT_TRUE(writeSetting(file, keys::kCustomSaveRoot, false));
  EXPECT_EQ(Settings::load(file).saveRoot, homeDirectory());
  EXPECT_FALSE(isDirectory(chosen));

  ASSERT_TRUE(writeSetting(file, keys::kCustomSaveRoot, true));
  EXPECT_EQ(Settings::load(file).saveRoot, chosen);
  EXPECT_TRUE(isDirectory(chosen));
}

TEST(SettingsStore, AReaderKeepsTheSnapshotItTook) {
  const std::string file = test::makeScratchFolder("settings-snapshot") + "Pirnexsoft.p";
  SettingsStore store(file);
  ASSERT_TRUE(store.write(keys::kSkipSuffixes, std::string("gif")));
  ASSERT_TRUE(store.write(keys::kLocalView, false));
  store.load();
  const std::shared_ptr<const Settings> taken = store.current();

  ASSERT_TRUE(store.write(keys::kSkipSuffixes, std::string("png|jpg")));
  ASSERT_TRUE(store.write(keys::kLocalView, true));
  store.load();
  store.setSaveRoot("/captures/");

  EXPECT_EQ(taken->skipSuffixList, "|gif|");
  EXPECT_FALSE(taken->localViewOption);
  EXPECT_EQ(taken->saveRoot, homeDirectory());
  const std::shared_ptr<const Settings> now = store.current();
  EXPECT_EQ(now->skipSuffixList, "|png|jpg|");
  EXPECT_TRUE(now->localViewOption);
  EXPECT_EQ(now->saveRoot, "/captures/");
  EXPECT_EQ(store.read(keys::kLocalView), "真");
}

// One thread publishes two alternating records while another reads: every record read is
// one of the two, whole. The counts are fixed, so the outcome does not depend on speed.
TEST(SettingsStore, ReadersNeverSeeAHalfReplacedRecord) {
  auto recordOf = [](char fill) {
    Settings settings;
    settings.saveRoot = std::string(4096, fill);
    settings.skipSuffixList = "|" + std::string(4096, fill) + "|";
    settings.preprocessOption = fill == 'b';
    return settings;
  };
  const Settings first = recordOf('a');
  const Settings second = recordOf('b');
  SettingsStore store(test::makeScratchFolder("settings-threads") + "Pirnexsoft.p");
  store.useForThisRun(first);

  constexpr int kRounds = 2000;
  std::thread writer([&] {
    for (int i = 0; i < kRounds; ++i) {
      store.useForThisRun(i % 2 ? first : second);
      store.setSaveRoot(i % 2 ? first.saveRoot : second.saveRoot);
    }
  });
  int torn = 0;
  for (int i = 0; i < kRounds; ++i) {
    const std::shared_ptr<const Settings> seen = store.current();
    const bool isFirst = seen->skipSuffixList == first.skipSuffixList &&
                         seen->preprocessOption == first.preprocessOption;
    const bool isSecond = seen->skipSuffixList == second.skipSuffixList &&
                          seen->preprocessOption == second.preprocessOption;
    const bool rootWhole = seen->saveRoot == first.saveRoot || seen->saveRoot == second.saveRoot;
    if (!(isFirst || isSecond) || !rootWhole) ++torn;
  }
  writer.join();
  EXPECT_EQ(torn, 0);
}

}  // namespace
}  // namespace qz
