// Uploads to a real FTP server on 127.0.0.1.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <sstream>

#include "posting/ftp_loader_thread.h"
#include "posting/ftp_log.h"
#include "tests/posting/upload_fixture.h"

namespace vesk::test {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

using FtpUpload = UploadTest;

bool Upload(TFTPLoaderThread& loader, TInfosServer job) {
  return loader.Start(std::move(job)) && loader.Close(kUploadWait);
}

TEST_F(FtpUpload, FilesArriveByteIdenticalInTheRemoteFolder) {
  struct FolderCase {
    const char* remotePath;
    const char* folderBelowRoot;
    const char* changeDir;  // as logged and sent
  };
  const FolderCase cases[] = {
      {"\\web\\plots\\", "web/plots", "/web/plots/"},
      {"web/plots", "web/plots", "web/plots"},
      {"/my plots/", "my plots", "/my plots/"},
      {"", "", ""},  // the login folder, no change of directory
  };
  FtpTestServer server;
  std::filesystem::create_directories(server.root() / "web/plots");
  std::filesystem::create_directories(server.root() / "my plots");
  TFTPLoaderThread loader(program.path(), [this](const std::string& line) { HandOver(line); });
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.remotePath);
    const std::size_t linesBefore = FtpLogTexts().size();
    const std::filesystem::path folder = server.root() / c.folderBelowRoot;
    std::filesystem::remove(folder / "temp.jpg");
    std::filesystem::remove(folder / "RH.jpg");

    ASSERT_TRUE(Upload(loader, Job(server, c.remotePath)));
    EXPECT_EQ(ReadFile(folder / "temp.jpg"), tempBytes);
    EXPECT_EQ(ReadFile(folder / "RH.jpg"), rhBytes);
    const std::vector<std::string> texts = FtpLogTexts();
    EXPECT_THAT(std::vector(texts.begin() + linesBefore, texts.end()),
                ElementsAreArray(UploadedTexts(c.changeDir)));
  }
  // The window gets every line of the file, in order.
  std::vector<std::string> fileLines;
  std::istringstream file(ReadFile(program / kFtpLogFileName));
  for (std::string line; std::getline(file, line);) {
    fileLines.push_back(line.substr(0, line.size() - 1));
  }
  EXPECT_EQ(handedOver(), fileLines);
}

TEST_F(FtpUpload, AMissingImageIsSkipped) {
  FtpTestServer server;
  std::filesystem::remove(image("temp.jpg"));
  TFTPLoaderThread loader(program.path());
  ASSERT_TRUE(Upload(loader, Job(server, "")));
  EXPECT_FALSE(std::filesystem::exists(server.root() / "temp.jpg"));
  EXPECT_EQ(ReadFile(server.root() / "RH.jpg"), rhBytes);
  EXPECT_THAT(FtpLogTexts(),
              ElementsAre(kStart, "Connecting to : 127.0.0.1", "Connected",
                          "Local file : " + image("temp.jpg").string() + " does not exists !",
                          "Putting file -> \"" + image("RH.jpg").string() + "\"", "Ok, file put !",
                          "Disconnected !", kStop));
}

// A failure ends the upload at its step with the client's message; nothing more is stored.
TEST_F(FtpUpload, AFailureEndsTheUpload) {
  struct FailureCase {
    const char* what;
    const char* password;
    const char* remotePath;
    std::vector<std::string> before;  // the lines before the failure line
  };
  const FailureCase cases[] = {
      {"wrong password", "wrong", "", {kStart, "Connecting to : 127.0.0.1"}},
      {"missing remote folder",
       FtpTestServer::kPassword,
       "/nowhere/",
       {kStart, "Connecting to : 127.0.0.1", "Connected", "Change dir to \"/nowhere/\""}},
  };
  FtpTestServer server;
  TFTPLoaderThread loader(program.path());
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(program / kFtpLogFileName);
    TInfosServer job = Job(server, c.remotePath);
    job.Password = c.password;
    ASSERT_TRUE(Upload(loader, job));

    const std::vector<std::string> texts = FtpLogTexts();
    ASSERT_EQ(texts.size(), c.before.size() + 2);
    EXPECT_TRUE(std::equal(c.before.begin(), c.before.end(), texts.begin()));
    EXPECT_TRUE(IsFailureLine(texts[c.before.size()])) << texts[c.before.size()];
    EXPECT_EQ(texts.back(), kStop);
    EXPECT_FALSE(std::filesystem::exists(server.root() / "temp.jpg"));
  }
}

