#include "reliability/RawDataFile.h"

#include <cerrno>
#include <cstring>
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

std::string RawDataFile::open(const std::string& path, int locationCount, std::time_t when) {
    discard();
    path_ = path;
    temporaryPath_ = path + ".partial";
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        return "Cannot write the raw data file \"" + path + "\": it is a folder.";
    }
    file_ = std::fopen(temporaryPath_.c_str(), "wb");
    if (file_ == nullptr) {
        return "Cannot write the raw data file \"" + path + "\": " + std::strerror(errno) + ".";
    }
    std::setvbuf(file_, nullptr, _IOFBF, kStreamBuffer);
    writeFailed_ = false;
    std::fprintf(file_, "%s\r\nDate:\t%s\r\n\r\n", kRawDataTitle, rawDataDate(when).c_str());
    std::fputs("Run\tSeason\tE1\tE2\tE3\tE4\tE5\tH1\tH2\tH3\tH4\tAxle Type\tWeight\t", file_);
    for (int i = 1; i <= locationCount; ++i)
        std::fprintf(file_, "Location%d\t", i);
    std::fputs("\r\n", file_);
    return {};
}

void RawDataFile::writeCycleSamples(int run, const RawCycleSamples& s) {
    if (file_ == nullptr)
        return;
    char line[512];
    const int n =
        std::snprintf(line, sizeof line,
                      "%d\t%d\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%.2f\t%d\t%.2f\t",
                      run, s.season, s.modulus[0], s.modulus[1], s.modulus[2], s.modulus[3],
                      s.modulus[4], s.thicknessInches[0], s.thicknessInches[1],
                      s.thicknessInches[2], s.thicknessInches[3], s.configuration, s.loadPerTire);
    if (n > 0 && static_cast<std::size_t>(n) < sizeof line) {
        if (std::fwrite(line, 1, static_cast<std::size_t>(n), file_) != static_cast<std::size_t>(n))
            writeFailed_ = true;
    } else {
        // A value too large for the line buffer (a modulus of 1e300 psi, say): write it plainly.
        std::fprintf(file_, "%d\t%d\t", run, s.season);
        for (double e : s.modulus)
            std::fprintf(file_, "%.2f\t", e);
        for (double h : s.thicknessInches)
            std::fprintf(file_, "%.2f\t", h);
        std::fprintf(file_, "%d\t%.2f\t", s.configuration, s.loadPerTire);
    }
}

void RawDataFile::writeCycleValues(std::span<const double> values) {
    if (file_ == nullptr)
        return;
    for (double v : values) {
        if (std::fprintf(file_, "%.2f\t", v) < 0)
            writeFailed_ = true;
    }
    if (std::fputs("\r\n", file_) < 0)
        writeFailed_ = true;
}

std::string RawDataFile::commit() {
    if (file_ == nullptr)
        return {};
    const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
    const int flushErrno = errno;
    std::fclose(file_);
    file_ = nullptr;
    if (!flushed || writeFailed_) {
        std::remove(temporaryPath_.c_str());
        return "Cannot write the raw data file \"" + path_ + "\": " + std::strerror(flushErrno) +
               ".";
    }
    std::error_code ec;
    std::filesystem::rename(temporaryPath_, path_, ec);
    if (ec) {
        std::remove(temporaryPath_.c_str());
        return "Cannot write the raw data file \"" + path_ + "\": " + ec.message() + ".";
    }
    return {};
}

void RawDataFile::discard() {
    if (file_ == nullptr)
        return;
    std::fclose(file_);
    file_ = nullptr;
    std::remove(temporaryPath_.c_str());
}

}  // namespace ardelon
