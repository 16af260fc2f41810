#include "common/program_folder.h"

#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vesk {
namespace {

bool Writable(const std::filesystem::path& folder) {
#ifdef _WIN32
  return ::_waccess(folder.c_str(), 2) == 0;
#else
  return ::access(folder.c_str(), W_OK) == 0;
#endif
}

std::filesystem::path Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::filesystem::path(value) : std::filesystem::path();
}

std::filesystem::path UserDataFolder() {
#ifdef _WIN32
  return Environment("LOCALAPPDATA") / "Vesk Monitor";
#else
  // The XDG base directory rule: a relative $XDG_DATA_HOME is to be ignored.
  const auto xdg = Environment("XDG_DATA_HOME");
  if (xdg.is_absolute()) {
    return xdg / "vesk-monitor";
  }
  return Environment("HOME") / ".local" / "share" / "vesk-monitor";
#endif
}

}  // namespace

std::filesystem::path ProgramFolder() {
#ifdef _WIN32
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(std::wstring(path, length)).parent_path();
#else
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) {
    return std::filesystem::current_path();
  }
  return exe.parent_path();
#endif
}

std::filesystem::path DataFolder(const std::filesystem::path& programFolder,
                                 const std::vector<std::filesystem::path>& installedFolders) {
  // Root may write to /usr/bin, which is still no place for a history.
  bool installed = false;
  for (const auto& folder : installedFolders) {
    std::error_code error;
    installed =
        installed || (!folder.empty() && std::filesystem::equivalent(programFolder, folder, error));
  }
  if (!installed && Writable(programFolder)) {
    return programFolder;
  }
  const auto folder = UserDataFolder();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return folder;
}

}  // namespace vesk
