#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "common/datetime.h"
#include "http/url_form.h"

namespace vesk {

// A request the page could not have sent: the text of its JSON error (HTTP 400).
struct WebParamError {
  std::string text;
};

// GET /api/series?window=6h&columns=800: one of the window's time windows ("1h" … "6M"),
// reduced to the chart's pixel columns (10 to 4000).
struct SeriesParams {
  std::size_t window = 0;  // index in kWindowButtons
  int columns = 0;
};
std::variant<SeriesParams, WebParamError> ParseSeriesParams(std::string_view query);

// GET /api/history.csv?from=2026-01-01&to=2026-01-31: the records of those days, both
// included; either end may be left out.
struct CsvParams {
  TDateTime from = -1e300;   // the first instant taken
  TDateTime before = 1e300;  // the first instant past the range
  std::string fileName;      // "DatasVesk_2026-01-01_2026-01-31.csv"
};
std::variant<CsvParams, WebParamError> ParseCsvParams(std::string_view query);

// GET /api/log?lines=100: 1 to 1000 of the newest lines (100 when left out).
std::variant<std::size_t, WebParamError> ParseLogParams(std::string_view query);

// "2026-01-31" as the day count of its midnight; none for another text or a day that does
// not exist.
std::optional<TDateTime> ParseDay(std::string_view text);

// The parameters of a query; a broken escape is an error.
std::variant<FormParams, WebParamError> QueryParams(std::string_view query);

// A whole decimal number from low to high, digits only.
std::optional<long long> WholeNumberIn(std::string_view text, long long low, long long high);

}  // namespace vesk
