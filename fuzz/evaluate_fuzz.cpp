// The number fields' expression evaluator on any text: a value or "Invalid input !".
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/exceptions.h"
#include "widgets/evaluate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    (void)vesk::Evaluate(std::string(reinterpret_cast<const char*>(data), size));
  } catch (const vesk::Exception&) {
  }
  return 0;
}
