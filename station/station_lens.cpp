// The lens: what each poll tells of it, and the iris and focus orders.
#include "lens/aperture_list_update.h"
#include "lens/iris_orders.h"
#include "link/com_obj_rs232.h"
#include "station/station.h"

namespace vesk {

void Station::ApplyLens(const TDataOUT& out) {
  lensPoll_ = {};
  lensPoll_.texts = PresentLens(out, identity_.Version, lens_.LensCheckCount);
  const auto& advanced = lensPoll_.texts.advanced;
  // The list changes only with a present lens of the newer firmware.
  if (!advanced || !advanced->details) {
    return;
  }
  const LensApertureRange& range = advanced->details->range;
  lens_.FExtendedCANON = range.FExtendedCANON;
  ApertureListUpdate update =
      UpdateApertureList(range, out.lensID, lens_.FACanonDiaphInf, lens_.Previous_LensID);
  if (update.FACanonDiaphInf) {
    lens_.Previous_LensID = out.lensID;
    lens_.FACanonDiaphInf = std::move(*update.FACanonDiaphInf);
    lensPoll_.listReplaced = true;
  }
  if (update.lensError) {
    ++lens_.ErrorLens;
    lensPoll_.lensError = std::move(update.lensError);
    lensPoll_.showLensError = lens_.ErrorLens == 1;
  }
}

void Station::SetCanonDiaph(std::uint8_t steps) {
  vesk::SetCanonDiaph(Link(), steps);
}

void Station::SetListAperture(long long index) {
  const std::uint8_t steps = ApertureListSteps(lens_.FACanonDiaphInf, index);
  SetCanonDiaph(steps);
}

std::array<std::uint8_t, 2> Station::CloseIris(bool close, std::uint8_t steps) {
  return vesk::CloseIris(Link(), close, steps);
}

void Station::SendFocusOrder(const FocusOrder& order) {
  lens_.AbsolFocus = order.AbsolFocus;
  vesk::SendFocusOrder(Link(), order);
}

}  // namespace vesk
