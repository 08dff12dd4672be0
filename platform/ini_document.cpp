#include <cstdint>
#include <string>
#include <string_view>

#include "platform/profile.h"

namespace talvor::platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

#ifdef _WIN32
constexpr std::string_view kNativeLineBreak = "\r\n";
#else
constexpr std::string_view kNativeLineBreak = "\n";
#endif

bool IsBlank(char c) {
  // 0x1A is the old end-of-file mark some editors leave behind.
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool NamesEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != text.npos;
}

// One line of the text as offsets: [begin, contentEnd) is the line without
// its break, [contentEnd, end) the break itself (empty on a last line
// without one).
struct LineSpan {
  std::size_t begin;
  std::size_t contentEnd;
  std::size_t end;
};

LineSpan LineAt(std::string_view text, std::size_t pos) {
  const std::size_t brk = text.find_first_of("\r\n", pos);
  if (brk == text.npos) return {pos, text.size(), text.size()};
  std::size_t end = brk + 1;
  if (text[brk] == '\r' && end < text.size() && text[end] == '\n') ++end;
  return {pos, brk, end};
}

std::size_t FirstLineStart(std::string_view text) {
  return text.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0;
}

enum class LineKind { Blank, Section, Key };

// What a line holds. For a section, name is its name; for a key, name is the
// key and, when the line has "=", valueBegin is the offset just after it.
struct ParsedLine {
  LineKind kind;
  std::string_view name;
  std::size_t nameEnd = 0;  // offset just after the key name, within the text
  bool hasValue = false;
  std::size_t valueBegin = 0;
};

ParsedLine ParseLine(std::string_view text, const LineSpan& line) {
  const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
  const std::string_view trimmed = Trim(content);
  if (trimmed.empty()) return {LineKind::Blank, {}};
  if (trimmed.front() == '[') {
    const std::size_t close = trimmed.rfind(']');
    // A "[" without a closing "]" is no section header; it reads as a key.
    if (close != trimmed.npos) return {LineKind::Section, Trim(trimmed.substr(1, close - 1))};
  }
  const std::size_t eq = content.find('=');
  const std::string_view keyPart = content.substr(0, eq);
  const std::string_view key = Trim(keyPart);
  ParsedLine parsed{LineKind::Key, key};
  // The key is a view into text, so its end is a plain offset.
  parsed.nameEnd = static_cast<std::size_t>(key.data() - text.data()) + key.size();
  if (eq != content.npos) {
    parsed.hasValue = true;
    parsed.valueBegin = line.begin + eq + 1;
  }
  return parsed;
}

std::string_view StripQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string_view LineBreakOf(std::string_view text) {
  const std::size_t brk = text.find_first_of("\r\n");
  if (brk == text.npos) return kNativeLineBreak;
  if (text[brk] == '\n') return "\n";
  return (brk + 1 < text.size() && text[brk + 1] == '\n') ? "\r\n" : "\r";
}

// Where a key lives: the line of its section header and, when present, its
// own line. insertAt is just after the last non-blank line of the section.
struct KeyLocation {
  bool sectionFound = false;
  bool keyFound = false;
  LineSpan keyLine{};
  ParsedLine keyParsed{LineKind::Blank, {}};
  LineSpan lastLine{};  // last non-blank line of the section, header included
};

KeyLocation Locate(std::string_view text, std::string_view section, std::string_view key) {
  KeyLocation where;
  for (std::size_t pos = FirstLineStart(text); pos < text.size();) {
    const LineSpan line = LineAt(text, pos);
    pos = line.end;
    const ParsedLine parsed = ParseLine(text, line);
    if (parsed.kind == LineKind::Section) {
      // Only the first section of a name counts; a later one ends the search.
      if (where.sectionFound) break;
      if (NamesEqual(parsed.name, section)) {
        where.sectionFound = true;
        where.lastLine = line;
      }
      continue;
    }
    if (!where.sectionFound || parsed.kind == LineKind::Blank) continue;
    where.lastLine = line;
    if (parsed.kind == LineKind::Key && NamesEqual(parsed.name, key)) {
      where.keyFound = true;
      where.keyLine = line;
      where.keyParsed = parsed;
      break;
    }
  }
  return where;
}

}  // namespace

IniDocument::IniDocument(std::string text) : m_text(std::move(text)) {}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const std::string_view text = m_text;
  const KeyLocation where = Locate(text, Trim(section), Trim(key));
  if (!where.keyFound || !where.keyParsed.hasValue) return std::nullopt;
  const std::size_t begin = where.keyParsed.valueBegin;
  const std::string_view value = text.substr(begin, where.keyLine.contentEnd - begin);
  return std::string(StripQuotes(Trim(value)));
}

bool IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  section = Trim(section);
  key = Trim(key);
  // Anything here would read back as another name or inject lines.
  if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
      HasLineBreak(value) || key.find('=') != key.npos || key.front() == '[') {
    return false;
  }

  const std::string_view text = m_text;
  const KeyLocation where = Locate(text, section, key);
  const std::string_view lineBreak = LineBreakOf(text);

  if (where.keyFound) {
    const LineSpan& line = where.keyLine;
    if (!where.keyParsed.hasValue) {
      std::string replacement = "=";
      replacement += value;
      m_text.replace(where.keyParsed.nameEnd, line.contentEnd - where.keyParsed.nameEnd,
                     replacement);
      return true;
    }
    // Keep the blanks after "=" the way the file's author spaced it, unless
    // there was no value for them to stand before, or the new value is empty
    // or brings blanks of its own: kept then, they would pile up with every
    // write of the same value.
    std::size_t begin = where.keyParsed.valueBegin;
    std::size_t afterBlanks = begin;
    while (afterBlanks < line.contentEnd && IsBlank(text[afterBlanks])) ++afterBlanks;
    if (afterBlanks < line.contentEnd && !value.empty() && !IsBlank(value.front()))
      begin = afterBlanks;
    m_text.replace(begin, line.contentEnd - begin, value);
    return true;
  }

  std::string newLine;
  newLine.reserve(key.size() + value.size() + 4);
  newLine.append(key).append("=").append(value).append(lineBreak);

  if (where.sectionFound) {
    const LineSpan& last = where.lastLine;
    // A last line without a break is the end of the text: give it one first.
    if (last.contentEnd == last.end) newLine.insert(0, lineBreak);
    m_text.insert(last.end, newLine);
    return true;
  }

  std::string block;
  const bool onlyBom = text == kUtf8Bom;
  if (!text.empty() && !onlyBom && text.back() != '\n' && text.back() != '\r') {
    block.append(lineBreak);
  }
  block.append("[").append(section).append("]").append(lineBreak).append(newLine);
  m_text += block;
  return true;
}

int ParseProfileInt(std::string_view value, int defaultValue) {
  std::size_t i = 0;
  while (i < value.size() && IsBlank(value[i])) ++i;
  if (i == value.size()) return defaultValue;
  bool negative = false;
  if (value[i] == '-' || value[i] == '+') {
    negative = value[i] == '-';
    ++i;
  }
  // Unsigned arithmetic wraps by definition, which is the 32-bit wrap wanted.
  std::uint32_t total = 0;
  for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
    total = total * 10u + static_cast<std::uint32_t>(value[i] - '0');
  }
  if (negative) total = 0u - total;
  return static_cast<std::int32_t>(total);
}

}  // namespace talvor::platform
