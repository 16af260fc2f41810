#include "link/device_identity.h"

#include <gtest/gtest.h>

#include "common/exceptions.h"

namespace vesk {
namespace {

TEST(DeviceIdentity, FirmwareVersions) {
  const struct {
    std::uint8_t major, minor;
    double version;
  } cases[] = {{3, 5, 3.5}, {2, 18, 2.18}, {2, 20, 2.2}, {2, 2, 2.2}, {2, 10, 3.0}, {1, 0, 1.0}};
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(FirmwareVersion(c.major, c.minor), c.version);
  }
}

TEST(DeviceIdentity, RepliesByModel) {
  const struct {
    TArrayByte reply;
    const char* label;
    bool hot, rhInt, lens, v3;
  } cases[] = {
      {{3, 5, 4, 0}, " [Tarn cooled]", true, true, false, true},
      {{2, 20, 3, 5}, " [Tarn uncool]", false, true, false, false},  // feature byte on
      {{2, 20, 3, 4}, " [Tarn uncool]", false, false, false, false},
      {{2, 20, 3}, " [Tarn uncool]", false, false, false, false},  // no byte 3: off
      {{3, 0, 33, 0}, " [BRISA 3M]", true, true, true, true},
      {{3, 0, 24, 0}, " [Astel 5 Weather]", true, true, false, true},
      // Left "unchanged" by the table: no lens, whatever the board before it drove.
      {{3, 0, 23, 0}, " [Astel 5]", true, true, false, true},
      {{3, 0, 18, 9}, "", false, true, false, true},
  };
  for (const auto& c : cases) {
    const DeviceIdentity id = IdentifyDevice(c.reply);
    EXPECT_EQ(id.model.label, std::string(c.label)) << c.label;
    EXPECT_EQ(id.DisplayTempHot, c.hot) << c.label;
    EXPECT_EQ(id.DisplayRH_int, c.rhInt) << c.label;
    EXPECT_EQ(id.DriveEFlens_intf, c.lens) << c.label;
    EXPECT_EQ(id.GroupBoxV3, c.v3) << c.label;
    EXPECT_EQ(id.TypeCam, c.reply[2]);
  }
}

TEST(DeviceIdentity, OldFirmwareHasNoModel) {
  const DeviceIdentity id = IdentifyDevice({1, 9});
  EXPECT_FALSE(id.typed);
  EXPECT_EQ(id.TypeCam, 1);
  EXPECT_FALSE(id.DisplayRH_int);
  EXPECT_EQ(id.VersionText(), " Ver. FIRM : 1.9");
}

TEST(DeviceIdentity, ShortRepliesAreRangeErrors) {
  EXPECT_THROW(IdentifyDevice({3}), ERangeCheck);
  EXPECT_THROW(IdentifyDevice({2, 20}), ERangeCheck);
  EXPECT_NO_THROW(IdentifyDevice({1, 20}));
}

TEST(DeviceIdentity, LensPageByFirmware) {
  const struct {
    std::uint8_t type, major, minor;
    bool basic, advanced;
  } cases[] = {
      {21, 2, 18, true, false}, {21, 2, 20, false, true}, {21, 2, 2, false, true},
      {21, 3, 0, false, true},  {25, 2, 20, true, false}, {25, 3, 0, false, true},
      {22, 3, 0, true, false},  {24, 3, 0, false, false}, {34, 3, 0, false, true},
  };
  for (const auto& c : cases) {
    const ModelType model = ModelTypeOf(c.type, FirmwareVersion(c.major, c.minor));
    EXPECT_EQ(model.basicLensPage, c.basic) << int(c.type) << " " << int(c.minor);
    EXPECT_EQ(model.advancedLensPage, c.advanced) << int(c.type) << " " << int(c.minor);
  }
}

TEST(DeviceIdentity, PagesOfTheTable) {
  EXPECT_EQ(ModelTypeOf(4, 3).cooling, CoolingKind::Full);
  EXPECT_EQ(ModelTypeOf(6, 3).cooling, CoolingKind::Reduced);
  EXPECT_EQ(ModelTypeOf(7, 3).cooling, CoolingKind::Hidden);
  for (const int weather : {17, 19, 22, 24, 34, 37}) {
    EXPECT_TRUE(ModelTypeOf(static_cast<std::uint8_t>(weather), 3).weatherPages) << weather;
  }
  EXPECT_FALSE(ModelTypeOf(20, 3).weatherPages);
  EXPECT_FALSE(ModelTypeOf(2, 3).hotSide);
  EXPECT_TRUE(ModelTypeOf(35, 3).hotSide);
}

}  // namespace
}  // namespace vesk
