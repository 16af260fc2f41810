// Iris and focus orders against the simulated board: the bytes it received.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "lens/focus_orders.h"
#include "lens/iris_orders.h"
#include "link/com_obj_rs232.h"
#include "link/order_codes.h"
#include "sim/in_process_board.h"
#include "tests/support/board_line.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kPort = 6;

// A link to a lens board (codes 0x20 to 0x58: 56 iris steps).
class LensOrders : public ::testing::Test {
 protected:
  LensOrders() {
    board.linkAsPort(folder.path(), kPort);
    link.OpenCom(kPort);
  }
  ~LensOrders() override { link.CloseCom(); }

  std::vector<TArrayByte> atBoard() {
    return board.withBoard([](sim::Board& b) { return b.lens().motorOrders(); });
  }

  // What a focus button does: plan, keep the new count, send.
  void press(int tag, const std::string& text) {
    const FocusOrder order = FocusOrderOfTag(tag, text, AbsolFocus);
    AbsolFocus = order.AbsolFocus;
    lastOffset = order.offset;
    SendFocusOrder(link, order);
  }

  test::TempFolder folder;
  test::LogCapture log{folder.path()};
  sim::InProcessBoard board;
  TComObjRs232 link{folder.path()};
  std::int32_t AbsolFocus = 0;
  std::int16_t lastOffset = 0;
};

TEST_F(LensOrders, FocusButtons) {
  const struct {
    int tag;
    const char* text;
    std::int32_t before;
    TArrayByte payload;
    std::int32_t after;
  } presses[] = {
      {kTagFocusMax, "", 40, {0xA5, 0x12, 0x00, 0x00}, 40},
      {kTagFocusMin, "", 40, {0xA5, 0x13, 0x00, 0x00}, 0},
      {kTagFocusRelative, "-300", 0, {0xA5, 0x14, 0xFE, 0xD4}, -300},
      {kTagFocusAbsolute, "1000", 250, {0xA5, 0x14, 0x02, 0xEE}, 1000},
      {kTagFocusOffset, "-32768", 5, {0xA5, 0x14, 0x80, 0x00}, 5},
      {kTagFocusAbsolute, "40000", 10000, {0xA5, 0x14, 0x75, 0x30}, 40000},
  };
  std::vector<TArrayByte> sent;
  for (const auto& p : presses) {
    SCOPED_TRACE(std::to_string(p.tag) + " " + p.text);
    AbsolFocus = p.before;
    press(p.tag, p.text);
    sent.push_back(p.payload);
    EXPECT_EQ(AbsolFocus, p.after);
    EXPECT_EQ(atBoard(), sent);
  }
}

TEST_F(LensOrders, AbsolutePositionShowsTheDistanceSent) {
  AbsolFocus = 250;
  press(kTagFocusAbsolute, "1000");
  EXPECT_EQ(lastOffset, 750);
}

TEST_F(LensOrders, OffsetsOutsideAWordAreRefusedBeforeSending) {
  const struct {
    int tag;
    const char* text;
    const char* error;
  } refused[] = {
      {kTagFocusRelative, "40000", "Range check error"},
      {kTagFocusOffset, "32768", "Range check error"},
      {kTagFocusOffset, "-32769", "Range check error"},
      // From 0, the distance to 40000 is what does not fit.
      {kTagFocusAbsolute, "40000", "Range check error"},
      {kTagFocusRelative, "12a", "'12a' is not a valid integer value"},
      {kTagFocusRelative, "", "'' is not a valid integer value"},
      {kTagFocusOffset, "4294967296", "'4294967296' is not a valid integer value"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(r.text);
    try {
      press(r.tag, r.text);
      ADD_FAILURE() << "sent";
    } catch (const Exception& e) {
      EXPECT_EQ(e.message(), r.error);
    }
    EXPECT_EQ(AbsolFocus, 0);
  }
  EXPECT_THAT(atBoard(), IsEmpty());
}

TEST_F(LensOrders, FixedApertureOpensThenCloses) {
  const auto f8 =
      std::find_if(kFixedApertures.begin(), kFixedApertures.end(),
                   [](const FixedAperture& a) { return a.caption == std::string("f8"); });
  SetCanonDiaph(link, f8->steps);
  EXPECT_THAT(atBoard(), ElementsAre(TArrayByte{0xA4, 0xFF, 0x00}, TArrayByte{0xA4, 0x77, 0x1C}));
}

// The board takes the opening order but its reply never comes: the closing order, which
// would act on an iris in an unknown state, is not sent.
TEST_F(LensOrders, AFailedOpeningSendsNoClosing) {
  board.withBoard([](sim::Board& b) { b.setFaults({.silent = true}); });
  EXPECT_THROW(SetCanonDiaph(link, 28), Exception);
  EXPECT_THAT(atBoard(), ElementsAre(TArrayByte{0xA4, 0xFF, 0x00}));
}

TEST_F(LensOrders, ApertureChosenFromTheList) {
  TACanonDiaphInf list;
  ApertureListBetween(false, list, 2.8, 22.0);
  const auto f56 = std::find_if(list.begin(), list.end(),
                                [](const TCanonDiaphInf& a) { return a.FrendlyName == "f/5.6"; });
  SetCanonDiaph(link, ApertureListSteps(list, f56 - list.begin()));
  EXPECT_THAT(atBoard(), ElementsAre(TArrayByte{0xA4, 0xFF, 0x00}, TArrayByte{0xA4, 0x77, 0x10}));
}

TEST_F(LensOrders, CloseIrisShowsTheTwoReplyBytes) {
  EXPECT_EQ(IrisFeedbackText(CloseIris(link, true, 31)), "0x06 0x1F");
  EXPECT_EQ(IrisFeedbackText(CloseIris(link, false, 5)), "0x06 0x00");
  EXPECT_THAT(atBoard(), ElementsAre(TArrayByte{0xA4, 0x77, 0x1F}, TArrayByte{0xA4, 0xFF, 0x05}));
}

TEST(LensIris, ListStepsOutsideTheListOrNegativeAreRangeErrors) {
  TACanonDiaphInf list;
  ApertureListBetween(false, list, 3.5, 5.6);  // codes 0x25, 0x24, 0x26 ...
  EXPECT_EQ(ApertureListSteps(list, 0), 0);
  EXPECT_EQ(ApertureListSteps(list, 2), 1);
  EXPECT_THROW(ApertureListSteps(list, 1), ERangeCheck) << "0x24 is before 0x25";
  EXPECT_THROW(ApertureListSteps(list, -1), ERangeCheck) << "nothing chosen, or a typed text";
  EXPECT_THROW(ApertureListSteps(list, static_cast<long long>(list.size())), ERangeCheck);
  EXPECT_THROW(ApertureListSteps({}, 0), ERangeCheck);
}

TEST(LensIris, ShortReplyToCloseIrisIsARangeError) {
  test::BoardLine board;
  board.answer(SET_CANON_DIAPH, {0x06});
  EXPECT_THROW(CloseIris(board.link, true, 3), ERangeCheck);
}

}  // namespace
}  // namespace vesk
