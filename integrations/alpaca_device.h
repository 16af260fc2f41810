#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "integrations/alpaca_params.h"

namespace vesk {

// The standard's error numbers, answered in the body with HTTP 200.
namespace alpaca_error {
inline constexpr int kNotImplemented = 0x400;
inline constexpr int kInvalidValue = 0x401;
inline constexpr int kNotConnected = 0x407;
inline constexpr int kInvalidOperation = 0x40B;
inline constexpr int kActionNotImplemented = 0x40C;
}  // namespace alpaca_error

// One call of a device member: GET reads a property, PUT sets one or runs a method.
struct MemberCall {
  bool put = false;
  std::string_view member;  // lower case, as in the path
  const AlpacaParams& params;

  // On GET the name's case does not matter; on PUT it must be exact.
  const std::string* Find(std::string_view name) const { return FindParam(params, name, !put); }
};

// What a member answers: a value, nothing (a method that ran), an error of the standard, a
// malformed request (HTTP 400), or that the device has no such member.
struct MemberAnswer {
  enum class Kind { Value, Done, Error, BadRequest, NoSuchMember };

  static MemberAnswer Of(nlohmann::json value) { return {Kind::Value, std::move(value), 0, {}}; }
  static MemberAnswer Done() { return {Kind::Done, nullptr, 0, {}}; }
  static MemberAnswer Error(int number, std::string message) {
    return {Kind::Error, nullptr, number, std::move(message)};
  }
  static MemberAnswer BadRequest(std::string text) {
    return {Kind::BadRequest, nullptr, 0, std::move(text)};
  }
  static MemberAnswer NoSuchMember() { return {Kind::NoSuchMember, nullptr, 0, {}}; }

  Kind kind = Kind::Done;
  nlohmann::json value;
  int errorNumber = 0;
  std::string message;  // the error's message, or the text of a bad request
};

// A device of the Alpaca server: the members every device has, and its own through
// AnswerOwn. Called from the server's threads at once.
class AlpacaDevice {
 public:
  virtual ~AlpacaDevice() = default;

  // As the management API names it: "ObservingConditions", "SafetyMonitor".
  virtual const char* DeviceType() const = 0;
  virtual const char* DeviceName() const = 0;

  MemberAnswer Answer(const MemberCall& call);

 protected:
  virtual const char* Description() const = 0;
  virtual MemberAnswer AnswerOwn(const MemberCall& call) = 0;

  bool Connected() const { return connected_; }

 private:
  MemberAnswer SetConnected(const MemberCall& call);

  // Shared by every client, as the standard has one connection state per device.
  std::atomic<bool> connected_{false};
};

// A member that exists but was called with the other method.
MemberAnswer WrongMethod(const MemberCall& call);

}  // namespace vesk
