#include "settings/ini_file.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <fstream>
#include <optional>
#include <string>

#include "common/exceptions.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_child.h"

namespace vesk {
namespace {

using test::ReadFile;
using test::TempFolder;

void WriteText(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

#ifndef _WIN32
unsigned Mode(const std::filesystem::path& file) {
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0);
  return info.st_mode & 0777;
}
#endif

TEST(IniFile, ValuesEditedByHand) {
  const struct {
    const char* text;
    int integer;    // read with the default 3
    bool boolean;   // read with the default true
    double number;  // read with the default 7.5
  } cases[] = {
      {"12", 12, true, 12},
      {"0x0A", 10, true, 7.5},
      {"0X1f", 31, true, 7.5},
      {"-4", -4, true, -4},
      {" 8 ", 8, true, 8},
      {"abc", 3, true, 7.5},
      {"2", 2, true, 2},
      {"0", 0, false, 0},
      {"yes", 3, true, 7.5},
      {"", 3, true, 7.5},
      {"99999999999", 3, true, 99999999999.0},  // beyond 32 bits
      {"1.5", 3, true, 1.5},
      {"1e1", 3, true, 10},
      {"1,5", 3, true, 7.5},
      {"1.2.3", 3, true, 7.5},
      {".", 3, true, 7.5},
      {"NAN", 3, true, 7.5},
  };
  TempFolder folder;
  const auto file = folder / "VeskLevel.ini";
  const TIniFile ini(file);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("Key=") + c.text);
    WriteText(file, std::string("[Section]\r\nKey=") + c.text + "\r\n");
    EXPECT_EQ(ini.ReadInteger("Section", "Key", 3), c.integer);
    EXPECT_EQ(ini.ReadBool("Section", "Key", true), c.boolean);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Section", "Key", 7.5), c.number);
  }
}

TEST(IniFile, NamesIgnoreCaseAndTheFirstOneCounts) {
  TempFolder folder;
  const auto file = folder / "VeskLevel.ini";
  // Line feeds alone, as some editors leave them.
  WriteText(file,
            "Orphan=before any section\n"
            "[Temp_Scale]\n"
            "YMIN = 5\n"
            "ymin=6\n"
            "[TEMP_SCALE]\n"
            "Ymax=7\n");
  TIniFile ini(file);
  EXPECT_EQ(ini.ReadString("temp_scale", "Ymin", "-"), "5");
  EXPECT_EQ(ini.ReadString("Temp_scale", "Ymax", "-"), "-") << "only the first section is read";
  EXPECT_EQ(ini.ReadString("", "Orphan", "-"), "-");

  ini.WriteFloat("Temp_scale", "Ymin", 1);
  ini.WriteBool("Temp_scale", "Y_fixed", true);
  EXPECT_EQ(ReadFile(file),
            "Orphan=before any section\r\n"
            "[Temp_Scale]\r\n"
            "YMIN=1\r\n"
            "ymin=6\r\n"
            "Y_fixed=1\r\n"
            "[TEMP_SCALE]\r\n"
            "Ymax=7\r\n");
}

TEST(IniFile, ForeignLinesSurviveAWrite) {
  TempFolder folder;
  const auto file = folder / "VeskLevel.ini";
  WriteText(file,
            "; written by hand\r\n"
            "[FTP]\r\n"
            "Host=ftp.example.org\r\n"
            "Comment=kept\r\n"
            "\r\n"
            "# the next one is ours alone\r\n"
            "[Operator notes]\r\n"
            "Dome=cleaned 2026-01-12\r\n"
            "a line with no equals sign\r\n");
  TIniFile ini(file);
  ini.WriteValues(
      {{"FTP", "Host", "10.0.0.5"}, {"FTP", "User", "cam"}, {"Misc", "Autostart", "0"}});
  EXPECT_EQ(ReadFile(file),
            "; written by hand\r\n"
            "[FTP]\r\n"
            "Host=10.0.0.5\r\n"
            "Comment=kept\r\n"
            "User=cam\r\n"
            "\r\n"
            "# the next one is ours alone\r\n"
            "[Operator notes]\r\n"
            "Dome=cleaned 2026-01-12\r\n"
            "a line with no equals sign\r\n"
            "[Misc]\r\n"
            "Autostart=0\r\n");
}

