#include "app/program_end.h"

#include <cstdlib>
#include <utility>

namespace vesk {
namespace {

std::function<void(int)>& ProgramEnd() {
  static std::function<void(int)> end;
  return end;
}

}  // namespace

void EndProgram(int code) {
  if (ProgramEnd()) {
    ProgramEnd()(code);
    return;
  }
  std::_Exit(code);
}

void SetProgramEnd(std::function<void(int code)> end) {
  ProgramEnd() = std::move(end);
}

}  // namespace vesk
