#include "history/csv_export.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <random>

#include "common/datetime.h"
#include "common/number_text.h"
#include "tests/history/history_bytes.h"
#include "tests/support/comma_locale.h"
#include "tests/support/temp_folder.h"

namespace vesk {
namespace {

using ::testing::StartsWith;

const std::string kHeaderLine =
    "Date;Date as string;Ext. temp \xB0"
    "C;Int. temp \xB0"
    "C;Hot temp \xB0"
    "C;RH int %;RH ext %;Active heater;Press mb;Windspeed km/h;Wind dir \xB0\r\n";

TinfosRec ExampleRecord() {
  TinfosRec rec;
  rec.Date = 45000.5;
  rec.TempExt = 12.34;
  rec.TempInt = 20.06;
  rec.TempHot = 30.0;
  rec.RHInt = 41.26;
  rec.RHExt = 63.6;
  rec.ActiveHeater = 1;
  rec.Pressure = 1013.27;
  rec.WindSpeed = 5.57;
  rec.Windir = 270.4;
  return rec;
}

class CsvExport : public ::testing::Test {
 protected:
  void SetUp() override { std::setlocale(LC_ALL, "C"); }

  test::TempFolder folder;
};

TEST_F(CsvExport, ExampleRecordGivesItsExactLineAfterTheHeader) {
  EXPECT_EQ(ExportCsv({ExampleRecord()}, folder / "export"), std::nullopt);
  EXPECT_EQ(
      test::ReadFile(folder / "export.csv"),
      kHeaderLine + "45000.50000;03/15/23 12:00:00;12.3;20.1;30.0;41.3;64;Y;1013.3;5.6;270;\r\n");
}

TEST_F(CsvExport, AppendingKeepsOneHeader) {
  TinfosRec off = ExampleRecord();
  off.ActiveHeater = 0;
  off.Date = 45001.25;
  ASSERT_EQ(ExportCsv({ExampleRecord()}, folder / "twice.txt"), std::nullopt);
  ASSERT_EQ(ExportCsv({off, ExampleRecord()}, folder / "twice"), std::nullopt);
  const std::string line1 =
      "45000.50000;03/15/23 12:00:00;12.3;20.1;30.0;41.3;64;Y;1013.3;5.6;270;\r\n";
  const std::string line2 =
      "45001.25000;03/16/23 06:00:00;12.3;20.1;30.0;41.3;64;N;1013.3;5.6;270;\r\n";
  EXPECT_EQ(test::ReadFile(folder / "twice.csv"), kHeaderLine + line1 + line2 + line1);
}

TEST_F(CsvExport, EmptyHistoryStillCreatesTheFileWithItsHeader) {
  ASSERT_EQ(ExportCsv({}, folder / "empty"), std::nullopt);
  EXPECT_EQ(test::ReadFile(folder / "empty.csv"), kHeaderLine);
}

TEST(CsvFileName, ExtensionOfTheLastComponentIsReplaced) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"export", "export.csv"},
      {"export.txt", "export.csv"},
      {"export.csv", "export.csv"},
      {"a.b.c", "a.b.csv"},
      {"export.", "export.csv"},
      {"/data/run.2024/out", "/data/run.2024/out.csv"},
      {"/data/run.2024/out.bin", "/data/run.2024/out.csv"},
      {"./out", "./out.csv"},
  };
  for (const auto& [chosen, expected] : cases) {
    EXPECT_EQ(CsvFileName(chosen).string(), expected) << chosen;
  }
}

TEST_F(CsvExport, FailureIsReturnedAsTheMessageToShow) {
  const auto message = ExportCsv({ExampleRecord()}, folder / "missing" / "out");
  ASSERT_TRUE(message.has_value());
  EXPECT_THAT(*message, StartsWith("Erreur pd la sauvegarde -> Cannot create file \"" +
                                   (folder / "missing" / "out.csv").string()));
}

TEST(YesNoLetter, AnyNonZeroByteIsYes) {
  EXPECT_STREQ(YesNoLetter(0), "N");
  EXPECT_STREQ(YesNoLetter(1), "Y");
  EXPECT_STREQ(YesNoLetter(0x80), "Y");
}

// The line is built without printf; it must be the very text of the documented format.
// printf's text of one value. An undefined value keeps its sign, as glibc writes it: the
// printf of mingw-w64 drops it, and a file reads the same whichever system wrote it.
std::string Printf(const char* format, double value) {
  if (std::isnan(value)) {
    return std::signbit(value) ? "-nan" : "nan";
  }
  return FormatText(format, value);
}

std::string PrintfLine(const TinfosRec& r) {
  return Printf("%1.5f", r.Date) + ";" + CsvDateText(r.Date) + ";" + Printf("%1.1f", r.TempExt) +
         ";" + Printf("%1.1f", r.TempInt) + ";" + Printf("%1.1f", r.TempHot) + ";" +
         Printf("%1.1f", r.RHInt) + ";" + Printf("%1.0f", r.RHExt) + ";" +
         YesNoLetter(r.ActiveHeater) + ";" + Printf("%1.1f", r.Pressure) + ";" +
         Printf("%1.1f", r.WindSpeed) + ";" + Printf("%1.0f", r.Windir) + ";\r\n";
}

