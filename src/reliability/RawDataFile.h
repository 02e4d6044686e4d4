#pragma once
// The raw simulation data file of a Monte Carlo run: every cycle's samples and critical values as
// tab-separated text, for checking the drawn distributions in a spreadsheet.
//
// Layout (CR LF line ends):
//   Ardelon 4.3 - Probabilistic Simulation
//   Date:<TAB>Sat Dec 05 05:39:12 2026
//   (empty line)
//   Run<TAB>Season<TAB>E1 ... H4<TAB>Axle Type<TAB>Weight<TAB>Location1<TAB>...
//   one line per cycle: run and season "%d", moduli and thicknesses (in.) "%.2f", axle type "%d",
//   load per tire (lb) "%.2f", then the critical value of each evaluated location "%.2f";
//   every field is followed by a tab.
//
// The file is written under a unique temporary name beside the chosen one and moved into place
// only when the run completes and every write, the flush and the close succeeded, so that a
// cancelled or failed run leaves no partial file behind (and an existing file of that name
// untouched).

#include <array>
#include <cstdio>
#include <ctime>
#include <span>
#include <string>

#include "project/ReplacingFile.h"

namespace ardelon {

inline constexpr const char* kRawDataTitle = "Ardelon 4.3 - Probabilistic Simulation";
// The save-file chooser of the run: the first entry shows "(*.xls)" but filters on "*.ad".
inline constexpr const char* kRawDataFilter =
    "Ardelon Raw Data (*.xls) |*.ad|All Files (*.*) |*.*||";
inline constexpr const char* kRawDataInitialName = "*.xls";

// "Www Mmm DD hh:mm:ss yyyy" in local time, English names, day with a leading zero.
std::string rawDataDate(std::time_t when);

// The samples of one cycle as the file records them.
struct RawCycleSamples {
    int season = 0;
    std::array<double, 5> modulus{};
    std::array<double, 4> thicknessInches{};
    int configuration = 0;
    double loadPerTire = 0.0;
};

class RawDataFile {
  public:
    RawDataFile() = default;
    RawDataFile(const RawDataFile&) = delete;
    RawDataFile& operator=(const RawDataFile&) = delete;
    ~RawDataFile();

    // Creates the file's temporary twin and writes the four header lines with one "Location"
    // head per evaluated location. Returns an empty string, or a message naming the path and
    // the reason it cannot be written.
    std::string open(const std::string& path, int locationCount, std::time_t when);
    bool isOpen() const { return file_.isOpen(); }

    // The first 13 fields of cycle `run` (counted from 1).
    void writeCycleSamples(int run, const RawCycleSamples& samples);
    // The critical values of the evaluated locations, then the end of the line.
    void writeCycleValues(std::span<const double> values);

    // Closes the file and moves it to its chosen name. Returns an empty string or a message.
    std::string commit();
    // Closes and removes the temporary file (a cancelled run).
    void discard();

    const std::string& temporaryPath() const { return file_.temporaryPath(); }

  private:
    void noteWrite(bool ok);
    std::string failure(const std::string& reason) const;

    ReplacingFile file_;
    std::string path_;
    int writeError_ = 0;  // errno of the first failed write
};

}  // namespace ardelon
