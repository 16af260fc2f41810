#include "app/program_folder_lock.h"

#include "common/event_log.h"
#include "widgets/gui/message_box.h"

namespace vesk {

std::unique_ptr<FolderLock> ClaimProgramFolder(const std::filesystem::path& folder) {
  auto lock = std::make_unique<FolderLock>(folder);
  if (lock->state() != FolderLock::State::Busy) {
    return lock;
  }
  const std::string text = lock->refusal();
  WriteLog(text);
  ShowError(nullptr, QString::fromStdString(text));
  return nullptr;
}

}  // namespace vesk