TEST(CsvLine, IsTheTextOfTheFormatForAwkwardAndRandomValues) {
  std::setlocale(LC_ALL, "C");
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // Ties of the binary value (0.25, 2.5, 0.125 …), near-ties (0.05, 0.15, 1.005 …), signs
  // of zero, magnitudes past the fast path, infinities and undefined values.
  const std::vector<double> awkward = {
      0.0,   -0.0,    0.05,    -0.05,   0.15,         0.25,         0.35,   0.45,  0.5,
      1.5,   2.5,     -2.5,    -0.04,   -0.4,         12.45,        12.35,  1.005, 4.35,
      0.125, 0.375,   99.95,   999.95,  1e11,         1e11 + 0.5,   1e12,   1e15,  -1e15,
      1e300, -1e-300, 5e-324,  inf,     -inf,         nan,          -nan,   63.5,  64.5,
      270.5, 271.5,   1013.25, 1013.35, 45000.000005, 45000.000015, 45000.5};
  std::vector<TinfosRec> records;
  for (std::size_t i = 0; i < awkward.size(); ++i) {
    TinfosRec rec;
    rec.Date = 45000.0 + static_cast<double>(i) / 7.0;
    rec.TempExt = rec.TempInt = rec.TempHot = rec.RHInt = rec.RHExt = awkward[i];
    rec.Pressure = rec.WindSpeed = rec.Windir = awkward[awkward.size() - 1 - i];
    records.push_back(rec);
    rec.Date = awkward[i] > 0 && awkward[i] < 1e6 ? awkward[i] : rec.Date;
    records.push_back(rec);
  }
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-6, 13);
  std::uniform_int_distribution<int> tenths(-100000, 100000);
  for (int i = 0; i < 100000; ++i) {
    TinfosRec rec;
    rec.Date = 30000.0 + 30000.0 * std::abs(unit(random));
    double* fields[] = {&rec.TempExt, &rec.RHExt,    &rec.TempInt, &rec.RHInt,
                        &rec.TempHot, &rec.Pressure, &rec.Windir,  &rec.WindSpeed};
    for (double* field : fields) {
      // Half of the values decimal-looking (ties in decimal, not in binary), half anything.
      *field = i % 2 == 0 ? tenths(random) / 20.0 : unit(random) * std::pow(10.0, exponent(random));
    }
    rec.ActiveHeater = static_cast<std::uint8_t>(i % 3);
    records.push_back(rec);
  }
  for (const auto& rec : records) {
    std::string line;
    AppendCsvLine(line, rec);
    ASSERT_EQ(line, PrintfLine(rec)) << "TempExt " << rec.TempExt << " Pressure " << rec.Pressure;
  }
}

// A date that is not a number, or beyond the dates a text can name, has no date text: its
// text would otherwise be a plausible made-up date (NaN read as 06/19/80 16:47:04).
TEST(CsvLine, ADateThatNamesNoDayHasNoDateText) {
  std::setlocale(LC_ALL, "C");
  struct DateCase {
    double date;
    const char* line;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const DateCase cases[] = {
      {nan, "nan;;"},
      {-nan, "-nan;;"},
      {inf, "inf;;"},
      {-inf, "-inf;;"},
      {1e300, nullptr},
      {2958466.0, "2958466.00000;;"},  // 10000-01-01
      {-693594.0, "-693594.00000;;"},  // 0000-12-31
      {2958465.5, "2958465.50000;12/31/99 12:00:00;"},
#ifdef _WIN32
      // The C library of Windows names no year before 1900: no text rather than a wrong one.
      {-693593.0, "-693593.00000;;"},
#else
      {-693593.0, "-693593.00000;01/01/01 00:00:00;"},
#endif
      {45000.5, "45000.50000;03/15/23 12:00:00;"},
  };
  for (const DateCase& c : cases) {
    SCOPED_TRACE(c.date);
    TinfosRec rec;
    rec.Date = c.date;
    std::string line;
    AppendCsvLine(line, rec);
    if (c.line != nullptr) {
      EXPECT_TRUE(line.starts_with(c.line)) << line;
    } else {
      EXPECT_EQ(line.substr(line.find(';'), 3), ";;0") << line;
    }
    EXPECT_TRUE(line.ends_with(";0.0;0.0;0.0;0.0;0;N;0.0;0.0;0;\r\n")) << line;
  }
}

TEST_F(CsvExport, NumbersKeepThePointInAnyLocale) {
  if (!test::SetCommaLocale()) {
    GTEST_SKIP() << "no German locale on this machine";
  }
  ASSERT_EQ(ExportCsv({ExampleRecord()}, folder / "de"), std::nullopt);
  const std::string expected = kHeaderLine + "45000.50000;" + DateTimeToText(45000.5) +
                               ";12.3;20.1;30.0;41.3;64;Y;1013.3;5.6;270;\r\n";
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(test::ReadFile(folder / "de.csv"), expected);
}

}  // namespace
}  // namespace vesk
