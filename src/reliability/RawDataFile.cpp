#include "reliability/RawDataFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace ardelon {
namespace {

constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::size_t kStreamBuffer = 1 << 16;

}  // namespace

std::string rawDataDate(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %d", kDayNames[local.tm_wday % 7],
                  kMonthNames[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min,
                  local.tm_sec, local.tm_year + 1900);
    return text;
}

RawDataFile::~RawDataFile() {
    discard();
}

std::string RawDataFile::failure(const std::string& reason) const {
    return "Cannot write the raw data file \"" + path_ + "\": " + reason + ".";
}

void RawDataFile::noteWrite(bool ok) {
    if (!ok && writeError_ == 0)
        writeError_ = errno != 0 ? errno : EIO;
}

std::string RawDataFile::open(const std::string& path, int locationCount, std::time_t when) {
    discard();
    path_ = path;
    writeError_ = 0;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        return failure("it is a folder");
    if (std::string reason = file_.open(path); !reason.empty())
        return failure(reason);
    std::FILE* out = file_.stream();
    std::setvbuf(out, nullptr, _IOFBF, kStreamBuffer);
    errno = 0;
    noteWrite(std::fprintf(out, "%s\r\nDate:\t%s\r\n\r\n", kRawDataTitle,
                           rawDataDate(when).c_str()) >= 0);
    noteWrite(std::fputs("Run\tSeason\tE1\tE2\tE3\tE4\tE5\tH1\tH2\tH3\tH4\tAxle Type\tWeight\t",
                         out) >= 0);
    for (int i = 1; i <= locationCount; ++i)
        noteWrite(std::fprintf(out, "Location%d\t", i) >= 0);
    noteWrite(std::fputs("\r\n", out) >= 0);
    return {};
}

void RawDataFile::writeCycleSamples(int run, const RawCycleSamples& s) {
    if (!file_.isOpen())
        return;
    std::FILE* out = file_.stream();
    char line[512];
    const int n =
        std::snprintf(line, sizeof line,
                      "%d\t%d\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%d\t%.2f\t",
                      run, s.season, s.modulus[0], s.modulus[1], s.modulus[2], s.modulus[3],
                      s.modulus[4], s.thicknessInches[0], s.thicknessInches[1],
                      s.thicknessInches[2], s.thicknessInches[3], s.configuration, s.loadPerTire);
    errno = 0;
    if (n > 0 && static_cast<std::size_t>(n) < sizeof line) {
        noteWrite(std::fwrite(line, 1, static_cast<std::size_t>(n), out) ==
                  static_cast<std::size_t>(n));
    } else {
        // A value too large for the line buffer (a modulus of 1e300 psi, say): write it plainly.
        noteWrite(std::fprintf(out, "%d\t%d\t", run, s.season) >= 0);
        for (double e : s.modulus)
            noteWrite(std::fprintf(out, "%.2f\t", e) >= 0);
        for (double h : s.thicknessInches)
            noteWrite(std::fprintf(out, "%.2f\t", h) >= 0);
        noteWrite(std::fprintf(out, "%d\t%.2f\t", s.configuration, s.loadPerTire) >= 0);
    }
}

void RawDataFile::writeCycleValues(std::span<const double> values) {
    if (!file_.isOpen())
        return;
    std::FILE* out = file_.stream();
    errno = 0;
    for (double v : values)
        noteWrite(std::fprintf(out, "%.2f\t", v) >= 0);
    noteWrite(std::fputs("\r\n", out) >= 0);
}

std::string RawDataFile::commit() {
    if (!file_.isOpen())
        return {};
    if (std::string reason = file_.commit(writeError_); !reason.empty())
        return failure(reason);
    return {};
}

void RawDataFile::discard() {
    file_.discard();
}

}  // namespace ardelon
