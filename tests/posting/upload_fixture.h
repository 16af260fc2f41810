#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "posting/infos_server.h"
#include "tests/posting/ftp_test_server.h"
#include "tests/support/temp_folder.h"

namespace vesk::test {

// Far longer than any upload to 127.0.0.1 takes; only a hung upload would reach it.
inline constexpr std::chrono::milliseconds kUploadWait = std::chrono::minutes(1);

inline constexpr char kStart[] = "----------------> FTP start <----------------------------------";
inline constexpr char kStop[] = "----------------> FTP stop <----------------------------------";

// A program folder for "ftp.log" and an images folder holding the two chart images, whose
// bytes would not survive a text-mode transfer.
class UploadTest : public ::testing::Test {
 protected:
  UploadTest();

  TInfosServer Job(const FtpTestServer& server, const std::string& remotePath) const;
  std::filesystem::path image(const char* name) const { return images / name; }

  // The texts of the "ftp.log" lines, without their time stamps.
  std::vector<std::string> FtpLogTexts() const;

  // The lines of a successful upload of both images.
  std::vector<std::string> UploadedTexts(const std::string& changeDir) const;

  // Every line the loader hands over, as the window would get it.
  void HandOver(const std::string& line);
  std::vector<std::string> handedOver() const;

  TempFolder program;
  TempFolder images;
  std::string tempBytes;
  std::string rhBytes;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> handedOver_;
};

// "Failed" lines carry the client's message between brackets.
bool IsFailureLine(const std::string& text);

}  // namespace vesk::test
