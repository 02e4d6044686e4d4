#pragma once
// Helpers of the report tests: a scratch folder per test and the read-back checker.

#include <filesystem>
#include <string>
#include <vector>

#include "project/CStenorDoc.h"

namespace ardelon::test {

// A fresh, empty folder under the system's temporary folder, removed with everything in it
// when the test ends.
class ScratchFolder {
  public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Names of the entries in the folder, sorted.
    std::string listing() const;

  private:
    std::filesystem::path path_;
};

struct CheckerRun {
    int status = -1;     // exit status of the checker, 0 when the workbook matches
    std::string output;  // one line per difference
};

// Makes criterion `slot` active with its response type, limit, transfer-function switch and target.
inline void setCriterion(CStenorDoc& doc, int slot, int type, double threshold = 0,
                         int transferFunction = 0, double targetPercentile = 50) {
    CriterionSlot& c = doc.criteria[static_cast<size_t>(slot)];
    c.active = 1;
    c.responseType = type;
    c.threshold = threshold;
    c.useTransferFunction = transferFunction;
    c.targetPercentile = targetPercentile;
}

// Runs a read-back script of tests/reports (openpyxl under /usr/bin/python3) with the arguments.
CheckerRun runChecker(const std::string& script, const std::vector<std::string>& arguments);

}  // namespace ardelon::test
