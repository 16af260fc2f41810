#include "lens/aperture_tables.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

namespace vesk {
namespace {

constexpr bool kStandard = false;
constexpr bool kExtended = true;

struct CodeCase {
  std::uint8_t code;
  bool extended;
  double value;
};

enum class Outcome { List, NotInTable, RangeError };

struct ListCase {
  const char* what;
  bool extended;
  double minValue, maxValue;
  Outcome outcome;
  // Positions (from 1) of the first and last rows of the list, and their codes.
  int firstRow = 0, lastRow = 0;
  std::uint8_t firstCode = 0, lastCode = 0;
  const char* message = "";
};

const char* const kNotFound = " non trouvée dans la table des F/ des objectifs !!";

TEST(ApertureTables, LookupsFollowTheRowsAsTheLensesReportThem) {
  const CodeCase codes[] = {
      {0x4F, kStandard, 22.0}, {0x50, kStandard, 22.0}, {0x24, kStandard, 3.5},
      {0x36, kStandard, 7.4},  {0x09, kStandard, -1},   {0xB5, kExtended, 22.0},
      {0x20, kExtended, -1},   {0x6C, kStandard, -1},
  };
  for (const CodeCase& c : codes) {
    EXPECT_EQ(ApertureValueOfCode(c.code, c.extended), c.value)
        << "code " << int(c.code) << (c.extended ? " extended" : " standard");
  }

  const ListCase lists[] = {
      {"2.8 to 22 stops at the first 22", kStandard, 2.8, 22.0, Outcome::List, 14, 39, 0x20, 0x4F},
      {"3.5 starts at 0x25, then 0x24, 0x26", kStandard, 3.5, 5.6, Outcome::List, 16, 23, 0x25,
       0x30},
      {"one aperture", kStandard, 4.0, 4.0, Outcome::List, 19, 19, 0x28, 0x28},
      {"1.8 is found at its first row", kStandard, 1.8, 1.8, Outcome::List, 8, 8, 0x15, 0x15},
      {"the whole extended table", kExtended, 2.8, 32.0, Outcome::List, 1, 22, 0x6C, 0xEC},
      {"max one row before min: empty", kStandard, 2.2, 2.0, Outcome::List, 11, 10},
      {"max further before min", kStandard, 2.0, 1.8, Outcome::RangeError},
      {"no row valued 3.6", kStandard, 3.6, 22.0, Outcome::NotInTable, 0, 0, 0, 0,
       "Valeur (f/3.6 / f/22.0)"},
      {"an unknown code's -1", kStandard, -1, 32.0, Outcome::NotInTable, 0, 0, 0, 0,
       "Valeur (f/-1.0 / f/32.0)"},
      {"2.0 is not in the extended table", kExtended, 2.0, 32.0, Outcome::NotInTable, 0, 0, 0, 0,
       "Valeur (f/2.0 / f/32.0)"},
  };
  for (const ListCase& c : lists) {
    SCOPED_TRACE(c.what);
    // A list left from an earlier lens must be replaced, not extended.
    TACanonDiaphInf list(3, TCanonDiaphInf{"f/99", 99, 99, 0x99});
    switch (c.outcome) {
      case Outcome::NotInTable:
        try {
          ApertureListBetween(c.extended, list, c.minValue, c.maxValue);
          ADD_FAILURE() << "no error";
        } catch (const ElensCANONExcept& e) {
          EXPECT_EQ(e.message(), c.message + std::string(kNotFound));
        }
        continue;
      case Outcome::RangeError:
        EXPECT_THROW(ApertureListBetween(c.extended, list, c.minValue, c.maxValue), ERangeCheck);
        continue;
      case Outcome::List:
        break;
    }
    ApertureListBetween(c.extended, list, c.minValue, c.maxValue);
    ASSERT_EQ(list.size(), std::size_t(c.lastRow - c.firstRow + 1));
    if (list.empty()) {
      continue;
    }
    EXPECT_EQ(list.front().HwCodeValue, c.firstCode);
    EXPECT_EQ(list.back().HwCodeValue, c.lastCode);
    const auto& table = c.extended ? std::span<const TInfoApertures>(ExtendedApertureTable)
                                   : std::span<const TInfoApertures>(ApertureTable);
    for (std::size_t k = 0; k < list.size(); ++k) {
      const TInfoApertures& row = table[c.firstRow - 1 + k];
      EXPECT_EQ(list[k].AbsoluteIndex, c.firstRow + k);
      EXPECT_EQ(list[k].FrendlyName, row.FriendName);
      EXPECT_EQ(list[k].Value, row.AbsolValue);
      EXPECT_EQ(list[k].HwCodeValue, row.SendValue);
    }
  }
}

}  // namespace
}  // namespace vesk
