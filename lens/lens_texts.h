#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/poll_records.h"
#include "lens/aperture_range.h"

namespace vesk {

// The older lens page ("BRISA IRIS / FOCUS Control"), for firmware below 2.2.
struct LensBasicTexts {
  // The groups "IRIS" and "FOCUSER" are shown and "NO IRIS DETECTED !" hidden, or the reverse.
  bool lensPresent = false;
  std::string Label_EF_Presence;
  std::string LabelID_Obj;               // " - 0x12 (18)" for each of the 7 lens information bytes
  std::string LabelCanonApertureMinMax;  // the same for the 4 aperture bytes
};

// A grid of lens bytes: the reply's byte numbers above, "0x" and two hex digits below.
template <std::size_t N>
struct LensByteGrid {
  std::array<std::string, N> byteNumbers;
  std::array<std::string, N> byteValues;
};

// What the newer page shows of a lens that answered.
struct LensDetailTexts {
  LensByteGrid<3> StringGridEF_Iris;  // the 0xB0 frame
  std::string Label_lens_Name;        // UTF-8, the name's bytes read as Latin-1
  std::string Label_Lens_ID;          // "0x" and four hex digits
  LensApertureRange range;            // LabelAFmin, LabelAFmax and the aperture list's bounds
  std::string LabelFocale;            // "%d mm", shown in bold
  std::string Labeld1;                // "%1.2f m"
  std::string Labeld2;
};

// The newer lens page ("IRIS / FOCUS CANON control"), for firmware 2.2 and later.
struct LensAdvancedTexts {
  std::string LabelPresAF2;
  LensByteGrid<9> StringGridAF80;  // the 0x80 frame, shown whether or not the lens answered
  // Without a lens, GroupBoxRepAF is hidden and keeps what it showed.
  std::optional<LensDetailTexts> details;
};

// The texts of the page that fits the firmware; exactly one is set.
struct LensPageTexts {
  std::optional<LensBasicTexts> basic;
  std::optional<LensAdvancedTexts> advanced;
};

bool UsesAdvancedLensPage(double Version);

LensBasicTexts FormatLensBasic(const TDataOUT& data);
LensAdvancedTexts FormatLensAdvanced(const TDataOUT& data, std::uint16_t LensCheckCount);
LensPageTexts PresentLens(const TDataOUT& data, double Version, std::uint16_t LensCheckCount);

}  // namespace vesk
