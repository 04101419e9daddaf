// The progress log: the stamp, the size text of the summary, and where each line goes.
#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "capture/progress_log.h"
#include "platform/files.h"
#include "platform/text.h"
#include "support/recording_sink.h"
#include "support/test_environment.h"

namespace qz {
namespace {

using test::RecordingSink;

std::tm localTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  return t;
}

TEST(TimeStamp, PadsEveryFieldButTheYearToTwoDigits) {
  struct Case {
    std::tm time;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {localTime(2024, 3, 7, 9, 5, 3), "【2024/03/07 09:05:03】"},
      {localTime(1999, 12, 31, 23, 59, 59), "【1999/12/31 23:59:59】"},
      {localTime(2025, 1, 1, 0, 0, 0), "【2025/01/01 00:00:00】"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    EXPECT_EQ(timeStampOf(c.time), c.expected);
  }
}

TEST(TimeStamp, NowHasTheSameShape) {
  const std::string stamp = timeStamp();
  ASSERT_TRUE(startsWith(stamp, "【"));
  ASSERT_TRUE(endsWith(stamp, "】"));
  EXPECT_EQ(stamp.size(), std::string("【2024/03/07 09:05:03】").size());
}

TEST(FormatSize, WritesBytesBelow1000AndKilobytesAbove) {
  struct Case {
    std::int64_t bytes;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {0, "0 字节"},
      {999, "999 字节"},
      {1000, "1 KB"},  // 0.977 rounds to 1.0
      {1024, "1 KB"},
      {1100, "1.1 KB"},
      {1280, "1.3 KB"},  // exactly 1.25: half away from zero
      {1536, "1.5 KB"},
      {1000 * 1024, "1000 KB"},
      {1000 * 1024 + 1000, "1001 KB"},  // 1000.98 keeps one decimal, which rounds up
      {1001 * 1024, "1001 KB"},
      {1001 * 1024 + 512, "1002 KB"},  // 1001.5 above 1000: no decimal, half away from zero
      {1024 * 1024, "1024 KB"},
      {5000000, "4883 KB"},
      {INT64_C(2147483648), "2097152 KB"},  // 2 GiB: no longer a negative 32-bit count
      {INT64_C(3) * 1024 * 1024 * 1024 + 1536, "3145730 KB"},
      {INT64_C(10995116277760), "10737418240 KB"},  // 10 TiB
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(formatSize(c.bytes), c.expected);
  }
}

class ProgressLogTest : public ::testing::Test {
 protected:
  RecordingSink sink_;
  ProgressLog log_{&sink_};
};

TEST_F(ProgressLogTest, ALineWithoutColourIsBlack) {
  log_.add("开始下载页面源代码 ");
  log_.add("red", LogColour::Red);
  const auto lines = sink_.lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].message, "开始下载页面源代码 ");
  EXPECT_EQ(lines[0].colour, LogColour::Black);
  EXPECT_EQ(lines[1].colour, LogColour::Red);
}

TEST_F(ProgressLogTest, WithoutALogFileALineReachesOnlyTheSink) {
  const std::string folder = test::makeScratchFolder("log-none");
  log_.add("before the folder exists", LogColour::Pink);
  ASSERT_EQ(sink_.lines().size(), 1u);
  EXPECT_EQ(sink_.lines()[0].message, "before the folder exists");
  EXPECT_EQ(log_.logFilePath(), "");
  EXPECT_FALSE(pathExists(folder + "软件日志.txt"));
}

TEST_F(ProgressLogTest, TheFileHoldsOneLinePerCallInOrder) {
  const std::string path = test::makeScratchFolder("log-file") + kLogFileName;
  log_.add("not in the file");
  log_.setLogFilePath(path);
  const std::vector<std::pair<std::string, LogColour>> calls = {
      {"创建目录成功 /x/", LogColour::Black},
      {"", LogColour::Red},
      {"下载 http://site.example/a.gif 失败", LogColour::Orange},
      {"grey line", LogColour::Grey},
      {"所有任务完成!", LogColour::Red},
  };
  for (const auto& [message, colour] : calls) log_.add(message, colour);

  const auto lines = sink_.lines();
  ASSERT_EQ(lines.size(), calls.size() + 1);
  std::string expected;
  for (std::size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(i);
    const test::RecordedLine& shown = lines[i + 1];
    EXPECT_EQ(shown.message, calls[i].first);
    EXPECT_EQ(shown.colour, calls[i].second);
    EXPECT_TRUE(startsWith(shown.stamp, "【") && endsWith(shown.stamp, "】"));
    expected += shown.stamp + calls[i].first + "\r\n";  // the stamp the sink got
  }
  EXPECT_EQ(readWholeFile(path), expected);
}

TEST_F(ProgressLogTest, AppendsToALogFileThatAlreadyHasLines) {
  const std::string path = test::makeScratchFolder("log-existing") + kLogFileName;
  ASSERT_TRUE(writeFileAtomically(path, "【2024/03/07 09:05:03】earlier\r\n"));
  log_.setLogFilePath(path);
  log_.add("later");
  EXPECT_EQ(readWholeFile(path),
            "【2024/03/07 09:05:03】earlier\r\n" + sink_.lines()[0].stamp + "later\r\n");
}

TEST_F(ProgressLogTest, AnUnwritableLogFileIsSkippedSilently) {
  const std::string folder = test::makeScratchFolder("log-unwritable");
  for (const std::string& path : {folder + "missing/软件日志.txt", folder}) {
    SCOPED_TRACE(path);
    log_.setLogFilePath(path);
    log_.add("still shown");
  }
  EXPECT_EQ(sink_.lines().size(), 2u);
  EXPECT_FALSE(pathExists(folder + "missing"));
}

TEST(ProgressLog, WorksWithoutASink) {
  const std::string path = test::makeScratchFolder("log-no-sink") + kLogFileName;
  ProgressLog log;
  log.setLogFilePath(path);
  log.add("only the file");
  EXPECT_TRUE(endsWith(readWholeFile(path), "】only the file\r\n"));
}

}  // namespace
}  // namespace qz
