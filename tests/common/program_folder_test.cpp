#include "common/program_folder.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

// Sets an environment variable for one test, or removes it, and puts it back after.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = getenv(name)) {
      old_ = old;
    }
    value ? setenv(name, value->c_str(), 1) : unsetenv(name);
  }
  ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(DataFolder, ProgramFolderWhileItMayBeWrittenAndIsNotTheInstalledOne) {
  TempFolder program;
  TempFolder home;
  const ScopedEnv xdg("XDG_DATA_HOME", std::nullopt);
  const ScopedEnv homeEnv("HOME", home.path().string());
  const auto user = home / ".local" / "share" / "vesk-monitor";
  struct Case {
    const char* name;
    fs::path programFolder;
    std::vector<fs::path> installedFolders;
    fs::path expected;
  };
  const Case cases[] = {
      {"unpacked anywhere", program.path(), {"/usr/local/bin", "/usr/bin"}, program.path()},
      {"no installed folder known", program.path(), {""}, program.path()},
      // Root may write to the installed folder: still no place for the data.
      {"the package's folder", program.path(), {"/usr/local/bin", program.path()}, user},
      {"a folder that cannot be written", program / "gone", {"/usr/bin"}, user},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DataFolder(c.programFolder, c.installedFolders), c.expected) << c.name;
  }
  EXPECT_TRUE(fs::is_directory(user)) << "the user's folder is made when needed";
}

TEST(DataFolder, XdgDataHomeWhenAbsolute) {
  TempFolder program;
  TempFolder data;
  const ScopedEnv xdg("XDG_DATA_HOME", data.path().string());
  EXPECT_EQ(DataFolder(program.path(), {program.path()}), data / "vesk-monitor");
  TempFolder home;
  const ScopedEnv relative("XDG_DATA_HOME", "relative/data");
  const ScopedEnv homeEnv("HOME", home.path().string());
  EXPECT_EQ(DataFolder(program.path(), {program.path()}),
            home / ".local" / "share" / "vesk-monitor");
}

}  // namespace
}  // namespace vesk
