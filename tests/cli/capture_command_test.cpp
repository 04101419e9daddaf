// quenzil-capture run as a program: its output, its exit status and the folders it makes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/files.h"
#include "support/fixture_server.h"
#include "support/test_environment.h"

namespace qz {
namespace {

struct ProgramRun {
  int status = -1;
  std::string output;
};

// Standard output and error together; the program's standard output is a pipe, not a
// terminal, so the lines come without colour escapes.
ProgramRun runProgram(const std::string& arguments) {
  ProgramRun run;
  const std::string command = std::string(QUENZIL_CAPTURE_PROGRAM) + " " + arguments + " 2>&1";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(CaptureCommand, HelpAndBadArgumentsTellTheUsage) {
  const ProgramRun help = runProgram("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.output.find("Usage: quenzil-capture URL"), std::string::npos);
  for (const char* arguments : {"", "--save-root", "--bogus x", "a b"}) {
    SCOPED_TRACE(arguments);
    const ProgramRun bad = runProgram(arguments);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.output.find("Usage:"), std::string::npos);
  }
}

TEST(CaptureCommand, CapturesTwiceIntoNumberedFoldersWithStampedCrLfLog) {
  test::FixtureServer server("site");
  const std::string root = test::makeScratchFolder("cli-root");
  const std::string folder = "1_" + std::to_string(server.port());
  for (int n = 1; n <= 2; ++n) {
    const ProgramRun run = runProgram(server.hostAndPort() + "/index.html --save-root " + root);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("创建了本地保存目录  " + root + folder + "_" + std::to_string(n) + "/"),
              std::string::npos);
    EXPECT_NE(run.output.find("所有任务完成!\n"), std::string::npos);
    EXPECT_EQ(run.output.find("\033["), std::string::npos);
  }
  const std::string log = readWholeFile(root + folder + "_1/软件日志.txt");
  EXPECT_EQ(log.rfind("【", 0), 0u);
  EXPECT_NE(log.find("】所有任务完成!\r\n"), std::string::npos);
}

TEST(CaptureCommand, FlagsApplyToThisRunOnlyAndAreNeverWrittenBack) {
  test::FixtureServer server;
  server.serveText("/p.html", "<a href=\"/about.html\" >x</a>");
  server.serveText("/about.html", "<p>about</p>");
  const std::string root = test::makeScratchFolder("cli-flags");
  const ProgramRun run = runProgram("http://" + server.hostAndPort() + "/p.html --no-skip --no-local-view --save-root " + root);
  ASSERT_EQ(run.status, 0) << run.output;
  const std::string site = root + "1_" + std::to_string(server.port()) + "_1/127.0.0.1_" +
                           std::to_string(server.port()) + "/";
  EXPECT_TRUE(std::filesystem::exists(site + "about.html"));  // not skipped with --no-skip
  EXPECT_EQ(readWholeFile(site + "p.html"), "<a href=\"/about.html\" >x</a>");  // no rewrite
  const std::string settings = readWholeFile(std::string(std::getenv("XDG_DATA_HOME")) + "/Pirnex/Pirnexsoft.p");
  EXPECT_EQ(settings.find("要求不下载设置"), std::string::npos);
}

TEST(CaptureCommand, NoCaptureFolderExitsWithOneAndTheMessageOnStandardError) {
  const std::string blocker = test::makeScratchFolder("cli-blocked") + "file";
  writeFileAtomically(blocker, "x");
  const ProgramRun run = runProgram("127.0.0.1:9/x --save-root " + blocker);
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("无法创建保存目录!"), std::string::npos);
  EXPECT_EQ(run.output.find("所有任务完成!"), std::string::npos);
}

}  // namespace
}  // namespace qz
