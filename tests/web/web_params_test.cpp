#include "web/web_params.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vesk
