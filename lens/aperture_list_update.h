#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "lens/aperture_range.h"
#include "lens/aperture_tables.h"

namespace vesk {

// What a poll with a present lens does to the aperture list the operator chooses from.
struct ApertureListUpdate {
  // Set when the list is replaced: keep it as FACanonDiaphInf, set Previous_LensID to the
  // poll's lensID, fill ComboBoxAperture with the names, show the first and enable the box.
  // Unset, the list and the operator's choice stay.
  std::optional<TACanonDiaphInf> FACanonDiaphInf;
  // Set when the lens's f-numbers are not in the table: "Error while reading data from lens :
  // " and the table's message. The box is disabled; the poll itself has not failed.
  std::optional<std::string> lensError;
};

// The list is rebuilt only for a new identifier or a list of another length, so that polls of
// the same lens keep the operator's choice.
ApertureListUpdate UpdateApertureList(const LensApertureRange& range, std::uint16_t lensID,
                                      const TACanonDiaphInf& FACanonDiaphInf,
                                      std::uint16_t Previous_LensID);

}  // namespace vesk
