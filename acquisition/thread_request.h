#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "acquisition/poll_records.h"
#include "acquisition/reply_decoders.h"

namespace vesk {

// GET_INFOS_EF_CANON exchanges since the connection (wraps at 65536); the lens page shows it.
extern std::atomic<std::uint16_t> LensCheckCount;

// One poll: sends the model's orders in their fixed order and decodes the replies. A new
// worker is made for every poll; Execute runs on the worker thread.
class ThreadRequest {
 public:
  ThreadRequest(const TDataTinParams& in, const WindCorrection& wind);

  // Never throws: a failure ends the poll at once and leaves its text in ErrorMes.
  void Execute();

  std::string ErrorMes;
  TDataTinParams FDataIn;
  TDataOUT FDataOUT;
  bool CorrectWindSpeed = false;
  double FactCorrectionWindSpeed = 0;

 private:
  void Poll();
  TArrayByte Exchange(std::uint8_t order);
  void ReadLens();
};

}  // namespace vesk
