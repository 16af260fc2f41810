// Explicit TLS against a real FTP server on 127.0.0.1 with a certificate made for the test.
#include <gtest/gtest.h>

#include "posting/ftp_loader_thread.h"
#include "tests/posting/upload_fixture.h"

namespace vesk::test {
namespace {

class FtpsUpload : public UploadTest {
 protected:
  FtpsUpload() { MakeCertificate(certificates.path()); }

  FtpServerOptions Tls() const {
    FtpServerOptions options;
    options.tlsCert = certificates / "server.pem";
    options.tlsKey = certificates / "server.key";
    return options;
  }

  TempFolder certificates;
};

TEST_F(FtpsUpload, UploadsWithATrustedCertificate) {
  FtpTestServer server(Tls());
  TFTPLoaderThread loader(program.path());
  TInfosServer job = Job(server, "");
  job.TLS = true;
  job.CAFile = certificates / "ca.pem";
  ASSERT_TRUE(loader.Start(job));
  ASSERT_TRUE(loader.Close(kUploadWait));
  EXPECT_EQ(ReadFile(server.root() / "temp.jpg"), tempBytes);
  EXPECT_EQ(ReadFile(server.root() / "RH.jpg"), rhBytes);
  EXPECT_EQ(FtpLogTexts(), UploadedTexts(""));
}

// The password is never sent where TLS cannot be had; the log says why.
TEST_F(FtpsUpload, RefusedWhenTheServerCannotBeTrusted) {
  struct RefusalCase {
    const char* what;
    bool serverTls;
    const char* message;
  };
  const RefusalCase cases[] = {
      // Verified against the system's store, which does not know the test's authority.
      {"untrusted certificate", true,
       "!! Failed !! -> [The server's TLS certificate does not verify"},
      {"server without TLS", false, "!! Failed !! -> [The server refuses TLS (FTPS)"},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(program / "ftp.log");
    FtpTestServer server(c.serverTls ? Tls() : FtpServerOptions{});
    TFTPLoaderThread loader(program.path());
    TInfosServer job = Job(server, "");
    job.TLS = true;
    ASSERT_TRUE(loader.Start(job));
    ASSERT_TRUE(loader.Close(kUploadWait));

    const std::vector<std::string> texts = FtpLogTexts();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[2].rfind(c.message, 0), 0u) << texts[2];
    EXPECT_TRUE(IsFailureLine(texts[2]));
    EXPECT_EQ(texts[3], kStop);
    EXPECT_FALSE(std::filesystem::exists(server.root() / "temp.jpg"));
  }
}

}  // namespace
}  // namespace vesk::test
