#include "lens/aperture_list_update.h"

namespace vesk {

ApertureListUpdate UpdateApertureList(const LensApertureRange& range, std::uint16_t lensID,
                                      const TACanonDiaphInf& FACanonDiaphInf,
                                      std::uint16_t Previous_LensID) {
  ApertureListUpdate update;
  TACanonDiaphInf list;
  try {
    ApertureListBetween(range.FExtendedCANON, list, range.fMin, range.fMax);
  } catch (const ElensCANONExcept& e) {
    update.lensError = "Error while reading data from lens : " + e.message();
    return update;
  }
  if (list.size() != FACanonDiaphInf.size() || lensID != Previous_LensID) {
    update.FACanonDiaphInf = std::move(list);
  }
  return update;
}

}  // namespace vesk
