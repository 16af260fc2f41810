#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <limits>

namespace vesk::cli {
namespace {

TEST(CliJson, StringsComeOutAsPlainAsciiJson) {
  struct Case {
    std::string text;
    const char* json;
  };
  for (const Case& c : {
           Case{"EF15mm f/2.8", R"("EF15mm f/2.8")"},
           Case{"", R"("")"},
           Case{"say \"hi\" \\ there", R"("say \"hi\" \\ there")"},
           Case{std::string("a\0b\n\x1F\x7F", 6), R"("a\u0000b\u000A\u001F\u007F")"},
           // One 8-bit character per byte, as the lens sends its name.
           Case{"\xE9t\xFF", R"("\u00E9t\u00FF")"},
       }) {
    EXPECT_EQ(JsonString(c.text), c.json);
  }
}

TEST(CliJson, ObjectKeepsFieldOrderAndWritesNonFiniteNumbersAsNull) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const std::string text = JsonObject()
                               .add("TempExt", -0.25)
                               .add("Pressure", 1e20)
                               .add("RHExt", 1.5e-7)
                               .add("WindSpeed", nan)
                               .add("Windir", -inf)
                               .add("lensID", std::uint16_t{19490})
                               .add("PowerHeaterLevel", std::uint8_t{50})
                               .add("PresenceAF", true)
                               .add("ActiveHeater", false)
                               .add("LensName", "x")
                               .text();
  EXPECT_EQ(text,
            R"({"TempExt":-0.25,"Pressure":1E20,"RHExt":1.5E-7,"WindSpeed":null,"Windir":null,)"
            R"("lensID":19490,"PowerHeaterLevel":50,"PresenceAF":true,"ActiveHeater":false,)"
            R"("LensName":"x"})");
  EXPECT_EQ(JsonObject().text(), "{}");
}

TEST(CliJson, ArraysOfTextsAreEscapedLikeTexts) {
  EXPECT_EQ(JsonObject()
                .add("FACanonDiaphInf", std::vector<std::string>{"f/2.8", "\"q\"\xE9"})
                .add("none", std::vector<std::string>{})
                .text(),
            R"({"FACanonDiaphInf":["f/2.8","\"q\"\u00E9"],"none":[]})");
}

}  // namespace
}  // namespace vesk::cli