TEST(IniFile, EachWriteIsInTheFileAtOnce) {
  TempFolder folder;
  const auto file = folder / "VeskLevel.ini";
  TIniFile ini(file);
  ini.WriteInteger("COM", "Value", 7);
  EXPECT_EQ(ReadFile(file), "[COM]\r\nValue=7\r\n");
  // A hand edit made while the program runs is seen by the next read and kept by the next
  // write.
  WriteText(file, "[COM]\r\nValue=7\r\n[Misc]\r\nAutostart=0\r\n");
  EXPECT_FALSE(ini.ReadBool("Misc", "Autostart", true));
  ini.WriteString("FTP", "Host", "a\r\nPass=injected");
  EXPECT_EQ(ReadFile(file),
            "[COM]\r\nValue=7\r\n[Misc]\r\nAutostart=0\r\n[FTP]\r\nHost=a  Pass=injected\r\n");
}

#ifndef _WIN32
// Permissions and a file size limit are POSIX.
TEST(IniFile, FileHoldingThePasswordIsForItsOwnerOnly) {
  TempFolder folder;
  const auto file = folder / "VeskLevel.ini";
  TIniFile ini(file, {{"FTP", "Pass"}});
  ini.WriteInteger("COM", "Value", 3);
  ::chmod(file.c_str(), 0644);
  ini.WriteInteger("COM", "Value", 4);
  EXPECT_EQ(Mode(file), 0644u) << "a rewrite keeps the file's permissions";
  ini.WriteString("FTP", "Pass", "tovar82");
  EXPECT_EQ(Mode(file), 0600u);

  // Put in by hand: hidden at the next write, even one that changes nothing.
  ::chmod(file.c_str(), 0644);
  ini.WriteInteger("COM", "Value", 4);
  EXPECT_EQ(Mode(file), 0600u);
}
#endif

TEST(IniFile, WriteFailureIsReported) {
  TempFolder folder;
  const auto file = folder / "missing folder" / "VeskLevel.ini";
  TIniFile ini(file);
  EXPECT_EQ(ini.ReadInteger("COM", "Value", 3), 3);
  try {
    ini.WriteInteger("COM", "Value", 4);
    FAIL() << "the write into a missing folder succeeded";
  } catch (const EInOutError& error) {
    EXPECT_EQ(error.message(), "Unable to write to " + file.string());
  }
}

#ifndef _WIN32
// A writer that dies in the middle of rewriting the file leaves the old content, never a
// truncated file. The child's file size limit kills it (SIGXFSZ) part way through the write.
TEST(IniFile, WriterDyingMidWriteLeavesTheOldFile) {
  TempFolder folder;
  const auto file = folder / "VeskLevel.ini";
  TIniFile(file).WriteValues({{"Misc", "Keep", "me"}, {"Big", "Value", std::string(1000, 'a')}});
  const std::string before = ReadFile(file);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{64 * 1024, 64 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    try {
      TIniFile(file).WriteString("Big", "Value", std::string(1 << 20, 'b'));
    } catch (...) {
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the writer did not die";
  EXPECT_EQ(ReadFile(file), before);
}
#endif

// A writer killed at any moment of a rewrite (a child, this test run again) leaves a whole
// file: the content before or after one of its writes, never a part of one.
TEST(IniFile, WriterKilledMidRewriteLeavesAWholeFile) {
  const std::string big(1 << 20, 'b');
  const std::string other(1 << 20, 'c');
  if (const std::optional<std::string> role = test::ChildRole()) {
    TIniFile ini(*role);
    for (;;) {
      ini.WriteString("Big", "Value", big);
      ini.WriteString("Big", "Value", other);
    }
  }
  TempFolder folder;
  const auto file = folder / "VeskLevel.ini";
  TIniFile(file).WriteValues({{"Misc", "Keep", "me"}, {"Big", "Value", "a"}});

  test::TestChild child(file.string());
  // A rewrite is under way: its new content is going into a temporary beside the file.
  const bool writing = test::WaitFor([&] {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path(), error)) {
      if (entry.path().filename() != "VeskLevel.ini" && entry.file_size(error) > 0) {
        return true;
      }
    }
    return false;
  });
  child.kill();
  EXPECT_FALSE(child.exitCode()) << child.output();
  ASSERT_TRUE(writing) << child.output();

  TIniFile ini(file);
  EXPECT_EQ(ini.ReadString("Misc", "Keep", ""), "me");
  const std::string value = ini.ReadString("Big", "Value", "");
  EXPECT_TRUE(value == "a" || value == big || value == other)
      << value.size() << " characters: " << value.substr(0, 20);
}

}  // namespace
}  // namespace vesk
