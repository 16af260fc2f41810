#include "web/web_params.h"

#include <gtest/gtest.h>

#include "common/exceptions.h"
#include "web/web_operation.h"

namespace vesk {
namespace {

TEST(WebParams, Days) {
  EXPECT_EQ(ParseDay("1899-12-30"), 0.0);
  EXPECT_EQ(ParseDay("2000-02-29"), 36585.0);
  for (const char* wrong : {"2001-02-29", "2026-13-01", "2026-1-01", "26-01-01", "2026-01-01x",
                            "0000-01-01", "2026-01-00", "", "2026/01/01"}) {
    EXPECT_FALSE(ParseDay(wrong)) << wrong;
  }
}

TEST(WebParams, CsvRangeTakesBothDaysWhole) {
  const auto csv = ParseCsvParams("from=2000-02-29&to=2000-03-01");
  ASSERT_TRUE(std::holds_alternative<CsvParams>(csv));
  EXPECT_EQ(std::get<CsvParams>(csv).from, 36585.0);
  EXPECT_EQ(std::get<CsvParams>(csv).before, 36587.0);
  EXPECT_EQ(std::get<CsvParams>(csv).fileName, "DatasVesk_2000-02-29_2000-03-01.csv");
  const auto all = ParseCsvParams("");
  ASSERT_TRUE(std::holds_alternative<CsvParams>(all));
  EXPECT_EQ(std::get<CsvParams>(all).fileName, "DatasVesk.csv");
  const auto same = ParseCsvParams("from=2000-02-29&to=2000-02-29");
  EXPECT_TRUE(std::holds_alternative<CsvParams>(same)) << "one day";
}

TEST(WebParams, SeriesWindowsAreTheWindowsButtons) {
  const auto series = ParseSeriesParams("window=6M&columns=1000");
  ASSERT_TRUE(std::holds_alternative<SeriesParams>(series));
  EXPECT_EQ(std::get<SeriesParams>(series).window, 7u);
  EXPECT_EQ(std::get<SeriesParams>(series).columns, 1000);
  EXPECT_TRUE(std::holds_alternative<WebParamError>(ParseSeriesParams("window=6m&columns=1000")));
  EXPECT_TRUE(std::holds_alternative<WebParamError>(ParseSeriesParams("window=6M&columns=4001")));
}

// The page's focus moves are planned as the window's focus buttons plan them, from the focus
// position the program counts when the move reaches the session.
TEST(WebOperation, FocusIsPlannedFromTheCountedPosition) {
  const struct {
    const char* form;
    std::int32_t AbsolFocus;
    std::uint8_t command;
    std::int16_t offset;
    std::int32_t after;
  } cases[] = {
      {"op=focus&move=max", 250, kFocusMax, 0, 250},
      {"op=focus&move=min", 250, kFocusMin, 0, 0},
      {"op=focus&move=rel&value=-300", 250, kFocusOffset, -300, -50},
      {"op=focus&move=abs&value=1000", 250, kFocusOffset, 750, 1000},
  };
  for (const auto& c : cases) {
    const auto parsed = ParseOperation(*DecodeForm(c.form));
    ASSERT_TRUE(std::holds_alternative<WebOperation>(parsed)) << c.form;
    const FocusOrder order = std::get<WebOperation>(parsed).PlanFocus(c.AbsolFocus);
    EXPECT_EQ(order.command, c.command) << c.form;
    EXPECT_EQ(order.offset, c.offset) << c.form;
    EXPECT_EQ(order.AbsolFocus, c.after) << c.form;
  }
  // A position whose distance does not fit the order is refused before anything is sent.
  const auto far = ParseOperation(*DecodeForm("op=focus&move=abs&value=40000"));
  ASSERT_TRUE(std::holds_alternative<WebOperation>(far));
  EXPECT_THROW(std::get<WebOperation>(far).PlanFocus(0), WebOperationRefused);
  EXPECT_EQ(std::get<WebOperation>(far).PlanFocus(10000).offset, 30000);
}

}  // namespace
}  // namespace vesk
