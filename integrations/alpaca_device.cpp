#include "integrations/alpaca_device.h"

#include <algorithm>
#include <array>

namespace vesk {
namespace {

constexpr std::array<std::string_view, 6> kInfoMembers = {
    "description", "driverinfo", "driverversion", "interfaceversion", "name", "supportedactions"};
constexpr std::array<std::string_view, 4> kCommandMembers = {"action", "commandblind",
                                                             "commandbool", "commandstring"};

bool OneOf(std::string_view member, const auto& names) {
  return std::find(names.begin(), names.end(), member) != names.end();
}

}  // namespace

MemberAnswer WrongMethod(const MemberCall& call) {
  return MemberAnswer::BadRequest(std::string(call.member) +
                                  (call.put ? " is read with GET" : " is called with PUT"));
}

MemberAnswer AlpacaDevice::Answer(const MemberCall& call) {
  const std::string_view member = call.member;
  if (member == "connected") {
    return call.put ? SetConnected(call) : MemberAnswer::Of(Connected());
  }
  if (OneOf(member, kInfoMembers)) {
    if (call.put) {
      return WrongMethod(call);
    }
    if (member == "description") {
      return MemberAnswer::Of(Description());
    }
    if (member == "driverinfo") {
      return MemberAnswer::Of("Vesk Monitor: the all-sky camera board's readings");
    }
    if (member == "driverversion") {
      return MemberAnswer::Of(VESK_VERSION);
    }
    if (member == "interfaceversion") {
      return MemberAnswer::Of(1);
    }
    if (member == "name") {
      return MemberAnswer::Of(DeviceName());
    }
    return MemberAnswer::Of(nlohmann::json::array());
  }
  if (OneOf(member, kCommandMembers)) {
    if (!call.put) {
      return WrongMethod(call);
    }
    if (member == "action") {
      return MemberAnswer::Error(alpaca_error::kActionNotImplemented,
                                 "This device supports no action");
    }
    return MemberAnswer::Error(alpaca_error::kNotImplemented,
                               "The board takes no commands from here");
  }
  return AnswerOwn(call);
}

MemberAnswer AlpacaDevice::SetConnected(const MemberCall& call) {
  const std::string* text = call.Find("Connected");
  if (!text) {
    return MemberAnswer::BadRequest("The parameter Connected is missing");
  }
  const auto value = ParseBool(*text);
  if (!value) {
    return MemberAnswer::BadRequest("Connected must be true or false");
  }
  connected_ = *value;
  return MemberAnswer::Done();
}

}  // namespace vesk