// The loader's log hand-over holds the first upload just after it logged in.
TEST_F(FtpUpload, ASecondStartDuringAnUploadDoesNothing) {
  FtpTestServer server;
  std::promise<void> loggedIn;
  std::promise<void> release;
  std::atomic<bool> held{false};
  TFTPLoaderThread loader(program.path(), [&](const std::string& line) {
    if (line.ends_with(" -> Connected") && !held.exchange(true)) {
      loggedIn.set_value();
      release.get_future().wait();
    }
  });
  ASSERT_TRUE(loader.Start(Job(server, "")));
  loggedIn.get_future().wait();
  EXPECT_TRUE(loader.UploadRunning());
  EXPECT_FALSE(loader.Start(Job(server, "second")));
  release.set_value();
  ASSERT_TRUE(loader.Close(kUploadWait));
  EXPECT_FALSE(loader.UploadRunning());
  EXPECT_THAT(FtpLogTexts(), ElementsAreArray(UploadedTexts("")));

  // Once it has ended, the next start uploads again.
  std::filesystem::remove(server.root() / "RH.jpg");
  EXPECT_TRUE(Upload(loader, Job(server, "")));
  EXPECT_EQ(ReadFile(server.root() / "RH.jpg"), rhBytes);
}

// Each server refuses the other mode, so a stored file proves the mode asked for.
// The job's own hand-over gets every line as the loader's does; the loader keeps the last.
TEST_F(FtpUpload, TheJobsViewAndTheLastLine) {
  FtpTestServer server;
  TFTPLoaderThread loader(program.path());
  EXPECT_EQ(loader.MessageLog(), "");
  std::vector<std::string> viewed;
  TInfosServer job = Job(server, "");
  job.RicheEdit = [&viewed](const std::string& line) { viewed.push_back(line); };
  ASSERT_TRUE(Upload(loader, job));
  std::vector<std::string> texts;
  for (const std::string& line : viewed) {
    texts.push_back(line.substr(line.find(" :  -> ") + 7));
  }
  EXPECT_EQ(texts, FtpLogTexts());
  ASSERT_FALSE(viewed.empty());
  EXPECT_EQ(loader.MessageLog(), viewed.back());
  EXPECT_TRUE(loader.MessageLog().ends_with(kStop));
}

TEST_F(FtpUpload, PassiveAndActiveModes) {
  for (const bool passive : {true, false}) {
    SCOPED_TRACE(passive ? "passive" : "active");
    FtpServerOptions options;
    options.refuse = passive ? "active" : "passive";
    FtpTestServer server(options);
    TFTPLoaderThread loader(program.path());
    TInfosServer job = Job(server, "");
    job.Passive = passive;
    ASSERT_TRUE(Upload(loader, job));
    EXPECT_EQ(ReadFile(server.root() / "temp.jpg"), tempBytes);
    EXPECT_EQ(ReadFile(server.root() / "RH.jpg"), rhBytes);
  }
}

// Closing the window waits a bounded time, then abandons the upload; its thread has ended
// when Close returns.
TEST_F(FtpUpload, CloseAbandonsAnUploadThatDoesNotEnd) {
  SilentServer silent;
  std::promise<void> connecting;
  TFTPLoaderThread loader(program.path(), [&](const std::string& line) {
    if (line.ends_with(" -> Connecting to : 127.0.0.1")) {
      connecting.set_value();
    }
  });
  TInfosServer job;
  job.ServerName = "127.0.0.1";
  job.Port = silent.port();
  job.LocalFiles = {image("temp.jpg")};
  ASSERT_TRUE(loader.Start(job));
  connecting.get_future().wait();

  EXPECT_FALSE(loader.Close(std::chrono::milliseconds(100)));
  EXPECT_FALSE(loader.UploadRunning());
  const std::vector<std::string> texts = FtpLogTexts();
  ASSERT_EQ(texts.size(), 4u);
  EXPECT_EQ(texts[2], "!! Failed !! -> [Upload abandoned]");
  EXPECT_EQ(texts[3], kStop);
}

}  // namespace
}  // namespace vesk::test
