#include "web/web_params.h"

#include <algorithm>
#include <charconv>

#include "plots/time_window.h"

namespace vesk {

std::optional<long long> WholeNumberIn(std::string_view text, long long low, long long high) {
  if (text.empty() || text.size() > 18 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  long long value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  if (value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

std::optional<TDateTime> ParseDay(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
    return std::nullopt;
  }
  const auto year = WholeNumberIn(text.substr(0, 4), 1, 9999);
  const auto month = WholeNumberIn(text.substr(5, 2), 1, 12);
  const auto day = WholeNumberIn(text.substr(8, 2), 1, 31);
  if (!year || !month || !day) {
    return std::nullopt;
  }
  const std::chrono::year_month_day date{std::chrono::year(static_cast<int>(*year)),
                                         std::chrono::month(static_cast<unsigned>(*month)),
                                         std::chrono::day(static_cast<unsigned>(*day))};
  if (!date.ok()) {
    return std::nullopt;
  }
  DateTimeParts parts;
  parts.year = static_cast<int>(*year);
  parts.month = static_cast<int>(*month);
  parts.day = static_cast<int>(*day);
  return EncodeDateTime(parts);
}

std::variant<FormParams, WebParamError> QueryParams(std::string_view query) {
  auto params = DecodeForm(query);
  if (!params) {
    return WebParamError{"The query holds a broken escape"};
  }
  return std::move(*params);
}

std::variant<SeriesParams, WebParamError> ParseSeriesParams(std::string_view query) {
  auto decoded = QueryParams(query);
  if (auto* error = std::get_if<WebParamError>(&decoded)) {
    return *error;
  }
  const FormParams& params = std::get<FormParams>(decoded);
  SeriesParams series;
  const std::string* window = FindParam(params, "window", false);
  if (!window) {
    return WebParamError{"window must be one of 1h, 6h, 12h, 24h, 3J, 1s, 1M, 6M"};
  }
  const auto found =
      std::find_if(kWindowButtons.begin(), kWindowButtons.end(),
                   [window](const TWindowButton& b) { return *window == b.caption; });
  if (found == kWindowButtons.end()) {
    return WebParamError{"window must be one of 1h, 6h, 12h, 24h, 3J, 1s, 1M, 6M"};
  }
  series.window = static_cast<std::size_t>(found - kWindowButtons.begin());
  const std::string* columns = FindParam(params, "columns", false);
  const auto count = columns ? WholeNumberIn(*columns, 10, 4000) : std::nullopt;
  if (!count) {
    return WebParamError{"columns must be a whole number from 10 to 4000"};
  }
  series.columns = static_cast<int>(*count);
  return series;
}

std::variant<CsvParams, WebParamError> ParseCsvParams(std::string_view query) {
  auto decoded = QueryParams(query);
  if (auto* error = std::get_if<WebParamError>(&decoded)) {
    return *error;
  }
  const FormParams& params = std::get<FormParams>(decoded);
  CsvParams csv;
  std::string name = "DatasVesk";
  for (const char* end : {"from", "to"}) {
    const std::string* text = FindParam(params, end, false);
    if (!text || text->empty()) {
      continue;
    }
    const auto day = ParseDay(*text);
    if (!day) {
      return WebParamError{std::string(end) + " must be a date written as 2026-01-31"};
    }
    if (end == std::string_view("from")) {
      csv.from = *day;
    } else {
      csv.before = *day + 1;
    }
    name += "_" + *text;
  }
  if (csv.from >= csv.before) {
    return WebParamError{"from must not be after to"};
  }
  csv.fileName = name + ".csv";
  return csv;
}

std::variant<std::size_t, WebParamError> ParseLogParams(std::string_view query) {
  auto decoded = QueryParams(query);
  if (auto* error = std::get_if<WebParamError>(&decoded)) {
    return *error;
  }
  const std::string* lines = FindParam(std::get<FormParams>(decoded), "lines", false);
  if (!lines) {
    return std::size_t{100};
  }
  const auto count = WholeNumberIn(*lines, 1, 1000);
  if (!count) {
    return WebParamError{"lines must be a whole number from 1 to 1000"};
  }
  return static_cast<std::size_t>(*count);
}

}  // namespace vesk
