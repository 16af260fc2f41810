#include "lens/lens_texts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <utility>

#include "lens/aperture_list_update.h"

namespace vesk {
namespace {

using ::testing::ElementsAre;

// A newer-protocol lens report as the poll decodes it: the 0x80 frame (identifier first), the
// 0xB0 frame with the two aperture codes, focal length 15 mm, d1 0.2 m, d2 10 m.
TDataOUT LensReport(std::uint8_t codeA, std::uint8_t codeB, std::uint16_t lensID) {
  TDataOUT data;
  data.PresenceAF = true;
  data.FirstByteAF = 0xAA;
  data.lensID = lensID;
  const std::uint8_t bytes[18] = {std::uint8_t(lensID >> 8),
                                  std::uint8_t(lensID & 0xFF),
                                  0,
                                  15,
                                  0,
                                  15,
                                  0,
                                  0,
                                  0,
                                  0,
                                  codeA,
                                  codeB,
                                  0,
                                  15,
                                  0,
                                  20,
                                  0x03,
                                  0xE8};
  std::copy(std::begin(bytes), std::end(bytes), data.LensData.begin());
  data.LensName = "EF15mm f/2.8 Fisheye";
  return data;
}

struct RangeCase {
  const char* what;
  std::uint8_t codeA, codeB;
  std::uint16_t lensID;
  bool extended;
  const char* LabelAFmin;
  const char* LabelAFmax;
  std::size_t listSize;  // 0: the list cannot be built
  const char* first = "";
  const char* last = "";
};

TEST(LensTexts, ApertureRangeAndListOfTheNewerPage) {
  const RangeCase cases[] = {
      {"standard codes", 0x20, 0x58, 0x4C22, false, "2.8", "32.0", 31, "f/2.8", "f/32"},
      {"descending codes: extended", 0xEC, 0x6C, 0x4C22, true, "2.8", "32.0", 22, "f/2.8",
       "f/32.0"},
      {"unknown code, lens known by identifier", 0x09, 0x58, 0x81AE, false, "F/2   -> FORCED by ID",
       "F/32  -> FORCED by ID", 35, "f/2.0", "f/32"},
      {"unknown code, unknown lens", 0x09, 0x58, 0x1234, false, "UNKNOWN", "32.0", 0},
  };
  for (const RangeCase& c : cases) {
    SCOPED_TRACE(c.what);
    const LensAdvancedTexts t = FormatLensAdvanced(LensReport(c.codeA, c.codeB, c.lensID), 1);
    ASSERT_TRUE(t.details);
    const LensApertureRange& range = t.details->range;
    EXPECT_EQ(range.FExtendedCANON, c.extended);
    EXPECT_EQ(range.LabelAFmin, c.LabelAFmin);
    EXPECT_EQ(range.LabelAFmax, c.LabelAFmax);

    const ApertureListUpdate update = UpdateApertureList(range, c.lensID, {}, 0);
    if (c.listSize == 0) {
      EXPECT_FALSE(update.FACanonDiaphInf);
      EXPECT_EQ(update.lensError,
                "Error while reading data from lens : Valeur (f/-1.0 / f/32.0) non trouvée dans "
                "la table des F/ des objectifs !!");
      continue;
    }
    EXPECT_FALSE(update.lensError);
    ASSERT_TRUE(update.FACanonDiaphInf);
    const TACanonDiaphInf& list = *update.FACanonDiaphInf;
    ASSERT_EQ(list.size(), c.listSize);
    EXPECT_EQ(list.front().FrendlyName, c.first);
    EXPECT_EQ(list.back().FrendlyName, c.last);
  }
}

TEST(LensTexts, ListIsRebuiltOnlyForANewLensOrLength) {
  const LensApertureRange standard = ApertureRangeOf(0x20, 0x58, 0x4C22);
  const TACanonDiaphInf built = *UpdateApertureList(standard, 0x4C22, {}, 0).FACanonDiaphInf;
  // The next poll of the same lens keeps the list, so the operator's choice stays.
  EXPECT_FALSE(UpdateApertureList(standard, 0x4C22, built, 0x4C22).FACanonDiaphInf);
  // Another lens with a range of the same length.
  EXPECT_TRUE(UpdateApertureList(standard, 0x4C23, built, 0x4C22).FACanonDiaphInf);
  // The same lens reporting another range.
  const LensApertureRange narrower = ApertureRangeOf(0x20, 0x50, 0x4C22);
  const auto rebuilt = UpdateApertureList(narrower, 0x4C22, built, 0x4C22).FACanonDiaphInf;
  ASSERT_TRUE(rebuilt);
  EXPECT_EQ(rebuilt->back().FrendlyName, "f/22");
  // A lens error keeps the list as it is.
  const LensApertureRange unknown = ApertureRangeOf(0x09, 0x58, 0x4C24);
  const ApertureListUpdate failed = UpdateApertureList(unknown, 0x4C24, built, 0x4C22);
  EXPECT_FALSE(failed.FACanonDiaphInf);
  EXPECT_TRUE(failed.lensError);
}

TEST(LensTexts, PresentLensOnTheNewerPage) {
  TDataOUT data = LensReport(0x20, 0x58, 0x00A5);
  data.LensName = "Objectif \xE9t\xE9";  // Latin-1 bytes from the lens
  const LensPageTexts texts = PresentLens(data, 2.2, 7);
  ASSERT_TRUE(texts.advanced);
  EXPECT_FALSE(texts.basic);
  const LensAdvancedTexts& t = *texts.advanced;
  EXPECT_EQ(t.LabelPresAF2, "YES (checked each 30s -> #7)");
  EXPECT_THAT(t.StringGridAF80.byteNumbers,
              ElementsAre("1", "2", "3", "4", "5", "6", "7", "8", "9"));
  EXPECT_THAT(t.StringGridAF80.byteValues,
              ElementsAre("0x00", "0xA5", "0x00", "0x0F", "0x00", "0x0F", "0x00", "0x00", "0x00"));
  ASSERT_TRUE(t.details);
  const LensDetailTexts& d = *t.details;
  EXPECT_THAT(d.StringGridEF_Iris.byteNumbers, ElementsAre("10", "11", "12"));
  EXPECT_THAT(d.StringGridEF_Iris.byteValues, ElementsAre("0x00", "0x20", "0x58"));
  EXPECT_EQ(d.Label_Lens_ID, "0x00A5");
  EXPECT_EQ(d.Label_lens_Name, "Objectif été");
  EXPECT_EQ(d.LabelFocale, "15 mm");
  EXPECT_EQ(d.Labeld1, "0.20 m");
  EXPECT_EQ(d.Labeld2, "10.00 m");
}

TEST(LensTexts, AbsentLensOnTheNewerPage) {
  TDataOUT data = LensReport(0x20, 0x58, 0);
  data.PresenceAF = false;
  data.FirstByteAF = 0x00;
  const LensAdvancedTexts t = FormatLensAdvanced(data, 5);
  EXPECT_EQ(t.LabelPresAF2, "NO (checked each 30s), reply was 0x00 instead of 0xAA (check #5)");
  EXPECT_FALSE(t.details) << "the lens details keep what they showed";
  EXPECT_EQ(t.StringGridAF80.byteValues[3], "0x0F") << "the 0x80 frame is shown all the same";
}

TEST(LensTexts, OlderPageShowsTheRawBytes) {
  TDataOUT data;
  data.PresenceAF = true;
  const std::uint8_t bytes[11] = {0x12, 0x00, 0x4C, 0x22, 0x00, 0x0F, 0xFF, 0, 0x20, 0x58, 0};
  std::copy(std::begin(bytes), std::end(bytes), data.LensData.begin());
  const LensPageTexts texts = PresentLens(data, 2.18, 3);
  ASSERT_TRUE(texts.basic);
  EXPECT_FALSE(texts.advanced);
  const LensBasicTexts& t = *texts.basic;
  EXPECT_TRUE(t.lensPresent);
  EXPECT_EQ(t.Label_EF_Presence, "YES (checked each 30s)");
  EXPECT_EQ(t.LabelID_Obj,
            " - 0x12 (18) - 0x00 (0) - 0x4C (76) - 0x22 (34) - 0x00 (0) - 0x0F (15) - 0xFF (255)");
  EXPECT_EQ(t.LabelCanonApertureMinMax, " - 0x00 (0) - 0x20 (32) - 0x58 (88) - 0x00 (0)");

  data.PresenceAF = false;
  const LensBasicTexts absent = FormatLensBasic(data);
  EXPECT_FALSE(absent.lensPresent);
  EXPECT_EQ(absent.Label_EF_Presence, "NO (checked each 30s)");
  EXPECT_EQ(absent.LabelID_Obj, t.LabelID_Obj) << "the bytes are shown with no lens too";
}

// The station takes the lens step of every poll of a lens board, so no report may make it
// fail: whatever the two codes, the list is built or the lens error names why not.
TEST(LensTexts, EveryPairOfCodesGivesAListOrALensError) {
  struct Pair {
    int a;
    int b;
  };
  for (const std::uint16_t lensID : {0x4C22, 0x91EA, 0x91FB, 0x81FE, 0x81AE}) {
    // The update is made from the range alone, and the 65 536 pairs give a few thousand
    // ranges: each is updated once, named by the first pair that gives it (an update that
    // fails throws inside, which costs most of the time under the sanitizers).
    std::map<std::tuple<bool, double, double, std::string, std::string>,
             std::pair<LensApertureRange, Pair>>
        ranges;
    for (int a = 0; a < 256; ++a) {
      for (int b = 0; b < 256; ++b) {
        LensApertureRange range =
            ApertureRangeOf(static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b), lensID);
        auto key = std::make_tuple(range.FExtendedCANON, range.fMin, range.fMax, range.LabelAFmin,
                                   range.LabelAFmax);
        ranges.try_emplace(std::move(key), std::move(range), Pair{a, b});
      }
    }
    for (const auto& [key, first] : ranges) {
      const auto& [range, pair] = first;
      try {
        const ApertureListUpdate update = UpdateApertureList(range, lensID, {}, 0);
        ASSERT_NE(update.FACanonDiaphInf.has_value(), update.lensError.has_value())
            << "codes " << pair.a << ", " << pair.b << ", lens " << lensID;
      } catch (const std::exception& e) {
        FAIL() << e.what() << " for codes " << pair.a << ", " << pair.b << ", lens " << lensID;
      }
    }
  }
}

}  // namespace
}  // namespace vesk
