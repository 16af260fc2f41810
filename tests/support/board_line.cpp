#include "tests/support/board_line.h"

#include "link/frame.h"

namespace vesk::test {

BoardLine::BoardLine() {
  pty.linkAsPort(folder.path(), kPort);
  peer = std::make_unique<ScriptedPeer>(pty.masterFd(), [this](const TArrayByte& request) {
    std::lock_guard lock(mutex_);
    const auto found = replies_.find(request.at(2));
    return found == replies_.end() ? TArrayByte{} : found->second;
  });
  link.OpenCom(kPort);
}

BoardLine::~BoardLine() {
  link.CloseCom();
  peer.reset();
}

void BoardLine::answer(std::uint8_t order, const TArrayByte& payload) {
  answerRaw(order, BuildReplyFrame(payload));
}

void BoardLine::answerRaw(std::uint8_t order, const TArrayByte& bytes) {
  std::lock_guard lock(mutex_);
  replies_[order] = bytes;
}

std::vector<std::uint8_t> BoardLine::orders() const {
  std::vector<std::uint8_t> codes;
  for (const auto& request : peer->requests()) {
    codes.push_back(request.at(2));
  }
  return codes;
}

}  // namespace vesk::test
