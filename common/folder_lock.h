#pragma once

#include <filesystem>
#include <string>

namespace vesk {

// The program folder belongs to one monitor or one `vesk-cli serve` at a time: two of them
// would each append their own readings to the same history file and lose the other's. The
// lock is the operating system's lock on a small file of the folder, which holds the process
// id of its owner; it goes with the process, so a crashed owner leaves no stale lock behind.
class FolderLock {
 public:
  static constexpr char kFileName[] = "VeskMonitor.lock";

  enum class State {
    Held,         // this process owns the folder until the object goes
    Busy,         // another process owns it
    Unavailable,  // the lock file cannot be opened (a read-only or missing folder)
  };

  // Tries once, without waiting.
  explicit FolderLock(const std::filesystem::path& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  State state() const { return state_; }
  bool held() const { return state_ == State::Held; }
  // Busy: the owner's process id, 0 when it could not be read.
  long owner() const { return owner_; }
  // Why the folder is not held: "Program folder <folder> is in use by process <pid> ..." or
  // the reason the lock file could not be opened.
  std::string refusal() const;

 private:
  std::filesystem::path folder_;
  State state_ = State::Unavailable;
  long owner_ = 0;
  std::string error_;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace vesk
