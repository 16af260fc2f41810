#include "common/convert_error.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(ConvertError, NamesTheTextThatIsNotANumber) {
  EXPECT_EQ(IntegerOfText(" 127512 "), 127512);
  EXPECT_EQ(IntegerOfText("-3"), -3);
  EXPECT_DOUBLE_EQ(FloatOfText("-12.5"), -12.5);
  const struct {
    const char* text;
    bool integer;
    const char* message;
  } refused[] = {
      {"127xxx", true, "'127xxx' is not a valid integer value"},
      {"2.5", true, "'2.5' is not a valid integer value"},
      {"", true, "'' is not a valid integer value"},
      {"?", false, "'?' is not a valid floating point value"},
      {"12,5", false, "'12,5' is not a valid floating point value"},
  };
  for (const auto& c : refused) {
    try {
      c.integer ? static_cast<void>(IntegerOfText(c.text)) : static_cast<void>(FloatOfText(c.text));
      ADD_FAILURE() << c.text << " was taken";
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.message(), c.message);
    }
  }
}

}  // namespace
}  // namespace vesk
