#include "traffic/LoadSpectraFile.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <vector>

#include "project/ProjectFile.h"

namespace ardelon {
namespace {

constexpr size_t at(int index) {
    return static_cast<size_t>(index);
}

// Longest piece of a bad token quoted back in a message.
constexpr size_t kQuotedTokenLength = 24;

void appendInteger(std::string& out, int value) {
    out += std::to_string(value);
    out += '\n';
}

// Two decimals, rounded from the exact binary value as "%.2f" does, independent of the locale.
void appendDecimal(std::string& out, double value) {
    char buffer[400];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    out.append(buffer, ec == std::errc() ? end : buffer);
    out += '\n';
}

void appendFlag(std::string& out, int flag) {
    out += flag == 1 ? "1\n" : "0\n";
}

bool isBlank(int ch) {
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\v' || ch == '\f';
}

std::string quoted(const std::string& token) {
    std::string shown;
    for (char ch : token.substr(0, kQuotedTokenLength)) {
        shown += (static_cast<unsigned char>(ch) >= 0x20 && static_cast<unsigned char>(ch) < 0x7f)
                     ? ch
                     : '?';
    }
    if (token.size() > kQuotedTokenLength)
        shown += "...";
    return "\"" + shown + "\"";
}

// A number may carry one sign, "+" or "-"; "+-4.00" is not a number (an empty view).
std::string_view withoutPlusSign(std::string_view token) {
    if (token.empty() || token.front() != '+')
        return token;
    token.remove_prefix(1);
    if (!token.empty() && (token.front() == '-' || token.front() == '+'))
        return {};
    return token;
}

// Reads the numbers of the file one by one, remembering the line each starts on.
class TokenReader {
  public:
    explicit TokenReader(std::istream& in) : in_(in) {}

    bool next(std::string& token, int& line) {
        int ch = in_.get();
        while (ch != EOF && isBlank(ch)) {
            if (ch == '\n')
                ++line_;
            ch = in_.get();
        }
        if (ch == EOF)
            return false;
        token.clear();
        line = line_;
        while (ch != EOF && !isBlank(ch)) {
            // Kept whole: "%.2f" writes a very large value with all its integer digits, and a
            // shortened token would read back as a different number.
            token += static_cast<char>(ch);
            ch = in_.get();
        }
        if (ch == '\n')
            ++line_;
        return true;
    }

  private:
    std::istream& in_;
    int line_ = 1;
};

class Parser {
  public:
    explicit Parser(std::istream& in) : reader_(in) {}

    bool integer(int& value) {
        if (!nextToken())
            return false;
        const std::string_view t = withoutPlusSign(token_);
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
        if (t.empty() || end != t.data() + t.size()) {
            return fail(quoted(token_) + " is not a whole number");
        }
        if (ec == std::errc::result_out_of_range) {
            return fail(quoted(token_) + " is too large");
        }
        return true;
    }

    bool decimal(double& value) {
        if (!nextToken())
            return false;
        const std::string_view t = withoutPlusSign(token_);
        auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
        if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value)) {
            return fail(quoted(token_) + " is not a number");
        }
        return true;
    }

    bool fail(const std::string& problem) {
        error_ = "line " + std::to_string(line_) + ": " + problem;
        return false;
    }

    int line() const { return line_; }
    const std::string& error() const { return error_; }

  private:
    bool nextToken() {
        if (reader_.next(token_, line_)) {
            ++count_;
            return true;
        }
        if (count_ == 0) {
            error_ = "the file holds no values; a load spectra file holds " +
                     std::to_string(kLoadSpectraValueCount);
        } else {
            error_ = "the file ends after value " + std::to_string(count_) + " (line " +
                     std::to_string(line_) + "); a load spectra file holds " +
                     std::to_string(kLoadSpectraValueCount) + " values";
        }
        return false;
    }

    TokenReader reader_;
    std::string token_;
    std::string error_;
    int line_ = 0;
    int count_ = 0;
};

}  // namespace

namespace {

// Each field of the file's record beside the working copy's field it holds: the one list that
// both directions read.
template <class Record, class Copy, class Visit>
void forEachRecordField(Record& r, Copy& traffic, Visit&& visit) {
    visit(r.aadt, traffic.aadt);
    visit(r.percentTrucks, traffic.percentTrucks);
    visit(r.loadSpectra, traffic.loadSpectra);
    visit(r.configurationEnabled, traffic.configurationEnabled);
    visit(r.currentConfiguration, traffic.currentConfiguration);
    visit(r.truckGrowthPercent, traffic.truckGrowthPercent);
    visit(r.axleGroupsPerDay, traffic.axleGroupsPerDay);
    visit(r.percentTrucksDesignLane, traffic.percentTrucksDesignLane);
    visit(r.directionalDistribution, traffic.directionalDistribution);
    visit(r.configurationPercent, traffic.configurationPercent);
}

// A field added to the record fails to build here until this binding and forEachRecordField name
// it.
[[maybe_unused]] void bindsEveryRecordField(LoadSpectraRecord& r) {
    [[maybe_unused]] auto& [f0, f1, f2, f3, f4, f5, f6, f7, f8, f9] = r;
}

}  // namespace

LoadSpectraRecord loadSpectraRecordOf(const LoadingWorkingCopy& traffic) {
    LoadSpectraRecord r;
    forEachRecordField(r, traffic, [](auto& field, const auto& copy) { field = copy; });
    return r;
}

void applyLoadSpectraRecord(const LoadSpectraRecord& r, LoadingWorkingCopy& traffic) {
    forEachRecordField(r, traffic, [](const auto& field, auto& copy) { copy = field; });
}

