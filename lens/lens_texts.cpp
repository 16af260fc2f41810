#include "lens/lens_texts.h"

#include <cstddef>

#include "common/number_text.h"

namespace vesk {
namespace {

// " - 0x12 (18)" for each byte of LensData[first .. first + count - 1].
std::string ByteList(const TArrayLens& bytes, std::size_t first, std::size_t count) {
  std::string text;
  for (std::size_t k = first; k < first + count; ++k) {
    text += FormatText(" - 0x%02X (%d)", bytes[k], bytes[k]);
  }
  return text;
}

template <std::size_t N>
LensByteGrid<N> ByteGrid(const TArrayLens& bytes, std::size_t first) {
  LensByteGrid<N> grid;
  for (std::size_t k = 0; k < N; ++k) {
    // The reply's byte numbers: LensData[k] is byte k + 1 of GET_INFOS_EF_CANON.
    grid.byteNumbers[k] = std::to_string(first + k + 1);
    grid.byteValues[k] = FormatText("0x%02X", bytes[first + k]);
  }
  return grid;
}

std::string Latin1ToUtf8(const std::string& text) {
  std::string utf8;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      utf8 += ch;
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

std::uint16_t WordAt(const TArrayLens& bytes, std::size_t n) {
  return static_cast<std::uint16_t>((bytes[n] << 8) | bytes[n + 1]);
}

LensDetailTexts FormatLensDetails(const TDataOUT& data) {
  const TArrayLens& bytes = data.LensData;
  LensDetailTexts t;
  t.StringGridEF_Iris = ByteGrid<3>(bytes, 9);
  t.Label_lens_Name = Latin1ToUtf8(data.LensName);
  t.Label_Lens_ID = FormatText("0x%04X", data.lensID);
  t.range = ApertureRangeOf(bytes[10], bytes[11], data.lensID);
  t.LabelFocale = FormatText("%d mm", WordAt(bytes, 12));
  t.Labeld1 = FormatText("%1.2f m", WordAt(bytes, 14) / 100.0);
  t.Labeld2 = FormatText("%1.2f m", WordAt(bytes, 16) / 100.0);
  return t;
}

}  // namespace

bool UsesAdvancedLensPage(double Version) {
  return Version >= 2.2;
}

LensBasicTexts FormatLensBasic(const TDataOUT& data) {
  LensBasicTexts t;
  t.lensPresent = data.PresenceAF;
  t.Label_EF_Presence = data.PresenceAF ? "YES (checked each 30s)" : "NO (checked each 30s)";
  t.LabelID_Obj = ByteList(data.LensData, 0, 7);
  t.LabelCanonApertureMinMax = ByteList(data.LensData, 7, 4);
  return t;
}

LensAdvancedTexts FormatLensAdvanced(const TDataOUT& data, std::uint16_t LensCheckCount) {
  LensAdvancedTexts t;
  t.StringGridAF80 = ByteGrid<9>(data.LensData, 0);
  if (!data.PresenceAF) {
    t.LabelPresAF2 =
        FormatText("NO (checked each 30s), reply was 0x%02X instead of 0xAA (check #%d)",
                   data.FirstByteAF, LensCheckCount);
    return t;
  }
  t.LabelPresAF2 = FormatText("YES (checked each 30s -> #%d)", LensCheckCount);
  t.details = FormatLensDetails(data);
  return t;
}

LensPageTexts PresentLens(const TDataOUT& data, double Version, std::uint16_t LensCheckCount) {
  LensPageTexts texts;
  if (UsesAdvancedLensPage(Version)) {
    texts.advanced = FormatLensAdvanced(data, LensCheckCount);
  } else {
    texts.basic = FormatLensBasic(data);
  }
  return texts;
}

}  // namespace vesk
