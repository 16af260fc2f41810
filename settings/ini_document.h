#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vesk {

// The lines of an INI text, kept as they are so that sections, keys and comments written by
// hand survive a rewrite. Section and key names are compared without regard to case; the
// first section and the first key of a name are the ones read and written.
class TIniDocument {
 public:
  TIniDocument() = default;
  // Accepts lines ending with a line feed, with or without a carriage return before it.
  explicit TIniDocument(const std::string& text);

  std::optional<std::string> Find(const std::string& section, const std::string& key) const;

  // Sets the value, adding the key (and the section) when missing. A line break in the value
  // becomes a blank, since it would end the line in the file. Returns false when the value
  // was already there, so nothing needs to be written.
  bool Set(const std::string& section, const std::string& key, const std::string& value);

  // Every line followed by a carriage return and a line feed.
  std::string Text() const;

 private:
  // The first line of the section's body and the line after its end; both npos when absent.
  struct Range {
    size_t first;
    size_t end;
  };
  Range SectionRange(const std::string& section) const;

  std::vector<std::string> lines_;
};

}  // namespace vesk
