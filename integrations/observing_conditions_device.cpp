#include "integrations/observing_conditions_device.h"

#include <algorithm>
#include <cctype>
#include <chrono>

namespace vesk {
namespace {

bool LowerCase(std::string_view text) {
  return std::none_of(text.begin(), text.end(),
                      [](char c) { return std::isupper(static_cast<unsigned char>(c)); });
}

MemberAnswer NotImplemented() {
  return MemberAnswer::Error(alpaca_error::kNotImplemented,
                             "The connected board does not measure this");
}

MemberAnswer NotConnected() {
  return MemberAnswer::Error(alpaca_error::kNotConnected, "Not connected");
}

}  // namespace

MemberAnswer ObservingConditionsDevice::AnswerOwn(const MemberCall& call) {
  const std::string_view member = call.member;
  if (member == "averageperiod") {
    return AveragePeriod(call);
  }
  if (member == "refresh") {
    return call.put ? Refresh() : WrongMethod(call);
  }
  if (member == "sensordescription" || member == "timesincelastupdate") {
    return call.put ? WrongMethod(call) : AboutSensor(call);
  }
  const auto sensor = LowerCase(member) ? SensorNamed(member) : std::nullopt;
  if (!sensor) {
    return MemberAnswer::NoSuchMember();
  }
  return call.put ? WrongMethod(call) : Read(*sensor);
}

MemberAnswer ObservingConditionsDevice::AveragePeriod(const MemberCall& call) const {
  if (!call.put) {
    return Connected() ? MemberAnswer::Of(0.0) : NotConnected();
  }
  const std::string* text = call.Find("AveragePeriod");
  if (!text) {
    return MemberAnswer::BadRequest("The parameter AveragePeriod is missing");
  }
  const auto hours = ParseNumber(*text);
  if (!hours) {
    return MemberAnswer::BadRequest("AveragePeriod must be a number");
  }
  if (!Connected()) {
    return NotConnected();
  }
  if (*hours != 0) {
    return MemberAnswer::Error(alpaca_error::kInvalidValue,
                               "The board's readings are instantaneous: the period can only be 0");
  }
  return MemberAnswer::Done();
}

MemberAnswer ObservingConditionsDevice::Refresh() const {
  // The monitor polls the board on its own pace; a client cannot hurry it.
  return Connected() ? MemberAnswer::Done() : NotConnected();
}

std::optional<MemberAnswer> ObservingConditionsDevice::Unavailable(
    ObservingSensor sensor, const std::optional<StampedReading>& latest) const {
  if (!SomeBoardMeasures(sensor)) {
    return NotImplemented();
  }
  if (!Connected()) {
    return NotConnected();
  }
  if (!latest) {
    return MemberAnswer::Error(alpaca_error::kInvalidOperation,
                               "No poll of the board has succeeded yet");
  }
  if (!Measures(sensor, latest->reading.TypeCam)) {
    return NotImplemented();
  }
  return std::nullopt;
}

MemberAnswer ObservingConditionsDevice::Read(ObservingSensor sensor) const {
  const auto latest = latest_.Get();
  if (auto unavailable = Unavailable(sensor, latest)) {
    return *unavailable;
  }
  const auto value = SensorValue(sensor, latest->reading.data.infosRec);
  if (!value) {
    return MemberAnswer::Error(alpaca_error::kInvalidOperation,
                               "The board's last poll gave no valid value for this");
  }
  return MemberAnswer::Of(*value);
}

MemberAnswer ObservingConditionsDevice::AboutSensor(const MemberCall& call) const {
  const std::string* name = call.Find("SensorName");
  if (!name) {
    return MemberAnswer::BadRequest("The parameter SensorName is missing");
  }
  const bool description = call.member == "sensordescription";
  const auto latest = latest_.Get();
  // Every reading comes from the same poll: the latest of all is the latest of each.
  if (name->empty() && !description) {
    if (!Connected()) {
      return NotConnected();
    }
    if (!latest) {
      return MemberAnswer::Error(alpaca_error::kInvalidOperation,
                                 "No poll of the board has succeeded yet");
    }
  } else {
    const auto sensor = SensorNamed(*name);
    if (!sensor) {
      return MemberAnswer::Error(alpaca_error::kInvalidValue, "No sensor has that name");
    }
    if (auto unavailable = Unavailable(*sensor, latest)) {
      return *unavailable;
    }
    if (description) {
      return MemberAnswer::Of(SensorDescription(*sensor));
    }
  }
  const std::chrono::duration<double> age = latest_.Now() - latest->at;
  return MemberAnswer::Of(age.count());
}

}  // namespace vesk
