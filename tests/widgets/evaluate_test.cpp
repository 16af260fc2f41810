#include "widgets/evaluate.h"

#include <gtest/gtest.h>

#include <string>

#include "widgets/number_edit_errors.h"

namespace vesk {
namespace {

// "1+1+...+1" with the given count of numbers: 2 * count - 1 tokens on the stack at once.
std::string Sum(int count) {
  std::string text = "1";
  for (int i = 1; i < count; ++i) {
    text += "+1";
  }
  return text;
}

TEST(Evaluate, StackHoldsAtMostHundredTokens) {
  EXPECT_DOUBLE_EQ(Evaluate(Sum(50)), 50);  // 99 tokens
  try {
    Evaluate(Sum(51));  // 101 tokens
    FAIL() << "an expression of 101 tokens was accepted";
  } catch (const EFormuleError& error) {
    EXPECT_EQ(error.message(), "Invalid input !");
  }
  // Each "(" reduces the stack, so a long text can stay within it.
  std::string groups = "(1+1)";
  for (int i = 1; i < 40; ++i) {
    groups += "+(1+1)";
  }
  EXPECT_DOUBLE_EQ(Evaluate(groups), 80);
}

TEST(Evaluate, NothingToEvaluateIsInvalid) {
  for (const char* text : {"", "()", "+", "*", ".", "(", ")"}) {
    EXPECT_THROW(Evaluate(text), EFormuleError) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace vesk
