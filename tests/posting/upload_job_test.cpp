#include "posting/upload_job.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(PostingUploadJob, TheAccountAndBothImagesInOrder) {
  const TFTPCredentials account{"ftp.example.org", "user", "pass", "\\web\\", false, true};
  const TInfosServer job = MakeUploadJob(account, "/opt/vesk/Images");
  EXPECT_EQ(job.ServerName, "ftp.example.org");
  EXPECT_EQ(job.UserName, "user");
  EXPECT_EQ(job.Password, "pass");
  EXPECT_EQ(job.RemotePath, "\\web\\") << "turned into slashes by the upload";
  EXPECT_FALSE(job.Passive);
  EXPECT_TRUE(job.TLS);
  EXPECT_EQ(job.Port, 21);
  TFTPCredentials otherPort;
  otherPort.Port = 2121;
  EXPECT_EQ(MakeUploadJob(otherPort, "/opt/vesk/Images").Port, 2121);
  EXPECT_TRUE(job.CAFile.empty()) << "the system's store";
  EXPECT_EQ(job.LocalFiles, (std::vector<std::filesystem::path>{"/opt/vesk/Images/temp.jpg",
                                                                "/opt/vesk/Images/RH.jpg"}));
  EXPECT_EQ(StartFtpText("ftp.example.org"), "Start FTP on \"ftp.example.org\"");
}

}  // namespace
}  // namespace vesk
