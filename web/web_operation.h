#pragma once

#include <string>
#include <variant>

#include "common/exceptions.h"
#include "http/url_form.h"
#include "lens/focus_orders.h"
#include "web/web_params.h"

namespace vesk {

// An operation refused on the session's thread before anything reached the board (a focus
// position the order cannot reach from where the lens is): the page's request was bad, and
// is answered so (400), not as the board's failure.
class WebOperationRefused : public Exception {
 public:
  using Exception::Exception;
};

// One change of the board asked by the page (POST /api/operation, a form body), checked as
// the window's fields and vesk-cli check it before anything reaches the board.
struct WebOperation {
  enum class Kind {
    Heater,
    AutoHeat,
    Thresholds,
    ManualCooling,
    AutoCooling,
    Aperture,
    Iris,
    Focus
  };
  Kind kind = Kind::Heater;
  bool on = false;
  double celsius = 0;  // Thresholds
  double percent = 0;  // Thresholds
  int power = 0;       // Thresholds
  // Aperture: the entry of the aperture list, 0 the widest; Iris: steps; Focus: the offset
  // (kTagFocusRelative) or the position (kTagFocusAbsolute).
  long long index = 0;
  int focusTag = kTagFocusMax;  // Focus: the window's focus button, by its tag

  // Focus: the order as the window's focus button plans it from the focus position the
  // program counts; raises WebOperationRefused ("Range check error") when the move does not
  // fit the order.
  FocusOrder PlanFocus(std::int32_t AbsolFocus) const;

  // For the log: "heater on", "thresholds 2.0 °C 85 %RH power 50 %" …
  std::string Text() const;
};

// op=heater|autoheat&on=0|1, op=thresholds&temp=C&rh=PCT&power=PCT,
// op=cooling&mode=manual|auto&on=0|1, op=aperture&index=N, op=iris&steps=N (closes it by N steps),
// op=focus&move=max|min, op=focus&move=rel&value=N (moves by N), op=focus&move=abs&value=N
// (moves to N): N checked as the window's focus fields check it, with its messages.
std::variant<WebOperation, WebParamError> ParseOperation(const FormParams& params);

}  // namespace vesk
