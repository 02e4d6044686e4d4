#pragma once
// The load spectra file (.lsf): the traffic of the Load Spectra module as plain text, one number
// per line, 239 numbers in a fixed order with no header:
//   1 aadt (integer), 2 percentTrucks, 3-58 Single bins 0-55, 59-114 Tandem, 115-170 Tridem,
//   171-226 Steer, 227-230 configurationEnabled (flags, Single to Steer), 231 currentConfiguration
//   (integer), 232 truckGrowthPercent, 233 axleGroupsPerDay (integer), 234
//   percentTrucksDesignLane, 235 directionalDistribution, 236-239 configurationPercent.
// Decimals are written with two decimals ("12.35"), integers as digits, flags as 1 or 0. Reading
// takes the numbers in that order separated by any white space, so files written on Windows
// (CR LF) and on Unix read the same. A file that does not hold 239 valid numbers is refused as a
// whole, naming the line and the problem; nothing is taken from it.

#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "traffic/LoadingConditions.h"

namespace ardelon {

inline constexpr int kLoadSpectraValueCount = 239;

// File chooser of "Import Load Spectra" and "Save Load Spectra"; a name saved without an
// extension gets ".lsf".
inline constexpr std::string_view kLoadSpectraFilter =
    "Load Spectra Files (*.lsf);;All Files (*.*)";
inline constexpr std::string_view kLoadSpectraInitialName = "*.lsf";
inline constexpr std::string_view kSaveLoadSpectraCaption = "Save Load Spectra";
inline constexpr std::string_view kSaveLoadSpectraDoneText =
    "Your load spectra has been successfully saved.";
inline constexpr std::string_view kImportLoadSpectraCaption = "Import Load Spectra";
inline constexpr std::string_view kImportLoadSpectraDoneText =
    "Your load data have been successfully imported.";

// The fields a load spectra file carries.
struct LoadSpectraRecord {
    int aadt = 0;
    double percentTrucks = 0;
    SpectraTable loadSpectra{};
    ConfigurationFlags configurationEnabled{};
    int currentConfiguration = Single;
    double truckGrowthPercent = 0;
    int axleGroupsPerDay = 0;
    double percentTrucksDesignLane = 0;
    double directionalDistribution = 0;
    ConfigurationValues configurationPercent{};

    bool operator==(const LoadSpectraRecord&) const = default;
};

LoadSpectraRecord loadSpectraRecordOf(const LoadingWorkingCopy& traffic);
// Puts the file's fields into the working copy; everything else stays.
void applyLoadSpectraRecord(const LoadSpectraRecord& record, LoadingWorkingCopy& traffic);

// The 239 lines of the file, each ending in "\n".
std::string formatLoadSpectra(const LoadSpectraRecord& record);

// Either the record or why the text is not a load spectra file ("line 12: \"abc\" is not a
// number"), without the file name.
struct LoadSpectraParse {
    std::optional<LoadSpectraRecord> record;
    std::string error;
    bool ok() const { return record.has_value(); }
};
LoadSpectraParse parseLoadSpectra(std::istream& in);
LoadSpectraParse parseLoadSpectra(std::string_view text);

// Why the record would give a file that import refuses (a bin that is not a number or is
// negative as written, "bin 3 of the Single distribution is negative (-4.00)"), else empty.
std::string loadSpectraWriteProblem(const LoadSpectraRecord& record);

// Writes the file (replacing one that exists); a record with a write problem is refused. Empty on
// success, else the message naming the path and the reason ("Cannot save \"x.lsf\": Permission
// denied.").
std::string writeLoadSpectraFile(const std::string& path, const LoadSpectraRecord& record);
// Reads a file; `error` is the complete message naming the path and the problem.
LoadSpectraParse readLoadSpectraFile(const std::string& path);

}  // namespace ardelon
