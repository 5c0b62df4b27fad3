// The command-line tool as its own process: what Ctrl+C does to a batch.
#ifndef _WIN32
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "catalogue/catalogue_source.h"
#include "platform/platform.h"
#include "support/summary_files.h"

namespace sonvera {
namespace {

namespace fs = std::filesystem;

// Reads a descriptor to its end.
std::string drain(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<std::size_t>(n));
  return text;
}

TEST(CliProcess, InterruptedBatchCountsWhatStoppedAndExitsWith130) {
  const char* root = std::getenv("SONVERA_TEST_DATA");
  const std::string tool = std::string(root ? root : "") + "/bin/sonvera-cli";
  if (root == nullptr || !fs::exists(tool)) GTEST_SKIP() << "no sonvera-cli built beside the tests";
  const fs::path dir = fs::temp_directory_path() / ("sonvera-interrupt-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string catalogue = (dir / "cat.bin").string(), small = (dir / "small.bin").string(),
                    big = (dir / "big.bin").string(), out = (dir / "deep" / "out").string();
  platform::writeWholeFile(catalogue, writeCatalogue(test::summaryCatalogueSource(1), 15));
  platform::writeWholeFile(small, test::summaryFileBytes(1, test::steadyRecords(10, 1)));
  // Long enough to be stopped halfway, also in an optimised build.
  platform::writeWholeFile(big, test::summaryFileBytes(1, test::steadyRecords(1000000, 1)));

  int output[2], errors[2];
  ASSERT_EQ(::pipe(output), 0);
  ASSERT_EQ(::pipe(errors), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::dup2(output[1], STDOUT_FILENO);
    ::dup2(errors[1], STDERR_FILENO);
    ::execl(tool.c_str(), tool.c_str(), "--catalogue", catalogue.c_str(), "export", small.c_str(), big.c_str(),
            "--all", "--jobs", "1", "--output-dir", out.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(output[1]);
  ::close(errors[1]);
  // The first file's line, then the second file's result growing: it is being exported now.
  std::string printed;
  char c;
  while (printed.find('\n') == std::string::npos && ::read(output[0], &c, 1) == 1) printed += c;
  const std::string bigResult = out + "/big.csv";
  std::error_code error;
  for (int wait = 0; wait < 3000 && !(fs::file_size(bigResult, error) > 100000 && !error); ++wait) ::usleep(10000);
  ::kill(child, SIGINT);
  printed += drain(output[0]);
  const std::string messages = drain(errors[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(output[0]);
  ::close(errors[0]);

  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130) << printed << messages;
  EXPECT_NE(printed.find("[1/2] " + out + "/small.csv: 10 records, 10 lines in 1 file\n"), std::string::npos);
  EXPECT_NE(printed.find("1 exported, 0 failed, 1 stopped\n"), std::string::npos) << printed;
  EXPECT_EQ(messages.rfind("Остановлено: " + big + ": выгружены записи 1-", 0), 0u) << messages;
  EXPECT_NE(messages.find("не доведены до конца диапазона: " + out + "/big.csv"), std::string::npos);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace sonvera
#endif
