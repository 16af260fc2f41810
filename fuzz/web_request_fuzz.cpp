// The web page's request parameters on any text: the first byte picks the series query, the
// CSV range, the log's line count or an operation's form body. A request is refused with its
// error text or read into values within the ranges the station takes, nothing else.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>

#include "http/url_form.h"
#include "web/web_operation.h"
#include "web/web_params.h"

namespace {

void Expect(bool holds) {
  if (!holds) {
    std::abort();
  }
}

template <class T>
const T* Read(const std::variant<T, vesk::WebParamError>& parsed) {
  if (const auto* error = std::get_if<vesk::WebParamError>(&parsed)) {
    Expect(!error->text.empty());
    return nullptr;
  }
  return &std::get<T>(parsed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  switch (data[0] % 4) {
    case 0: {
      const auto parsed = vesk::ParseSeriesParams(text);
      if (const auto* series = Read(parsed)) {
        Expect(series->window < 8 && series->columns >= 10 && series->columns <= 4000);
      }
      break;
    }
    case 1: {
      const auto parsed = vesk::ParseCsvParams(text);
      if (const auto* csv = Read(parsed)) {
        Expect(csv->from < csv->before && csv->fileName.ends_with(".csv"));
        Expect(csv->fileName.find_first_of("\"\r\n/\\") == std::string::npos);
      }
      break;
    }
    case 2: {
      const auto parsed = vesk::ParseLogParams(text);
      if (const auto* lines = Read(parsed)) {
        Expect(*lines >= 1 && *lines <= 1000);
      }
      break;
    }
    default: {
      const auto form = vesk::DecodeForm(text);
      if (!form) {
        break;
      }
      const auto parsed = vesk::ParseOperation(*form);
      if (const auto* op = Read(parsed)) {
        Expect(!op->Text().empty());
        if (op->kind == vesk::WebOperation::Kind::Thresholds) {
          Expect(op->celsius >= -100 && op->celsius <= 100);
          Expect(op->percent >= 0 && op->percent <= 100);
          Expect(op->power >= 1 && op->power <= 100);
        }
        Expect(op->index >= 0 && op->index <= 255);
      }
    }
  }
  return 0;
}
