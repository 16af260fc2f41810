#include "web/web_operation.h"

#include "common/exceptions.h"
#include "common/number_text.h"
#include "device/threshold_values.h"
#include "widgets/number_edit_check.h"

namespace vesk {
namespace {

using Kind = WebOperation::Kind;

std::optional<bool> OnOf(const FormParams& params) {
  const std::string* on = FindParam(params, "on", false);
  if (on && (*on == "0" || *on == "1")) {
    return *on == "1";
  }
  return std::nullopt;
}

// A field checked as the window's numeric field checks it when left: the same message.
std::variant<double, WebParamError> Field(const FormParams& params, const char* name,
                                          TTypeValue kind, const SettingRange& range) {
  const std::string* text = FindParam(params, name, false);
  if (!text || text->empty()) {
    return WebParamError{std::string(name) + " is missing"};
  }
  const TNumberEditCheck check = CheckNumberEditText(*text, kind, range.minimum, range.maximum);
  double value = 0;
  if (!check.accepted) {
    return WebParamError{check.message};
  }
  if (!TextToFloat(check.text, value)) {
    return WebParamError{std::string(name) + ": Invalid input !"};
  }
  return value;
}

// The window's focus buttons: "Focus Max", "Focus Min", "Focus Offset (rel.)" and "Focus
// Offset (abs.)" with the number of its field, refused with the window's own messages.
std::variant<WebOperation, WebParamError> ParseFocus(const FormParams& params) {
  WebOperation operation;
  operation.kind = Kind::Focus;
  const std::string* move = FindParam(params, "move", false);
  if (move && (*move == "max" || *move == "min")) {
    operation.focusTag = *move == "max" ? kTagFocusMax : kTagFocusMin;
    return operation;
  }
  if (!move || (*move != "rel" && *move != "abs")) {
    return WebParamError{"move must be max, min, rel or abs"};
  }
  operation.focusTag = *move == "rel" ? kTagFocusRelative : kTagFocusAbsolute;
  const std::string* value = FindParam(params, "value", false);
  if (!value || value->empty()) {
    return WebParamError{"value is missing"};
  }
  try {
    operation.index = FocusNumberOfText(*value);
    if (operation.focusTag == kTagFocusRelative) {
      operation.PlanFocus(0);  // the offset alone; the position is checked when it moves
    }
  } catch (const Exception& e) {
    return WebParamError{e.what()};
  }
  return operation;
}

}  // namespace

std::string WebOperation::Text() const {
  const std::string state = on ? "on" : "off";
  switch (kind) {
    case Kind::Heater:
      return "heater " + state;
    case Kind::AutoHeat:
      return "automatic heating " + state;
    case Kind::Thresholds:
      return FormatText(
          "thresholds %1.1f \xC2\xB0"
          "C %1.0f %%RH power %d %%",
          celsius, percent, power);
    case Kind::ManualCooling:
      return "manual cooling " + state;
    case Kind::AutoCooling:
      return "automatic cooling " + state;
    case Kind::Aperture:
      return "aperture " + std::to_string(index);
    case Kind::Iris:
      return "close iris " + std::to_string(index) + " steps";
    case Kind::Focus:
      switch (focusTag) {
        case kTagFocusMax:
          return "focus max";
        case kTagFocusMin:
          return "focus min";
        case kTagFocusRelative:
          return "focus offset (rel.) " + std::to_string(index);
        default:
          return "focus offset (abs.) " + std::to_string(index);
      }
  }
  return {};
}

FocusOrder WebOperation::PlanFocus(std::int32_t AbsolFocus) const {
  // The window's own planning, from the number as its field would hold it; it sends nothing.
  try {
    return FocusOrderOfTag(focusTag, std::to_string(index), AbsolFocus);
  } catch (const Exception& e) {
    throw WebOperationRefused(e.message());
  }
}

std::variant<WebOperation, WebParamError> ParseOperation(const FormParams& params) {
  const std::string* op = FindParam(params, "op", false);
  if (!op) {
    return WebParamError{"op is missing"};
  }
  WebOperation operation;
  if (*op == "heater" || *op == "autoheat" || *op == "cooling") {
    const auto on = OnOf(params);
    if (!on) {
      return WebParamError{"on must be 0 or 1"};
    }
    operation.on = *on;
    operation.kind = *op == "heater" ? Kind::Heater : Kind::AutoHeat;
    if (*op == "cooling") {
      const std::string* mode = FindParam(params, "mode", false);
      if (!mode || (*mode != "manual" && *mode != "auto")) {
        return WebParamError{"mode must be manual or auto"};
      }
      operation.kind = *mode == "manual" ? Kind::ManualCooling : Kind::AutoCooling;
    }
    return operation;
  }
  if (*op == "thresholds") {
    operation.kind = Kind::Thresholds;
    const auto celsius = Field(params, "temp", TTypeValue::Float, kTemperatureThresholdRange);
    const auto percent = Field(params, "rh", TTypeValue::Float, kHumidityThresholdRange);
    const auto power = Field(params, "power", TTypeValue::Int, kPowerLevelRange);
    for (const auto* field : {&celsius, &percent, &power}) {
      if (const auto* error = std::get_if<WebParamError>(field)) {
        return *error;
      }
    }
    operation.celsius = std::get<double>(celsius);
    operation.percent = std::get<double>(percent);
    operation.power = static_cast<int>(std::get<double>(power));
    return operation;
  }
  if (*op == "aperture" || *op == "iris") {
    // The aperture list's entry, or the iris's steps: 0 to 255 as the lens orders take them.
    const char* name = *op == "aperture" ? "index" : "steps";
    operation.kind = *op == "aperture" ? Kind::Aperture : Kind::Iris;
    const std::string* text = FindParam(params, name, false);
    const auto value = text ? WholeNumberIn(*text, 0, 255) : std::nullopt;
    if (!value) {
      return WebParamError{std::string(name) + " must be a whole number from 0 to 255"};
    }
    operation.index = *value;
    return operation;
  }
  if (*op == "focus") {
    return ParseFocus(params);
  }
  return WebParamError{"op must be heater, autoheat, thresholds, cooling, aperture, iris or focus"};
}

}  // namespace vesk
