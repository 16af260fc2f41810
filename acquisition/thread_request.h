#pragma once

#include <cstdint>
#include <string>

#include "acquisition/poll_records.h"
#include "acquisition/reply_decoders.h"

namespace vesk {

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
  // GET_INFOS_EF_CANON exchanges of this poll, counted whatever their outcome; the station
  // adds them to its LensCheckCount.
  std::uint16_t LensChecks = 0;

 private:
  void Poll();
  TArrayByte Exchange(std::uint8_t order);
  void ReadLens();
};

}  // namespace vesk
