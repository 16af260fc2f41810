#include "settings/ini_document.h"

#include <algorithm>
#include <cctype>

#include "common/number_text.h"

namespace vesk {
namespace {

bool SameName(const std::string& a, const std::string& b) {
  return std::ranges::equal(
      a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

bool IsComment(const std::string& trimmed) {
  return !trimmed.empty() && (trimmed[0] == ';' || trimmed[0] == '#');
}

// The section name of a "[name]" line.
std::optional<std::string> SectionName(const std::string& line) {
  const std::string trimmed = TrimBlanks(line);
  if (trimmed.empty() || trimmed[0] != '[') {
    return std::nullopt;
  }
  return TrimBlanks(trimmed.substr(1, trimmed.find(']') - 1));
}

struct KeyLine {
  std::string key;
  std::string value;
};

std::optional<KeyLine> ParseKeyLine(const std::string& line) {
  const std::string trimmed = TrimBlanks(line);
  const auto equals = trimmed.find('=');
  if (IsComment(trimmed) || equals == std::string::npos) {
    return std::nullopt;
  }
  return KeyLine{TrimBlanks(trimmed.substr(0, equals)), TrimBlanks(trimmed.substr(equals + 1))};
}

}  // namespace

TIniDocument::TIniDocument(const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    auto end = text.find('\n', start);
    if (end == std::string::npos) {
      end = text.size();
    }
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

TIniDocument::Range TIniDocument::SectionRange(const std::string& section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (name && SameName(*name, section)) {
      size_t end = i + 1;
      while (end < lines_.size() && !SectionName(lines_[end])) {
        ++end;
      }
      return {i + 1, end};
    }
  }
  return {std::string::npos, std::string::npos};
}

std::optional<std::string> TIniDocument::Find(const std::string& section,
                                              const std::string& key) const {
  const Range range = SectionRange(section);
  for (size_t i = range.first; i < range.end; ++i) {
    const auto entry = ParseKeyLine(lines_[i]);
    if (entry && SameName(entry->key, key)) {
      return entry->value;
    }
  }
  return std::nullopt;
}

bool TIniDocument::Set(const std::string& section, const std::string& key,
                       const std::string& value) {
  std::string clean = TrimBlanks(value);
  std::ranges::replace_if(
      clean, [](char ch) { return ch == '\r' || ch == '\n'; }, ' ');
  const Range range = SectionRange(section);
  if (range.first == std::string::npos) {
    lines_.push_back("[" + section + "]");
    lines_.push_back(key + "=" + clean);
    return true;
  }
  // A new key goes after the section's last key, before any blank or comment lines that
  // separate it from the next section.
  size_t insertAt = range.first;
  for (size_t i = range.first; i < range.end; ++i) {
    const auto entry = ParseKeyLine(lines_[i]);
    if (!entry) {
      continue;
    }
    if (SameName(entry->key, key)) {
      if (entry->value == clean) {
        return false;
      }
      lines_[i] = entry->key + "=" + clean;
      return true;
    }
    insertAt = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), key + "=" + clean);
  return true;
}

std::string TIniDocument::Text() const {
  std::string text;
  for (const auto& line : lines_) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace vesk