std::string formatLoadSpectra(const LoadSpectraRecord& r) {
    std::string out;
    out.reserve(kLoadSpectraValueCount * 8);
    appendInteger(out, r.aadt);
    appendDecimal(out, r.percentTrucks);
    for (const auto& row : r.loadSpectra) {
        for (double v : row)
            appendDecimal(out, v);
    }
    for (int flag : r.configurationEnabled)
        appendFlag(out, flag);
    appendInteger(out, r.currentConfiguration);
    appendDecimal(out, r.truckGrowthPercent);
    appendInteger(out, r.axleGroupsPerDay);
    appendDecimal(out, r.percentTrucksDesignLane);
    appendDecimal(out, r.directionalDistribution);
    for (double share : r.configurationPercent)
        appendDecimal(out, share);
    return out;
}

LoadSpectraParse parseLoadSpectra(std::istream& in) {
    Parser p(in);
    LoadSpectraRecord r;
    auto failed = [&p] { return LoadSpectraParse{std::nullopt, p.error()}; };

    if (!p.integer(r.aadt) || !p.decimal(r.percentTrucks))
        return failed();
    for (int c = 0; c < kConfigurationCount; ++c) {
        for (int k = 0; k < kBinCount; ++k) {
            double& bin = r.loadSpectra[at(c)][at(k)];
            if (!p.decimal(bin))
                return failed();
            // A negative share of axle groups would give a cumulative distribution that falls.
            if (bin < 0) {
                p.fail("bin " + std::to_string(k) + " of the " +
                       std::string(kConfigurationNames[at(c)]) + " distribution is negative (" +
                       formatFieldNumber(bin) + ")");
                return failed();
            }
        }
    }
    for (int& flag : r.configurationEnabled) {
        if (!p.integer(flag))
            return failed();
    }
    if (!p.integer(r.currentConfiguration))
        return failed();
    if (!isConfiguration(r.currentConfiguration)) {
        p.fail("the current configuration is " + std::to_string(r.currentConfiguration) +
               "; it must be 0 (Single), 1 (Tandem), 2 (Tridem) or 3 (Steer)");
        return failed();
    }
    if (!p.decimal(r.truckGrowthPercent) || !p.integer(r.axleGroupsPerDay) ||
        !p.decimal(r.percentTrucksDesignLane) || !p.decimal(r.directionalDistribution)) {
        return failed();
    }
    for (double& share : r.configurationPercent) {
        if (!p.decimal(share))
            return failed();
    }
    return {r, {}};
}

LoadSpectraParse parseLoadSpectra(std::string_view text) {
    std::istringstream in{std::string(text)};
    return parseLoadSpectra(in);
}

std::string loadSpectraWriteProblem(const LoadSpectraRecord& r) {
    auto notANumber = [](const std::string& what, double value) {
        return std::isfinite(value) ? std::string()
                                    : what + " is not a number (" + formatFieldNumber(value) + ")";
    };
    std::string problem = notANumber("percentTrucks", r.percentTrucks);
    for (int c = 0; c < kConfigurationCount && problem.empty(); ++c) {
        for (int k = 0; k < kBinCount && problem.empty(); ++k) {
            const double bin = r.loadSpectra[at(c)][at(k)];
            const std::string name = "bin " + std::to_string(k) + " of the " +
                                     std::string(kConfigurationNames[at(c)]) + " distribution";
            problem = notANumber(name, bin);
            // As written with two decimals: -0.004 becomes "-0.00", which reads back as 0.
            std::string written;
            appendDecimal(written, bin);
            if (problem.empty() && written.front() == '-' &&
                written.find_first_not_of("-0.\n") != std::string::npos) {
                problem = name + " is negative (" + written.substr(0, written.size() - 1) + ")";
            }
        }
    }
    if (problem.empty() && !isConfiguration(r.currentConfiguration)) {
        problem = "the current configuration is " + std::to_string(r.currentConfiguration) +
                  "; it must be 0 (Single), 1 (Tandem), 2 (Tridem) or 3 (Steer)";
    }
    if (problem.empty())
        problem = notANumber("truckGrowthPercent", r.truckGrowthPercent);
    if (problem.empty())
        problem = notANumber("percentTrucksDesignLane", r.percentTrucksDesignLane);
    if (problem.empty())
        problem = notANumber("directionalDistribution", r.directionalDistribution);
    for (int c = 0; c < kConfigurationCount && problem.empty(); ++c) {
        problem = notANumber("configurationPercent[" + std::to_string(c) + "]",
                             r.configurationPercent[at(c)]);
    }
    return problem;
}

std::string writeLoadSpectraFile(const std::string& path, const LoadSpectraRecord& record) {
    // Only a file that its own import takes back is written.
    if (const std::string problem = loadSpectraWriteProblem(record); !problem.empty())
        return "Cannot save \"" + path + "\": " + problem + ". Nothing was written.";
    const std::string text = formatLoadSpectra(record);
    // Written beside the target and moved over it, so a failed save keeps the previous file.
    return writeFileReplacing(path, text.data(), text.size()).error;
}

LoadSpectraParse readLoadSpectraFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    if (FileResult read = readWholeFile(path, bytes); !read.ok()) {
        return {std::nullopt, read.error};
    }
    LoadSpectraParse parse = parseLoadSpectra(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!parse.ok()) {
        parse.error = "Cannot import \"" + path + "\": " + parse.error + ". Nothing was changed.";
    }
    return parse;
}

}  // namespace ardelon
