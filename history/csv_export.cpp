#include "history/csv_export.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "common/datetime.h"
#include "history/raw_file.h"

namespace vesk {
namespace {

// The fixed-point text of printf's "%1.Nf", without its locale switch and format parsing
// per number. printf rounds the exact binary value to nearest, ties to even; scaling by
// 10^N in double precision is off by far less than 0.001 below 10^12, so away from a tie
// the nearest integer of the scaled value is the same. Ties, huge values, infinities and
// undefined values go through to_chars, which rounds exactly as printf does.
void AppendFixed(std::string& text, double value, int decimals) {
  static constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0, 10000.0, 100000.0};
  static constexpr std::uint64_t kDivisor[] = {1, 10, 100, 1000, 10000, 100000};
  const double scaled = std::abs(value) * kScale[decimals];
  if (scaled < 1e12) {
    const double whole = std::floor(scaled);
    const double fraction = scaled - whole;
    if (std::abs(fraction - 0.5) > 1e-3) {
      const std::uint64_t n = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
      if (std::signbit(value)) {
        text += '-';
      }
      char digits[24];
      auto end = std::to_chars(digits, digits + sizeof digits, n / kDivisor[decimals]).ptr;
      text.append(digits, end);
      if (decimals > 0) {
        text += '.';
        std::uint64_t rest = n % kDivisor[decimals];
        char* p = digits + decimals;
        for (int i = 0; i < decimals; ++i) {
          *--p = static_cast<char>('0' + rest % 10);
          rest /= 10;
        }
        text.append(digits, static_cast<std::size_t>(decimals));
      }
      return;
    }
  }
  char digits[400];
  const auto result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, decimals);
  text.append(digits, result.ptr);
}

}  // namespace

std::string CsvDateText(TDateTime value) {
  // 0001-01-01 to 9999-12-31, the dates a date-time text can name.
  constexpr TDateTime kFirstDay = -693593.0;
  constexpr TDateTime kPastLastDay = 2958466.0;
  if (!(value >= kFirstDay && value < kPastLastDay)) {
    return {};
  }
  return DateTimeToText(value);
}

const char kCsvHeader[] =
    "Date;Date as string;Ext. temp \xB0"
    "C;Int. temp \xB0"
    "C;Hot temp \xB0"
    "C;RH int %;RH ext %;Active heater;Press mb;Windspeed km/h;Wind dir \xB0";

const char* YesNoLetter(std::uint8_t flag) {
  return flag != 0 ? "Y" : "N";
}

std::filesystem::path CsvFileName(const std::filesystem::path& chosen) {
  std::string name = chosen.string();
#ifdef _WIN32
  const auto lastSeparator = name.find_last_of("/\\");
#else
  const auto lastSeparator = name.find_last_of('/');
#endif
  const auto lastPoint = name.find_last_of('.');
  if (lastPoint != std::string::npos &&
      (lastSeparator == std::string::npos || lastPoint > lastSeparator)) {
    name.erase(lastPoint);
  }
  return name + ".csv";
}

void AppendCsvLine(std::string& text, const TinfosRec& rec) {
  const auto field = [&text](double value, int decimals) {
    AppendFixed(text, value, decimals);
    text += ';';
  };
  field(rec.Date, 5);
  text += CsvDateText(rec.Date);
  text += ';';
  field(rec.TempExt, 1);
  field(rec.TempInt, 1);
  field(rec.TempHot, 1);
  field(rec.RHInt, 1);
  field(rec.RHExt, 0);
  text += YesNoLetter(rec.ActiveHeater);
  text += ';';
  field(rec.Pressure, 1);
  field(rec.WindSpeed, 1);
  field(rec.Windir, 0);
  text += "\r\n";
}

std::optional<std::string> ExportCsv(const TTinfosRec& history,
                                     const std::filesystem::path& fileName) {
  constexpr std::size_t kBlock = 1 << 20;
  try {
    const std::filesystem::path csv = CsvFileName(fileName);
    std::string text;
    text.reserve(kBlock + 512);
    // Created here, or appended to with no second header.
    RawFile created = RawFile::CreateNew(csv);
    const bool isNew = created.isOpen();
    RawFile file = isNew ? std::move(created) : RawFile::OpenForAppending(csv);
    if (isNew) {
      text = std::string(kCsvHeader) + "\r\n";
    }
    for (const TinfosRec& rec : history) {
      AppendCsvLine(text, rec);
      if (text.size() >= kBlock) {
        file.write(text.data(), text.size());
        text.clear();
      }
    }
    file.write(text.data(), text.size());
    file.close();
    return std::nullopt;
  } catch (const std::exception& e) {
    return std::string("Erreur pd la sauvegarde -> ") + e.what();
  }
}

}  // namespace vesk
