// Fuzzes the INI text model on arbitrary files: reading never fails, and a
// write changes nothing but the one key it sets.
//
// Input: one byte of flags, three length bytes, then the section, key and
// value of one write, then the file text. Some flags stretch the text with
// a 10 MB line (fuzz/corpus/ini/huge_line* are such inputs) or send the
// write through the profile functions on a real file, whose bytes must then
// match the model's.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/profile.h"

namespace {

namespace ini = talvor::platform;

std::string_view g_input;

void Require(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "property broken: %s\ninput (%zu bytes):", what, g_input.size());
  for (unsigned char c : g_input.substr(0, 300)) std::fprintf(stderr, " %02X", c);
  std::fprintf(stderr, "\n");
  std::abort();
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

bool IsLineBreak(char c) {
  return c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  a = Trim(a);
  b = Trim(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// A value that reads back as written: reading drops surrounding blanks and
// one pair of enclosing quotes.
bool ReadsBackAsIs(std::string_view value) {
  if (Trim(value) != value) return false;
  return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front());
}

// Section and key names that occur in the text, to probe keys the write must not touch.
std::vector<std::pair<std::string, std::string>> ProbeKeys(std::string_view text) {
  std::vector<std::string> sections{"setup"}, keys{"x", "h"};
  std::size_t pos = 0;
  while (pos < text.size() && (sections.size() < 4 || keys.size() < 6)) {
    std::size_t end = pos;
    while (end < text.size() && !IsLineBreak(text[end])) ++end;
    const std::string_view line = Trim(text.substr(pos, end - pos));
    const std::size_t close = line.rfind(']');
    const std::size_t eq = line.find('=');
    if (!line.empty() && line.front() == '[' && close != std::string_view::npos) {
      if (sections.size() < 4) sections.emplace_back(line.substr(1, close - 1));
    } else if (eq != std::string_view::npos && eq < 64 && keys.size() < 6) {
      keys.emplace_back(line.substr(0, eq));
    }
    pos = end + 1;
  }
  std::vector<std::pair<std::string, std::string>> probes;
  for (const auto& s : sections)
    for (const auto& k : keys) probes.emplace_back(s, k);
  return probes;
}

// Picks the inputs that get a 10 MB line rather than one of 1 KB: a run
// with it costs as much as thousands of others, so the mutants of such an
// input must not all carry it.
std::uint32_t Fnv1a(std::string_view bytes) {
  std::uint32_t hash = 2166136261u;
  for (const char c : bytes) hash = (hash ^ static_cast<std::uint8_t>(c)) * 16777619u;
  return hash;
}

std::string g_fileName;

void RemoveFile() {
  if (g_fileName.empty()) return;
  ::unlink(g_fileName.c_str());
  ::rmdir(g_fileName.substr(0, g_fileName.rfind('/')).c_str());
}

std::optional<std::string> ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void CheckOnDisk(const std::string& text, const std::string& section, const std::string& key,
                 const std::string& value, bool modelOk, const std::string& modelText) {
  {
    std::ofstream out(g_fileName, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  const int before = ini::GetPrivateProfileInt(section, key, -7, g_fileName);
  const std::optional<std::string> modelValue = ini::IniDocument(text).Get(section, key);
  Require(before == (modelValue ? ini::ParseProfileInt(*modelValue, -7) : -7),
          "GetPrivateProfileInt reads what the model reads");

  const bool ok = ini::WritePrivateProfileString(section, key, value, g_fileName);
  Require(ok == modelOk, "WritePrivateProfileString succeeds where the model does");
  Require(ReadFile(g_fileName) == (ok ? modelText : text), "the file holds the model's text");
}

void CheckParseInt(std::string_view value) {
  const int got = ini::ParseProfileInt(value, 12345);
  if (Trim(value).empty()) Require(got == 12345, "a blank value gives the default");
  // A number written out reads back, whatever follows a blank after it.
  const std::string written = std::to_string(got);
  Require(ini::ParseProfileInt(written, 0) == got, "a written integer reads back");
  Require(ini::ParseProfileInt(" " + written + " " + std::string(value), 0) == got,
          "a written integer reads back before other text");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string dir = std::string(base) + "/talvor-ini-fuzz.XXXXXX";
  if (::mkdtemp(dir.data())) {
    g_fileName = dir + "/talvor.ini";
    std::atexit(RemoveFile);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_input = std::string_view(reinterpret_cast<const char*>(data), size);
  if (size < 4) return 0;
  const std::uint8_t flags = data[0];
  std::string_view rest = g_input.substr(4);
  const auto take = [&rest](std::size_t n) {
    const std::string_view part = rest.substr(0, n);
    rest.remove_prefix(part.size());
    return std::string(part);
  };
  const std::string section = take(data[1] % 24);
  const std::string key = take(data[2] % 24);
  const std::string value = take(data[3] % 48);
  std::string text(rest);
  if ((flags & 0x3F) == 0x2A) {
    // One long line, inside the text where its first byte points.
    const std::size_t at = text.empty() ? 0 : static_cast<std::uint8_t>(text[0]) % text.size();
    const std::size_t length = Fnv1a(g_input) % 64 == 0 ? 10u << 20 : 1u << 10;
    text.insert(at, std::string(length, static_cast<char>(flags & 0x80 ? '=' : 'v')));
  }

  const ini::IniDocument document(text);
  const std::optional<std::string> before = document.Get(section, key);
  if (before) CheckParseInt(*before);
  CheckParseInt(value);

  ini::IniDocument edited = document;
  const bool ok = edited.Set(section, key, value);
  const std::string& after = edited.Text();
  if (!ok) {
    Require(after == text, "a refused write leaves the text alone");
    Require(Trim(section).empty() || Trim(key).empty() ||
                section.find_first_of("\r\n") != std::string::npos ||
                key.find_first_of("\r\n=") != std::string::npos ||
                value.find_first_of("\r\n") != std::string::npos || Trim(key).front() == '[',
            "a write is refused only for the documented reasons");
  } else {
    const std::optional<std::string> got = edited.Get(section, key);
    Require(got.has_value(), "Get after Set finds the key");
    if (ReadsBackAsIs(value))
      Require(*got == value, "Get after Set returns the value set");
    else
      Require(*got == ini::IniDocument("[s]\nk=" + value).Get("s", "k"),
              "value read back as stored");

    // The bytes that changed: [prefix, text.size() - suffix) of the old text.
    std::size_t prefix = 0;
    while (prefix < text.size() && prefix < after.size() && text[prefix] == after[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < text.size() - prefix && suffix < after.size() - prefix &&
           text[text.size() - 1 - suffix] == after[after.size() - 1 - suffix])
      ++suffix;
    const std::string_view removed =
        std::string_view(text).substr(prefix, text.size() - prefix - suffix);
    const std::string_view inserted =
        std::string_view(after).substr(prefix, after.size() - prefix - suffix);
    Require(removed.find_first_of("\r\n") == std::string_view::npos || after == text,
            "a write removes no line break");
    if (before && after != text) {
      // An existing value is replaced within its own line, behind its "=".
      std::size_t lineStart = prefix;
      while (lineStart > 0 && !IsLineBreak(text[lineStart - 1])) --lineStart;
      Require(text.substr(lineStart, prefix - lineStart).find('=') != std::string::npos,
              "only bytes behind the key's \"=\" change");
      Require(inserted.find_first_of("\r\n") == std::string_view::npos,
              "replacing a value adds no line");
    }

    auto probes = ProbeKeys(text);
    // A long line is scanned once per probe: a few are enough there.
    if (text.size() > 4000 && probes.size() > 4) probes.resize(4);
    for (const auto& [s, k] : probes) {
      if (SameName(s, section) && SameName(k, key)) continue;
      Require(edited.Get(s, k) == document.Get(s, k), "other keys keep their values");
    }

    ini::IniDocument again = edited;
    Require(again.Set(section, key, value) && again.Text() == after,
            "writing the same value twice changes nothing the second time");
  }

  if ((flags & 0xC0) == 0x40 && !g_fileName.empty() && text.size() < (1u << 16))
    CheckOnDisk(text, section, key, value, ok, after);
  return 0;
}
