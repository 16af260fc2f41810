#pragma once

#include <functional>

namespace vesk {

// Ends the process at once with that code: no closing sequence, no destructors. The caller
// has saved what must not be lost.
void EndProgram(int code);

// Tests record the end instead of ending; an empty function puts the real end back.
void SetProgramEnd(std::function<void(int code)> end);

}  // namespace vesk
