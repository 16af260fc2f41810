#pragma once

#include <gmock/gmock.h>

#include <regex>
#include <string>

namespace vesk::test {

// The whole text matches an ECMAScript regular expression. GoogleTest's own MatchesRegex
// takes extended POSIX expressions on Linux but only a small subset on Windows, which
// has no groups, alternatives or brackets.
MATCHER_P(MatchesPattern, pattern, "matches the regular expression " + std::string(pattern)) {
  return std::regex_match(std::string(arg), std::regex(pattern));
}

}  // namespace vesk::test
