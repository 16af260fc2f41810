#include "tests/posting/upload_fixture.h"

#include <fstream>

namespace vesk::test {
namespace {

std::string BinaryBytes(std::size_t size, unsigned seed) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    bytes[i] = static_cast<char>((i * 7 + seed) % 256);
  }
  return bytes + "\r\n\n\r\x1A";
}

void Write(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

}  // namespace

UploadTest::UploadTest() : tempBytes(BinaryBytes(200000, 3)), rhBytes(BinaryBytes(3000, 11)) {
  Write(image("temp.jpg"), tempBytes);
  Write(image("RH.jpg"), rhBytes);
}

TInfosServer UploadTest::Job(const FtpTestServer& server, const std::string& remotePath) const {
  TInfosServer job;
  job.ServerName = "127.0.0.1";
  job.Port = server.port();
  job.UserName = FtpTestServer::kUser;
  job.Password = FtpTestServer::kPassword;
  job.RemotePath = remotePath;
  job.LocalFiles = {image("temp.jpg"), image("RH.jpg")};
  return job;
}

std::vector<std::string> UploadTest::FtpLogTexts() const {
  return test::FtpLogTexts(program.path());
}

std::vector<std::string> UploadTest::UploadedTexts(const std::string& changeDir) const {
  std::vector<std::string> texts = {kStart, "Connecting to : 127.0.0.1", "Connected"};
  if (!changeDir.empty()) {
    texts.push_back("Change dir to \"" + changeDir + "\"");
    texts.push_back("Change dir OK !");
  }
  for (const char* name : {"temp.jpg", "RH.jpg"}) {
    texts.push_back("Putting file -> \"" + image(name).string() + "\"");
    texts.push_back("Ok, file put !");
  }
  texts.push_back("Disconnected !");
  texts.push_back(kStop);
  return texts;
}

void UploadTest::HandOver(const std::string& line) {
  const std::lock_guard lock(mutex_);
  handedOver_.push_back(line);
}

std::vector<std::string> UploadTest::handedOver() const {
  const std::lock_guard lock(mutex_);
  return handedOver_;
}

bool IsFailureLine(const std::string& text) {
  return text.rfind("!! Failed !! -> [", 0) == 0 && text.back() == ']' && text.size() > 18;
}

}  // namespace vesk::test
