#pragma once
// "Find Thicknesses": the least-cost thickness search opened from the Output and Design module.
// One row per layer that can vary (a vary check box, minimum, maximum and step in the module's
// units), an optional design life, the cycles, the seed and a verify check box. The search runs
// on the module's working copy; "Use This Design" hands the winner's thicknesses back to the
// module, which then runs its analysis. Cancel changes nothing.

#include <array>
#include <atomic>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "design/SearchVerification.h"
#include "design/ThicknessSearch.h"
#include "project/DialogHost.h"
#include "project/LayerThickness.h"

namespace ardelon {

class CThicknessSearchDlg : public ModalDialog {
  public:
    enum class Control : int {
        Vary1,  // Vary1 + layer − 1, layers 1 to 4 (and Min, Max, Step alike)
        Vary2,
        Vary3,
        Vary4,
        Min1,
        Min2,
        Min3,
        Min4,
        Max1,
        Max2,
        Max3,
        Max4,
        Step1,
        Step2,
        Step3,
        Step4,
        DesignLife,
        Cycles,
        Seed,
        Verify,
        Search,
        CancelSearch,
        Progress,
        CandidateTable,
        Summary,
        UseDesign,
    };
    static constexpr std::string_view kCaption = "Find Thicknesses";
    static constexpr std::string_view kUseDesignText = "Use This Design";

    CThicknessSearchDlg(const CStenorDoc& moduleWork, ResponseModelFactory models);
    std::string_view caption() const override { return kCaption; }

    // The form's fields (layer index 0 to 3).
    std::array<bool, kThicknessCount> vary{};
    std::array<double, kThicknessCount> minThickness{}, maxThickness{}, step{};
    double designLifeYears = 0;  // 0: no design life
    int cycles = 5000;
    std::uint32_t seed = 1;
    bool verify = false;
    std::string unit;  // "in." or "cm"
    int variableLayers = 0;

    // After a search: the analysed candidates, passing first, then by preference; the summary
    // (the winner, or the best failing candidate and what it fails; the verification).
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    std::string summary;
    std::optional<ThicknessSearchResult> result;
    std::atomic<bool> cancelRequested{false};
    // Set by "Use This Design": the winner's thicknesses, and the module's working copy with
    // them and with the asphalt moduli that follow them (Temperature Correction on).
    std::optional<std::array<double, kThicknessCount>> chosenThickness;
    std::optional<CStenorDoc> chosenProject;
    std::vector<VaryRange> chosenVary;  // the ranges of the last search

    void onInitDialog(DialogHost& host);
    // The checks before a run; the options of the run (nothing when it does not start).
    std::optional<ThicknessSearchOptions> prepareSearch(DialogHost& host);
    // Runs the search and the verification (on a worker thread in the desktop).
    void runSearch(const ThicknessSearchOptions& options, ThicknessSearchResult& searched,
                   std::optional<SearchVerification>& verified) const;
    void finishSearch(DialogHost& host, ThicknessSearchResult searched,
                      std::optional<SearchVerification> verified);
    // prepareSearch, runSearch and finishSearch on the calling thread.
    void search(DialogHost& host);
    // "Use This Design": true when there is a winner to hand back.
    bool onUseDesign(DialogHost& host);

    const CStenorDoc& moduleWork() const { return work_; }
    // The tooltip of a number field, in the module's units.
    FieldHint hint(Control control) const;
    // The seeds the search takes: every 32-bit seed of the sampler.
    static constexpr double kMaxSeed = std::numeric_limits<std::uint32_t>::max();

  private:
    CStenorDoc work_;
    ResponseModelFactory models_;
};

}  // namespace ardelon
