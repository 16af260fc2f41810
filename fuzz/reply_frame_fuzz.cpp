// The reply reader of the link on whatever bytes a board (or a noisy cable) may send: the
// input is the byte stream the port delivers, read by three exchanges in a row.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/exceptions.h"
#include "fuzz/fuzz_folder.h"
#include "link/com_obj_rs232.h"
#include "link/frame.h"

namespace {

// A port that hands out the input as it is asked for, then times out (reads return short).
class ScriptedPort : public vesk::SerialPort {
 public:
  ScriptedPort(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint32_t handleValue() const override { return 7; }
  void purgeInput() override {}
  std::size_t write(const std::uint8_t*, std::size_t count) override { return count; }
  std::size_t read(std::uint8_t* bytes, std::size_t count) override {
    const std::size_t n = std::min(count, size_ - offset_);
    std::copy_n(data_ + offset_, n, bytes);
    offset_ += n;
    return n;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vesk::TComObjRs232 link(vesk::fuzz::FuzzFolder());
  link.AttachPort(std::make_unique<ScriptedPort>(data, size));
  for (const std::uint8_t order : {0x10, 0x20, 0x30}) {
    vesk::TArrayByte reply;
    try {
      link.SendOrder_ReceiveFeedBack({order}, reply);
      // A payload always fits the reply buffer less its start, length and checksum.
      if (reply.size() > vesk::kMaxReplyLength - 1) {
        __builtin_trap();
      }
    } catch (const vesk::Exception&) {
    }
  }
  vesk::fuzz::DropLog();
  return 0;
}
