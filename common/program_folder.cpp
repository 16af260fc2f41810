#include "common/program_folder.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vesk {

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

}  // namespace vesk
