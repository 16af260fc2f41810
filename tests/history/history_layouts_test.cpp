#include <gtest/gtest.h>

#include "common/exceptions.h"
#include "history/csv_export.h"
#include "history/history_format.h"
#include "history/history_load.h"
#include "history/history_store.h"
#include "tests/history/history_bytes.h"
#include "tests/support/log_capture.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using test::Bytes;

class HistoryLayouts : public ::testing::Test {
 protected:
  test::TempFolder folder;
  test::LogCapture log{folder.path()};
};

TEST_F(HistoryLayouts, SavedFileIsTagCountAndEightyByteRecords) {
  TinfosRec on = test::SampleRecord(1);
  on.ActiveHeater = 1;
  const TinfosRec off = test::SampleRecord(2);
  HistoryStore store(folder.path());
  store.SaveHistory({on, off}, "DatasVesk.bin");

  const std::string written = test::ReadFile(folder / "DatasVesk.bin");
  EXPECT_EQ(written, test::CurrentFile({on, off}).str());
  EXPECT_EQ(written.size(), 8u + 2 * 80u);
  EXPECT_EQ(written.substr(0, 8), std::string("\x2F\xA1\xE1\x1A\x02\x00\x00\x00", 8));
  EXPECT_EQ(written.substr(8 + 72, 8), std::string("\x01\0\0\0\0\0\0\0", 8));
  EXPECT_EQ(log.texts().back(), "Data saved : DatasVesk.bin,  points number : 2");
}

TEST_F(HistoryLayouts, CurrentLayoutReadsAnyNonZeroHeaterByteAsOnAndIgnoresPadding) {
  TinfosRec rec = test::SampleRecord(3);
  rec.ActiveHeater = 0x02;
  Bytes bytes;
  bytes.u32(kTinfosRecTag).u32(1).record(rec, 0xEE);
  bytes.writeTo(folder / "h.bin");

  TTinfosRec history;
  LoadHistory(folder / "h.bin", kCurrentHistoryTag, history);
  ASSERT_EQ(history.size(), 1u);
  EXPECT_TRUE(test::SameRecord(history[0], rec));
  EXPECT_STREQ(YesNoLetter(history[0].ActiveHeater), "Y");
}

// Distinct values per field, so a swapped field shows.
struct OldFields {
  double Date = 45100.25, TempExt = 1.5, TempInt = 2.5, TempHot = 3.5, TempCCD = -20.5,
         RHExt = 55.5, RHInt = 33.5, Pressure = 1001.5, WindSpeed = 7.5, Windir = 270.5;
  std::uint8_t heater = 0x05;
};

TEST_F(HistoryLayouts, RozEzaRecordsConvertFieldByField) {
  const OldFields f;
  Bytes bytes;
  bytes.u32(kTinfosRecRozEzaTag).u32(1);
  bytes.f64(f.Date).f64(f.TempExt).f64(f.TempInt).f64(f.TempHot).f64(f.TempCCD);
  bytes.f64(f.RHExt).f64(f.RHInt).u8(f.heater).fill(7, 0xAA);
  bytes.f64(f.Pressure).f64(f.WindSpeed).f64(f.Windir);
  ASSERT_EQ(bytes.str().size(), 8u + 88u);
  bytes.writeTo(folder / "roz.bin");

  TTinfosRec history;
  LoadHistory(folder / "roz.bin", kAllHistoryTags, history);
  ASSERT_EQ(history.size(), 1u);
  TinfosRec expected;
  expected.Date = f.Date;
  expected.TempExt = f.TempExt;
  expected.RHExt = f.RHExt;
  expected.TempInt = f.TempInt;
  expected.RHInt = f.RHInt;
  expected.TempHot = f.TempHot;
  expected.Pressure = f.Pressure;
  expected.Windir = f.Windir;
  expected.WindSpeed = f.WindSpeed;
  expected.ActiveHeater = f.heater;
  EXPECT_TRUE(test::SameRecord(history[0], expected));
  for (const std::uint8_t pad : history[0].Padding) {
    EXPECT_EQ(pad, 0);
  }
}

TEST_F(HistoryLayouts, CorvoRecordsConvertWithNoPressureOrWind) {
  const OldFields f;
  Bytes bytes;
  bytes.u32(kTinfosRecCorvoTag).u32(2);
  for (int i = 0; i < 2; ++i) {
    bytes.f64(f.Date + i).f64(f.TempExt).f64(f.TempInt).f64(f.TempHot).f64(f.TempCCD);
    bytes.f64(f.RHExt).f64(f.RHInt).u8(static_cast<std::uint8_t>(i)).fill(7, 0xAA);
  }
  ASSERT_EQ(bytes.str().size(), 8u + 2 * 64u);
  bytes.writeTo(folder / "corvo.bin");

  TTinfosRec history;
  LoadHistory(folder / "corvo.bin", kAllHistoryTags, history);
  ASSERT_EQ(history.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    TinfosRec expected;
    expected.Date = f.Date + i;
    expected.TempExt = f.TempExt;
    expected.RHExt = f.RHExt;
    expected.TempInt = f.TempInt;
    expected.RHInt = f.RHInt;
    expected.TempHot = f.TempHot;
    expected.ActiveHeater = static_cast<std::uint8_t>(i);
    EXPECT_TRUE(test::SameRecord(history[i], expected)) << "record " << i;
  }
}

TEST_F(HistoryLayouts, StartUpTagRejectsTheOlderLayouts) {
  for (const std::uint32_t tag : {kTinfosRecRozEzaTag, kTinfosRecCorvoTag}) {
    Bytes bytes;
    bytes.u32(tag).u32(0);
    bytes.writeTo(folder / "old.bin");
    TTinfosRec history;
    try {
      LoadHistory(folder / "old.bin", kCurrentHistoryTag, history);
      ADD_FAILURE() << "tag " << tag << " accepted";
    } catch (const Exception& e) {
      EXPECT_EQ(e.message(), (folder / "old.bin").string() + " does not have the correct format !");
    }
  }
}

}  // namespace
}  // namespace vesk
