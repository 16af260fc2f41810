#pragma once

// History files built byte by byte, independently of the program's own record structs, so
// a test compares the program against the documented layout and not against itself.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "history/tinfos_rec.h"

namespace vesk::test {

class Bytes {
 public:
  Bytes& u8(std::uint8_t value) {
    data_.push_back(static_cast<char>(value));
    return *this;
  }
  Bytes& u32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
      u8(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    return *this;
  }
  Bytes& f64(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) {
      u8(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    return *this;
  }
  Bytes& fill(std::size_t count, std::uint8_t value = 0) {
    data_.append(count, static_cast<char>(value));
    return *this;
  }

  // The 80-byte record: nine doubles, the heater byte and 7 padding bytes.
  Bytes& record(const TinfosRec& rec, std::uint8_t padding = 0) {
    f64(rec.Date).f64(rec.TempExt).f64(rec.RHExt).f64(rec.TempInt).f64(rec.RHInt);
    f64(rec.TempHot).f64(rec.Pressure).f64(rec.Windir).f64(rec.WindSpeed);
    return u8(rec.ActiveHeater).fill(7, padding);
  }

  const std::string& str() const { return data_; }

  void writeTo(const std::filesystem::path& file) const {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(data_.data(), static_cast<std::streamsize>(data_.size()));
  }

 private:
  std::string data_;
};

// A current-layout history file of the given records.
inline Bytes CurrentFile(const std::vector<TinfosRec>& records) {
  Bytes bytes;
  bytes.u32(0x1AE1A12F).u32(static_cast<std::uint32_t>(records.size()));
  for (const auto& rec : records) {
    bytes.record(rec);
  }
  return bytes;
}

// A record whose every field differs from every other record's.
inline TinfosRec SampleRecord(int i) {
  TinfosRec rec;
  rec.Date = 45000.0 + i / 8640.0;
  rec.TempExt = 10.25 + i;
  rec.RHExt = 60.5 + i;
  rec.TempInt = 20.125 + i;
  rec.RHInt = 30.75 + i;
  rec.TempHot = 25.5 + i;
  rec.Pressure = 1013.25 + i;
  rec.Windir = 180.0 + i;
  rec.WindSpeed = 5.5 + i;
  rec.ActiveHeater = static_cast<std::uint8_t>(i % 2);
  return rec;
}

inline std::vector<TinfosRec> SampleRecords(int count) {
  std::vector<TinfosRec> records;
  for (int i = 0; i < count; ++i) {
    records.push_back(SampleRecord(i + 1));
  }
  return records;
}

inline bool SameRecord(const TinfosRec& a, const TinfosRec& b) {
  return a.Date == b.Date && a.TempExt == b.TempExt && a.RHExt == b.RHExt &&
         a.TempInt == b.TempInt && a.RHInt == b.RHInt && a.TempHot == b.TempHot &&
         a.Pressure == b.Pressure && a.Windir == b.Windir && a.WindSpeed == b.WindSpeed &&
         a.ActiveHeater == b.ActiveHeater;
}

inline bool SameRecords(const std::vector<TinfosRec>& a, const std::vector<TinfosRec>& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!SameRecord(a[i], b[i])) {
      return false;
    }
  }
  return true;
}

// The names of the files in a program folder but the logs, sorted.
inline std::vector<std::string> HistoryFolderNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.path().filename().string().starts_with("Log_")) {
      names.push_back(entry.path().filename().string());
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vesk::test
