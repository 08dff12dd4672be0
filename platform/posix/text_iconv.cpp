// CP932 conversion over glibc's iconv, with an ASCII fast path: only the
// non-ASCII runs are handed to iconv.
#include <iconv.h>

#include <cerrno>
#include <stdexcept>

#include "platform/text.h"

namespace talvor::platform {
namespace {

class Converter {
public:
  Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {
    if (m_cd == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
  }
  ~Converter() { iconv_close(m_cd); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much of [in, in+n) as it can, appending to out. Returns the
  // number of input bytes consumed; stops before a sequence it cannot convert.
  std::size_t Convert(const char* in, std::size_t n, std::string& out) {
    iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in);
    std::size_t left = n;
    while (left > 0) {
      char buffer[1024];
      char* dst = buffer;
      std::size_t room = sizeof buffer;
      const std::size_t rc = iconv(m_cd, &src, &left, &dst, &room);
      out.append(buffer, static_cast<std::size_t>(dst - buffer));
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) break;
    }
    return n - left;
  }

private:
  iconv_t m_cd;
};

// Bytes of the UTF-8 character at p, or of its broken start (at least 1), so
// that one bad or unmappable character becomes one stand-in.
std::size_t Utf8SequenceLength(const unsigned char* p, std::size_t n) {
  const unsigned char b = p[0];
  std::size_t len = 1;
  if (b >= 0xC2 && b <= 0xDF) len = 2;
  else if (b >= 0xE0 && b <= 0xEF) len = 3;
  else if (b >= 0xF0 && b <= 0xF4) len = 4;
  std::size_t i = 1;
  while (i < len && i < n && (p[i] & 0xC0) == 0x80) ++i;
  return i;
}

bool IsAsciiByte(char c) { return !(static_cast<unsigned char>(c) & 0x80u); }

// Copies ASCII runs as they are and hands each non-ASCII chunk to iconv.
// chunkEnd finds where a chunk ends without cutting a character in two;
// skipBad writes the stand-in for a sequence iconv refused and says how
// many bytes it covers.
template <typename ChunkEnd, typename SkipBad>
void AppendConverted(std::string_view in, std::string& out, Converter& converter,
                     ChunkEnd chunkEnd, SkipBad skipBad) {
  const char* p = in.data();
  const char* const end = p + in.size();
  while (p < end) {
    const char* run = p;
    while (p < end && IsAsciiByte(*p)) ++p;
    out.append(run, static_cast<std::size_t>(p - run));
    if (p == end) break;
    const char* const stop = chunkEnd(p, end);
    while (p < stop) {
      p += converter.Convert(p, static_cast<std::size_t>(stop - p), out);
      if (p < stop) p += skipBad(p, stop, out);
    }
  }
}

}  // namespace

void AppendUtf8AsCp932(std::string_view utf8, std::string& out) {
  thread_local Converter converter("CP932", "UTF-8");
  const auto chunkEnd = [](const char* q, const char* end) {
    while (q < end && !IsAsciiByte(*q)) ++q;
    return q;
  };
  AppendConverted(utf8, out, converter, chunkEnd, [](const char* q, const char* end, std::string& o) {
    o.push_back('?');
    return Utf8SequenceLength(reinterpret_cast<const unsigned char*>(q),
                              static_cast<std::size_t>(end - q));
  });
}

void AppendCp932AsUtf8(std::string_view cp932, std::string& out) {
  thread_local Converter converter("UTF-8", "CP932");
  // A trail byte can be ASCII, so a chunk is walked character by character.
  const auto chunkEnd = [](const char* q, const char* end) {
    while (q < end && !IsAsciiByte(*q)) {
      const auto b = static_cast<unsigned char>(*q);
      const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
      q += (lead && end - q >= 2) ? 2 : 1;
    }
    return q;
  };
  AppendConverted(cp932, out, converter, chunkEnd, [](const char*, const char*, std::string& o) {
    o += "\xEF\xBF\xBD";
    return std::size_t{1};
  });
}

}  // namespace talvor::platform
