#include "cli/history_commands.h"

#include <cmath>
#include <limits>
#include <ostream>

#include "common/datetime.h"
#include "common/exceptions.h"
#include "common/number_text.h"
#include "history/csv_export.h"
#include "history/history_format.h"
#include "history/history_info.h"
#include "history/history_load.h"
#include "history/history_write.h"
#include "history/synthetic_history.h"

namespace vesk::cli {
namespace {

constexpr const char* kUsage =
    "Usage: vesk-cli history info FILE\n"
    "       vesk-cli history export [--append | --force] FILE.bin OUT\n"
    "       vesk-cli history generate --days N [--period S] [--seed K] OUT.bin\n"
    "\n"
    "  info      format tag, record layout, record count, first and last date of a\n"
    "            history file\n"
    "  export    converts a history file of any of the three record layouts to CSV, as\n"
    "            the monitor's \"Load Data.bin convert to CSV\" button does, into OUT with\n"
    "            its extension replaced by .csv. An existing CSV file is refused (exit 2)\n"
    "            unless --append (add the records after its lines, as the button does) or\n"
    "            --force (replace it) is given\n"
    "  generate  writes a synthetic history ending now: N days (fractions allowed) of\n"
    "            records S seconds apart (default 10), from the random seed K (default 1)\n";

// Exactly the positional arguments a subcommand takes, options already taken out.
void ExpectArguments(const std::vector<std::string>& args, std::size_t count, const char* what) {
  RejectUnknownOptions(args);
  if (args.size() != count) {
    throw UsageError(std::string("expected ") + what);
  }
}

std::string DateText(TDateTime value) {
  return value == 0.0 ? "-" : DateTimeToText(value);
}

int Info(CliContext& context) {
  ExpectArguments(context.args, 1, "history info FILE");
  const HistoryInfo info = ReadHistoryInfo(context.args[0]);
  context.out << "File:    " << context.args[0] << "\n"
              << "Tag:     " << TagText(info.layout->tag) << "\n"
              << "Layout:  " << info.layout->recordType << " (" << info.layout->recordSize
              << " bytes per record)\n"
              << "Records: " << info.count << "\n"
              << "First:   " << (info.count > 0 ? DateText(info.firstDate) : "-") << "\n"
              << "Last:    " << (info.count > 0 ? DateText(info.lastDate) : "-") << "\n";
  const std::uint64_t expected =
      kHistoryHeaderSize + std::uint64_t{info.count} * info.layout->recordSize;
  if (info.fileSize > expected) {
    context.out << "Note:    " << info.fileSize - expected
                << " bytes after the last record are not part of the history\n";
  }
  return kExitOk;
}

// Run twice on the same names, an export would leave every record twice: an existing CSV
// file is written only when the command says how.
enum class ExistingCsv { Refuse, Append, Replace };

ExistingCsv TakeExistingCsv(std::vector<std::string>& args) {
  const bool append = TakeFlag(args, "--append");
  const bool force = TakeFlag(args, "--force");
  if (append && force) {
    throw UsageError("history export takes --append or --force, not both");
  }
  return append ? ExistingCsv::Append : force ? ExistingCsv::Replace : ExistingCsv::Refuse;
}

int Export(CliContext& context) {
  const ExistingCsv existing = TakeExistingCsv(context.args);
  ExpectArguments(context.args, 2, "history export [--append | --force] FILE.bin OUT");
  const std::filesystem::path source = context.args[0];
  const std::filesystem::path csv = CsvFileName(context.args[1]);
  std::error_code ignored;
  if (existing == ExistingCsv::Refuse && std::filesystem::exists(csv, ignored)) {
    throw UsageError(csv.string() +
                     " exists: give --append to add the records to it or --force to replace it");
  }
  if (!std::filesystem::exists(source, ignored)) {
    throw EInOutError("Cannot open file \"" + source.string() + "\". No such file or directory");
  }
  TTinfosRec history;
  LoadHistory(source, kAllHistoryTags, history);
  if (history.empty()) {
    context.err << source.string() << " holds no record: nothing exported\n";
    return kExitFailure;
  }
  if (existing == ExistingCsv::Replace) {
    std::error_code error;
    std::filesystem::remove(csv, error);
    if (error) {
      context.err << "Cannot replace " << csv.string() << ": " << error.message() << "\n";
      return kExitFailure;
    }
  }
  if (const auto message = ExportCsv(history, context.args[1])) {
    context.err << *message << "\n";
    return kExitFailure;
  }
  context.out << "Exported " << history.size() << " records to " << csv.string() << "\n";
  return kExitOk;
}

int Generate(CliContext& context) {
  const auto days = TakeOption(context.args, "--days");
  const auto period = TakeOption(context.args, "--period");
  const auto seed = TakeOption(context.args, "--seed");
  ExpectArguments(context.args, 1, "history generate --days N [--period S] [--seed K] OUT.bin");
  if (!days) {
    throw UsageError("history generate needs --days N");
  }
  const double dayCount = PositiveNumber("--days", *days);
  const double seconds = period ? PositiveNumber("--period", *period) : 10.0;
  long long seedValue = 1;
  if (seed && (!TextToInt(*seed, seedValue) || seedValue < 0 ||
               seedValue > std::numeric_limits<unsigned>::max())) {
    throw UsageError("--seed needs a whole number from 0, not \"" + *seed + "\"");
  }
  const double records = std::floor(dayCount * 86400.0 / seconds);
  if (records < 1.0 || records > std::numeric_limits<std::uint32_t>::max()) {
    throw UsageError(
        FormatText("--days %s with --period %s gives %.0f records; a history file "
                   "holds 1 to 4294967295",
                   days->c_str(), FloatToText(seconds).c_str(), records));
  }
  const auto count = static_cast<std::size_t>(records);
  // Whole periods, the last one just before now.
  const double step = seconds / 86400.0;
  const TDateTime last = std::floor(Now() / step) * step;
  const TTinfosRec history = GenerateHistory(last - static_cast<double>(count - 1) * step, count,
                                             seconds, static_cast<unsigned>(seedValue));
  WriteHistoryFile(context.args[0], history);
  context.out << "Generated " << count << " records from " << DateTimeToText(history.front().Date)
              << " to " << DateTimeToText(history.back().Date) << " into " << context.args[0]
              << "\n";
  return kExitOk;
}

}  // namespace

int RunHistoryCommand(CliContext& context) {
  if (context.args.empty()) {
    throw UsageError("history needs a subcommand: info, export or generate");
  }
  const std::string subcommand = context.args.front();
  if (IsHelp(subcommand) || (context.args.size() > 1 && IsHelp(context.args[1]))) {
    context.out << kUsage;
    return kExitOk;
  }
  context.args.erase(context.args.begin());
  if (subcommand == "info") {
    return Info(context);
  }
  if (subcommand == "export") {
    return Export(context);
  }
  if (subcommand == "generate") {
    return Generate(context);
  }
  throw UsageError("unknown history subcommand \"" + subcommand + "\"");
}

}  // namespace vesk::cli
