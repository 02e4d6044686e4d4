#pragma once
// The trial designs of the Output and Design module: "Keep as Trial" after a run, and the
// "Trials" view with one column per kept trial (cost, asphalt thickness, each criterion's actual
// percentile and verdict, each transfer-function life), the cheapest passing trial marked, Load
// Trial, Rename, Delete and Compare, which analyses the selected trials from the same random
// draws and adds their paired differences. The trials live in the module's working copy and go
// back to the project with it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/COutputDesignDlg.h"
#include "project/DialogHost.h"
#include "trials/DesignComparison.h"
#include "trials/Trial.h"

namespace ardelon {

// The name of a trial being kept or renamed.
class CTrialNameDlg : public ModalDialog {
  public:
    enum class Control : int { Name };
    static constexpr std::string_view kKeepCaption = "Keep as Trial";
    static constexpr std::string_view kRenameCaption = "Rename Trial";
    static constexpr std::string_view kPrompt = "Trial name:";

    // `except`: the trial being renamed (its own name is allowed), or -1.
    CTrialNameDlg(std::string_view caption, const std::vector<Trial>& trials, int except,
                  std::string name);
    std::string_view caption() const override { return caption_; }

    std::string name;
    // OK: true when `name` (without leading and trailing blanks) can name the trial; otherwise the
    // reason is shown and the focus goes back to the name.
    bool onOK(DialogHost& host);

  private:
    std::string_view caption_;
    const std::vector<Trial>& trials_;
    int except_;
};

// One cell of the side-by-side table; `verdict` colours it where a row has one.
struct TrialCell {
    std::string text;
    std::optional<Verdict> verdict;
    bool operator==(const TrialCell&) const = default;
};

struct TrialRow {
    std::string label;
    std::vector<TrialCell> cells;  // one per trial, in the trials' order
    bool operator==(const TrialRow&) const = default;
};

class CTrialsDlg {
  public:
    // Numbered apart from the module's controls, which Load Trial sets through the same host.
    enum class Control : int { Table = 100, LoadTrial, RenameTrial, DeleteTrial, Compare, Close };

    static constexpr std::string_view kCaption = "Trials";
    static constexpr std::string_view kLoadCaption = "Load Trial";
    static constexpr std::string_view kDeleteCaption = "Delete Trials";
    static constexpr std::string_view kCompareCaption = "Compare Trials";
    static constexpr std::array<std::string_view, 2> kLoadOverChangesText = {
        "The design has changes that are not saved. Load trial \"",
        "\" in their place? Keep the design as a trial first to come back to it."};
    static constexpr std::array<std::string_view, 2> kLoadedNote = {
        "Trial \"", "\" loaded. Perform Analysis to see its results here."};
    static constexpr std::string_view kDeleteOneText = "Delete trial \"";
    static constexpr std::string_view kDeleteManyText = "Delete the selected trials (";
    static constexpr std::string_view kCompareTooFewText =
        "Please select two or more trials to compare.";
    static constexpr std::string_view kDamagedText =
        "The trials kept with this project cannot be read, so none is kept or changed until the "
        "file is mended or moved away: ";
    static constexpr std::string_view kCheapestPassing = "cheapest passing";

    // `module` holds the working copy with its trials and the last run's results.
    explicit CTrialsDlg(COutputDesignDlg& module);

    // The trials as kept in the working copy, and what the view shows of them: the side-by-side
    // table of the command line and the workbook, and the paired differences of a comparison.
    std::vector<Trial> trials;
    std::vector<TrialRow> rows;
    int cheapestPassing = -1;    // the column marked, -1: none passes with a cost
    std::vector<int> selection;  // selected columns, ascending
    std::string comparisonNote;  // the seed and cycles of the last comparison
    std::vector<int> compared;   // the columns of the last comparison, first the reference
    std::optional<Comparison> comparison;

    // "8/6 in." — the default name of the design shown, made unique among the trials.
    std::string defaultName() const;
    // Keep as Trial: only for results of the design shown. Asks for the name; false when nothing
    // was kept (no results, cancelled, or the kept trials cannot be read).
    bool canKeep() const { return module_.exportEnabled && module_.lastSeed.has_value(); }
    bool onKeepAsTrial(DialogHost& host);

    void onInitDialog(DialogHost& host);
    void onSelectionChanged(DialogHost& host, std::vector<int> columns);
    // Load Trial: the selected trial's inputs become the module's design (after asking when the
    // design has unsaved changes); true when loaded, and the view closes.
    bool onLoadTrial(DialogHost& host);
    void onRenameTrial(DialogHost& host);
    void onDeleteTrials(DialogHost& host);
    // Compare: the options of a run of the selected trials from one seed for the same cycles (as
    // the module's Monte Carlo settings give them); nothing when fewer than two are selected.
    std::optional<AnalysisRunOptions> prepareCompare(DialogHost& host);
    // Runs the comparison of the selected trials with `options` (on the desktop's worker thread).
    Comparison runCompare(const AnalysisRunOptions& options) const;
    void finishCompare(DialogHost& host, Comparison result, const AnalysisRunOptions& options);
    // The compared trials' names, in the order of `comparison->designs`.
    std::vector<std::string> comparedNames() const;

    const CStenorDoc& project() const { return module_.work; }

  private:
    bool readTrials(DialogHost& host, std::string_view caption);
    void store(DialogHost& host);
    void buildRows();

    COutputDesignDlg& module_;
    std::vector<int> comparing_;  // the selection a comparison in progress runs over
};

}  // namespace ardelon
