#include "integrations/alpaca_api.h"

#include <cctype>
#include <vector>

#include "integrations/unique_id.h"

namespace vesk {
namespace {

std::vector<std::string_view> Segments(std::string_view path) {
  std::vector<std::string_view> segments;
  while (!path.empty() && path.front() == '/') {
    path.remove_prefix(1);
    const std::size_t end = std::min(path.find('/'), path.size());
    segments.push_back(path.substr(0, end));
    path.remove_prefix(end);
  }
  return segments;
}

// JSON text; bytes that are not UTF-8 become U+FFFD rather than an exception.
std::string JsonText(const nlohmann::ordered_json& json) {
  return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

AlpacaReply NotFound() {
  return {404, "text/plain; charset=utf-8", "Not found"};
}

}  // namespace

AlpacaApi::AlpacaApi(const LatestReading& latest, const SafetyLimits& limits)
    : latest_(latest), observing_(latest), safety_(latest, limits) {}

AlpacaReply AlpacaApi::BadRequest(const std::string& text) {
  return {400, "text/plain; charset=utf-8", text};
}

AlpacaReply AlpacaApi::Handle(const AlpacaRequest& request) {
  const std::vector<std::string_view> path = Segments(request.path);
  const bool api = !path.empty() && path[0] == "api";
  if (path.empty() || (!api && path[0] != "management")) {
    return NotFound();
  }
  std::uint32_t clientTransactionId = 0;
  for (const char* name : {"ClientID", "ClientTransactionID"}) {
    if (const std::string* text = FindParam(request.params, name, !request.put)) {
      const auto value = ParseUInt32(*text);
      if (!value) {
        return BadRequest(std::string(name) + " must be a whole number from 0 to 4294967295");
      }
      if (name == std::string_view("ClientTransactionID")) {
        clientTransactionId = *value;
      }
    }
  }

  MemberAnswer answer = MemberAnswer::NoSuchMember();
  if (!api) {
    answer = Management(request);
  } else if (path.size() == 5 && path[1] == "v1") {
    AlpacaDevice* device = DeviceAt(path[2], path[3]);
    if (!device) {
      return BadRequest("No device " + std::string(path[2]) + " number " + std::string(path[3]));
    }
    answer = device->Answer({request.put, path[4], request.params});
  }
  switch (answer.kind) {
    case MemberAnswer::Kind::NoSuchMember:
      return BadRequest("Unknown request " + request.path);
    case MemberAnswer::Kind::BadRequest:
      return BadRequest(answer.message);
    default:
      return Envelope(answer, clientTransactionId);
  }
}

AlpacaReply AlpacaApi::Envelope(const MemberAnswer& answer, std::uint32_t clientTransactionId) {
  nlohmann::ordered_json json;
  if (answer.kind == MemberAnswer::Kind::Value) {
    json["Value"] = answer.value;
  }
  json["ClientTransactionID"] = clientTransactionId;
  json["ServerTransactionID"] = ++serverTransactionId_;
  json["ErrorNumber"] = answer.errorNumber;
  json["ErrorMessage"] = answer.message;
  return {200, "application/json", JsonText(json)};
}

MemberAnswer AlpacaApi::Management(const AlpacaRequest& request) {
  const std::vector<std::string_view> path = Segments(request.path);
  const bool apiVersions = path.size() == 2 && path[1] == "apiversions";
  const bool v1 = path.size() == 3 && path[1] == "v1";
  const bool description = v1 && path[2] == "description";
  const bool devices = v1 && path[2] == "configureddevices";
  if (!apiVersions && !description && !devices) {
    return MemberAnswer::NoSuchMember();
  }
  if (request.put) {
    return MemberAnswer::BadRequest("The management API is read with GET");
  }
  if (apiVersions) {
    return MemberAnswer::Of(nlohmann::json::array({1}));
  }
  if (description) {
    return MemberAnswer::Of({{"ServerName", "Vesk Monitor"},
                             {"Manufacturer", "Vesk"},
                             {"ManufacturerVersion", VESK_VERSION},
                             {"Location", ""}});
  }
  nlohmann::json list = nlohmann::json::array();
  // A device's UniqueID comes from the board's serial number, known from the first poll on:
  // until then no device is listed, so a client never keeps an identity that would change.
  if (!latest_.Get()) {
    return MemberAnswer::Of(std::move(list));
  }
  for (const AlpacaDevice* device :
       {static_cast<AlpacaDevice*>(&observing_), static_cast<AlpacaDevice*>(&safety_)}) {
    list.push_back({{"DeviceName", device->DeviceName()},
                    {"DeviceType", device->DeviceType()},
                    {"DeviceNumber", 0},
                    {"UniqueID", UniqueId(*device)}});
  }
  return MemberAnswer::Of(std::move(list));
}

AlpacaDevice* AlpacaApi::DeviceAt(std::string_view type, std::string_view number) {
  if (number != "0") {
    return nullptr;
  }
  if (type == "observingconditions") {
    return &observing_;
  }
  if (type == "safetymonitor") {
    return &safety_;
  }
  return nullptr;
}

std::string AlpacaApi::UniqueId(const AlpacaDevice& device) const {
  const auto latest = latest_.Get();
  // A board that does not tell its serial number (firmware below 3) keeps this one.
  const std::string serial = latest ? latest->reading.SerialNumber : std::string();
  return StableUuid("vesk/" + (serial.empty() ? std::string("unidentified") : serial) + "/" +
                    device.DeviceType());
}

}  // namespace vesk
