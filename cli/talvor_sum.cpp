// talvor-sum: the totals of a sheet kept in text files or piped in, printed
// exactly as the main window's three result fields would show them.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "core/sheet_sum.h"
#include "platform/text.h"

namespace {

constexpr std::string_view kUsage =
    "usage: talvor-sum [--cp932] [FILE...]\n"
    "Adds up the durations in FILE (one per line; standard input when no FILE\n"
    "is given, or for -) and prints the total in seconds, as minutes:seconds\n"
    "and as hours:minutes:seconds.\n"
    "\n"
    "  --cp932   the input is in code page 932 (Shift-JIS), not UTF-8\n"
    "  --help    show this text\n"
    "\n"
    "Exit status: 0 with a total, 1 when a line cannot be read (the three lines\n"
    "then read Error), 2 when a file cannot be read or an option is wrong.\n";

constexpr std::size_t kBlockSize = 1 << 20;

struct Options {
  bool cp932 = false;
  std::vector<std::string> files;
};

enum class Status { kOk, kLineFailed, kFileFailed };

class Summer {
 public:
  explicit Summer(bool cp932) : m_cp932(cp932) {}

  // Reads one file (or standard input for "-") line by line into the sheet.
  Status Read(const std::string& name) {
    const bool isStdin = name == "-";
    const std::string shown = isStdin ? "<stdin>" : name;
    std::FILE* file = isStdin ? stdin : std::fopen(name.c_str(), "rb");
    if (!file) {
      std::fprintf(stderr, "talvor-sum: cannot open %s: %s\n", shown.c_str(), std::strerror(errno));
      return Status::kFileFailed;
    }
    m_lineNumber = 0;
    m_pending.clear();
    std::vector<char> block(kBlockSize);
    Status status = Status::kOk;
    for (;;) {
      const std::size_t got = std::fread(block.data(), 1, block.size(), file);
      if (got == 0) break;
      if (!Feed(std::string_view(block.data(), got), shown)) {
        status = Status::kLineFailed;
        break;
      }
    }
    if (status == Status::kOk && std::ferror(file)) {
      std::fprintf(stderr, "talvor-sum: cannot read %s: %s\n", shown.c_str(), std::strerror(errno));
      status = Status::kFileFailed;
    }
    // A last line without a line feed still counts.
    if (status == Status::kOk && !m_pending.empty() && !Line(m_pending, shown))
      status = Status::kLineFailed;
    if (!isStdin) std::fclose(file);
    return status;
  }

  talvor::SumOutcome Outcome() const { return m_summer.Outcome(); }

 private:
  bool Feed(std::string_view data, const std::string& shown) {
    // First the line the previous block cut short (or this block's first).
    const auto first = data.find('\n');
    if (first == std::string_view::npos) {
      m_pending.append(data);
      return true;
    }
    m_pending.append(data.substr(0, first));
    const bool ok = Line(m_pending, shown);
    m_pending.clear();
    if (!ok) return false;
    data.remove_prefix(first + 1);

    const auto last = data.rfind('\n');
    if (last == std::string_view::npos) {
      m_pending.append(data);
      return true;
    }
    if (!Lines(data.substr(0, last), shown)) return false;
    m_pending.append(data.substr(last + 1));
    return true;
  }

  // Whole lines, LF-separated. Text that needs no conversion is summed in
  // one pass; a CR before a LF makes no difference to how a line reads.
  bool Lines(std::string_view lines, const std::string& shown) {
    if (!m_cp932 && !talvor::platform::IsAscii(lines)) {
      for (;;) {
        const auto nl = lines.find('\n');
        if (!Line(lines.substr(0, nl), shown)) return false;
        if (nl == std::string_view::npos) return true;
        lines.remove_prefix(nl + 1);
      }
    }
    if (m_summer.AddText(lines)) {
      m_lineNumber += static_cast<unsigned long>(std::count(lines.begin(), lines.end(), '\n')) + 1;
      return true;
    }
    // Which line it was, for the message: the rare path reads them again.
    for (;;) {
      const auto nl = lines.find('\n');
      std::string_view line = lines.substr(0, nl);
      ++m_lineNumber;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (const auto nul = line.find('\0'); nul != std::string_view::npos)
        line = line.substr(0, nul);
      if (talvor::ParseTimeEntry(line).status != talvor::kParseRead) {
        ReportUnreadable(shown, line);
        return false;
      }
      if (nl == std::string_view::npos) return false;
      lines.remove_prefix(nl + 1);
    }
  }

  void ReportUnreadable(const std::string& shown, std::string_view line) const {
    std::fprintf(stderr, "%s:%lu: cannot read \"%.*s\"\n", shown.c_str(), m_lineNumber,
                 static_cast<int>(line.size()), line.data());
  }

  bool Line(std::string_view line, const std::string& shown) {
    ++m_lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (const auto nul = line.find('\0'); nul != std::string_view::npos) line = line.substr(0, nul);
    std::string_view sheetLine = line;
    if (!m_cp932 && !talvor::platform::IsAscii(line)) {
      m_converted.clear();
      talvor::platform::AppendUtf8AsCp932(line, m_converted);
      sheetLine = m_converted;
    }
    if (m_summer.Add(sheetLine)) return true;
    ReportUnreadable(shown, line);
    return false;
  }

  bool m_cp932;
  talvor::SheetSummer m_summer;
  unsigned long m_lineNumber = 0;
  std::string m_pending;    // a line cut by the end of a block
  std::string m_converted;  // reused for lines that need conversion
};

// Returns 0 to go on, or the exit status to end with.
int ParseOptions(int argc, char** argv, Options& options) {
  bool optionsDone = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (!optionsDone && arg == "--") {
      optionsDone = true;
    } else if (!optionsDone && arg == "--cp932") {
      options.cp932 = true;
    } else if (!optionsDone && (arg == "--help" || arg == "-h")) {
      std::fwrite(kUsage.data(), 1, kUsage.size(), stdout);
      return -1;
    } else if (!optionsDone && arg.size() > 1 && arg[0] == '-') {
      std::fprintf(stderr, "talvor-sum: unknown option %s (try --help)\n", argv[i]);
      return 2;
    } else {
      options.files.emplace_back(arg);
    }
  }
  if (options.files.empty()) options.files.emplace_back("-");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  Options options;
  if (const int rc = ParseOptions(argc, argv, options); rc != 0) return rc < 0 ? 0 : rc;

  Summer summer(options.cp932);
  for (const auto& name : options.files) {
    const Status status = summer.Read(name);
    if (status == Status::kFileFailed) return 2;
    if (status == Status::kLineFailed) break;
  }
  const talvor::SumOutcome outcome = summer.Outcome();
  std::printf("%s\n%s\n%s\n", outcome.SecondsText.c_str(), outcome.MinSecText.c_str(),
              outcome.HourMinSecText.c_str());
  return outcome.Failed ? 1 : 0;
}
