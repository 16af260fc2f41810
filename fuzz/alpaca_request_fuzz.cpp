// The Alpaca API on any request: the first byte picks GET or PUT and whether a reading is
// there, the first line is the path, the rest the query or form body. Every answer is a JSON
// envelope with its error number, a plain 400 or a 404 for a path outside the API.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "integrations/alpaca_api.h"
#include "integrations/alpaca_params.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::uint8_t flags = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::size_t lineEnd = text.find('\n');
  const std::string_view path = text.substr(0, lineEnd);
  const std::string_view rest =
      lineEnd == std::string_view::npos ? std::string_view() : text.substr(lineEnd + 1);

  const auto now = [] { return vesk::SteadyTime{} + std::chrono::hours(1); };
  vesk::LatestReading latest(now);
  if (flags & 2) {
    vesk::BoardReading reading;
    reading.TypeCam = static_cast<std::uint8_t>(flags >> 2);
    reading.Version = 3.5;
    reading.SerialNumber = "127512";
    reading.data.infosRec.TempExt = (flags & 0x80) ? -12.5 : 18.0;
    reading.data.infosRec.RHExt = (flags & 0x40) ? 95.0 : 40.0;
    latest.Store(reading);
  }
  vesk::AlpacaApi api(latest, vesk::SafetyLimits{});
  vesk::AlpacaRequest request;
  request.put = (flags & 1) != 0;
  request.path = std::string(path);
  if (auto params = vesk::DecodeForm(rest)) {
    request.params = std::move(*params);
  }
  const vesk::AlpacaReply reply = api.Handle(request);
  if (reply.status == 200) {
    const auto body = nlohmann::json::parse(reply.body, nullptr, false);
    if (body.is_discarded() || !body.is_object() ||
        (!body.contains("ErrorNumber") && !request.path.starts_with("/management"))) {
      __builtin_trap();
    }
  } else if (reply.status != 400 && reply.status != 404) {
    __builtin_trap();
  }
  return 0;
}
