#include "widgets/evaluate.h"

#include <cstddef>
#include <vector>

#include "common/number_text.h"
#include "widgets/number_edit_errors.h"

namespace vesk {
namespace {

constexpr std::size_t kStackSize = 100;

struct Token {
  bool isNumber;
  double number;  // when isNumber
  char op;        // '+', '-', '*' or '/' otherwise
};

class TokenStack {
 public:
  void Push(const Token& token) {
    if (tokens_.size() == kStackSize) {
      throw EFormuleError();
    }
    tokens_.push_back(token);
  }

  std::size_t Size() const { return tokens_.size(); }

  // The text is read from right to left, so the top of the stack is the leftmost part of
  // what has been read: x op y pops x first.
  void Reduce() {
    if (tokens_.size() >= 3) {
      const Token x = Pop();
      const Token op = Pop();
      const Token y = Pop();
      if (!x.isNumber || op.isNumber || !y.isNumber) {
        throw EFormuleError();
      }
      Push({true, Apply(x.number, op.op, y.number), 0});
    } else if (tokens_.size() == 2) {
      const Token sign = Pop();
      const Token value = Pop();
      if (sign.isNumber || (sign.op != '+' && sign.op != '-') || !value.isNumber) {
        throw EFormuleError();
      }
      Push({true, sign.op == '-' ? -value.number : value.number, 0});
    } else {
      throw EFormuleError();
    }
  }

  double Result() const {
    if (tokens_.size() != 1 || !tokens_.back().isNumber) {
      throw EFormuleError();
    }
    return tokens_.back().number;
  }

 private:
  Token Pop() {
    const Token token = tokens_.back();
    tokens_.pop_back();
    return token;
  }

  // IEEE arithmetic without traps: 1/0 is infinite, 0/0 undefined.
  static double Apply(double x, char op, double y) {
    switch (op) {
      case '+':
        return x + y;
      case '-':
        return x - y;
      case '*':
        return x * y;
      default:
        return x / y;
    }
  }

  std::vector<Token> tokens_;
};

bool IsNumberChar(char ch) {
  return (ch >= '0' && ch <= '9') || ch == '.';
}

}  // namespace

double Evaluate(const std::string& text) {
  TokenStack stack;
  std::size_t end = text.size();  // one past the rightmost unread character
  while (end > 0) {
    const char ch = text[end - 1];
    if (ch == ')') {
      --end;
    } else if (ch == '(') {
      --end;
      stack.Reduce();
    } else if (ch == '+' || ch == '-' || ch == '*' || ch == '/') {
      --end;
      stack.Push({false, 0, ch});
    } else {
      std::size_t start = end;
      while (start > 0 && IsNumberChar(text[start - 1])) {
        --start;
      }
      double value = 0;
      // An empty run is a character the expression does not accept; "1.2.3" does not convert.
      if (start == end || !TextToFloat(text.substr(start, end - start), value)) {
        throw EFormuleError();
      }
      stack.Push({true, value, 0});
      end = start;
    }
  }
  while (stack.Size() >= 2) {
    stack.Reduce();
  }
  return stack.Result();
}

}  // namespace vesk
