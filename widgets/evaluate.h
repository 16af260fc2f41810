#pragma once

#include <string>

namespace vesk {

// Evaluates a small arithmetic expression of numbers with the point, "+", "-", "*", "/" and
// parentheses, strictly from left to right with no precedence ("2+3*4" is 20). Each "("
// closes only one operation, so "2*(3+4+5)" is 19. A leading "+" or "-" is allowed only on a
// whole expression or group. Division by zero gives an infinite or undefined value. Raises
// EFormuleError "Invalid input !" for anything else, blanks included.
double Evaluate(const std::string& text);

}  // namespace vesk
