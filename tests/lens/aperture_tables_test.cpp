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

// Both tables row by row against the rows the lenses report, written out here rather than
// taken from the code's own tables, so that a mistyped row cannot pass: each whole-table
// list must hold exactly these rows, in this order.
TEST(ApertureTables, EveryRowAsTheLensesReportIt) {
  struct Row {
    const char* name;
    std::uint8_t code;
    double value;
  };
  const Row standard[] = {
      {"f/1.0", 0x08, 1.0},   {"f/1.1", 0x0A, 1.1},   {"f/1.2", 0x0C, 1.2},
      {"f/1.3", 0x0E, 1.3},   {"f/1.4", 0x10, 1.4},   {"f/1.5", 0x12, 1.5},
      {"f/1.7", 0x14, 1.7},   {"f/1.8", 0x15, 1.8},   {"f/1.8", 0x16, 1.8},
      {"f/2.0", 0x18, 2.0},   {"f/2.2", 0x1A, 2.2},   {"f/2.4", 0x1C, 2.4},
      {"f/2.6", 0x1E, 2.6},   {"f/2.8", 0x20, 2.8},   {"f/3.1", 0x22, 3.1},
      {"f/3.5", 0x25, 3.5},   {"f/3.6", 0x24, 3.5},   {"f/3.6", 0x26, 3.7},
      {"f/4.0", 0x28, 4.0},   {"f/4.4", 0x2A, 4.4},   {"f/4.8", 0x2C, 4.8},
      {"f/5.2", 0x2E, 5.2},   {"f/5.6", 0x30, 5.6},   {"f/6.2", 0x32, 6.2},
      {"f/6.7", 0x34, 6.7},   {"f/7.3", 0x36, 7.4},   {"f/8", 0x38, 8.0},
      {"f/8.7", 0x3A, 8.7},   {"f/9.5", 0x3C, 9.5},   {"f/10.4", 0x3E, 10.4},
      {"f/11.3", 0x40, 11.3}, {"f/12.3", 0x42, 12.3}, {"f/13.5", 0x44, 13.5},
      {"f/14.7", 0x46, 14.7}, {"f/16", 0x48, 16.0},   {"f/17.4", 0x4A, 17.4},
      {"f/19", 0x4C, 19.0},   {"f/21", 0x4E, 21.0},   {"f/22", 0x4F, 22.0},
      {"f/22", 0x50, 22.0},   {"f/25", 0x52, 25.0},   {"f/27", 0x54, 26.9},
      {"f/29", 0x56, 29.3},   {"f/32", 0x58, 32.0},   {"f/35", 0x5A, 35.0},
      {"f/38", 0x5C, 38.0},   {"f/41.5", 0x5E, 41.5}, {"f/45", 0x60, 45.0},
      {"f/50", 0x62, 50.0},   {"f/54", 0x64, 54.0},   {"f/59", 0x66, 59.0},
      {"f/64", 0x68, 64.0},
  };
  const Row extended[] = {
      {"f/2.8", 0x6C, 2.8},   {"f/3.2", 0x70, 3.2},   {"f/3.5", 0x74, 3.5},
      {"f/4.0", 0x78, 4.0},   {"f/4.5", 0x7C, 4.5},   {"f/5.0", 0x80, 5.0},
      {"f/5.6", 0x84, 5.6},   {"f/6.3", 0x88, 6.3},   {"f/7.1", 0x8C, 7.1},
      {"f/8.0", 0x90, 8.0},   {"f/9.0", 0x94, 9.0},   {"f/10.0", 0x98, 10.0},
      {"f/11.0", 0x9C, 11.0}, {"f/13.0", 0xA0, 13.0}, {"f/14.0", 0xA4, 14.0},
      {"f/16.0", 0xA8, 16.0}, {"f/18.0", 0xAC, 18.0}, {"f/20.0", 0xB0, 20.0},
      {"f/22.0", 0xB5, 22.0}, {"f/25.0", 0xC8, 25.0}, {"f/29.0", 0xD2, 29.0},
      {"f/32.0", 0xEC, 32.0},
  };
  struct TableCase {
    const char* what;
    bool extended;
    std::span<const Row> rows;
    std::span<const TInfoApertures> table;
  };
  const TableCase tables[] = {
      {"standard", kStandard, standard, ApertureTable},
      {"extended", kExtended, extended, ExtendedApertureTable},
  };
  for (const TableCase& t : tables) {
    SCOPED_TRACE(t.what);
    ASSERT_EQ(t.table.size(), t.rows.size());
    TACanonDiaphInf list;
    ApertureListBetween(t.extended, list, t.rows.front().value, t.rows.back().value);
    ASSERT_EQ(list.size(), t.rows.size());
    for (std::size_t k = 0; k < t.rows.size(); ++k) {
      const Row& row = t.rows[k];
      SCOPED_TRACE(testing::Message() << "row " << k + 1);
      EXPECT_EQ(list[k].FrendlyName, row.name);
      EXPECT_EQ(list[k].HwCodeValue, row.code);
      EXPECT_EQ(list[k].Value, row.value);
      EXPECT_EQ(list[k].AbsoluteIndex, k + 1);
      EXPECT_STREQ(t.table[k].FriendName, row.name);
      EXPECT_EQ(t.table[k].SendValue, row.code);
      EXPECT_EQ(t.table[k].AbsolValue, row.value);
    }
  }
}

}  // namespace
}  // namespace vesk
