#include "trials/CTrialsDlg.h"

#include <algorithm>

#include "trials/TrialFile.h"
#include "trials/TrialTable.h"

namespace ardelon {
namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string quoted(std::string_view before, const std::string& name, std::string_view after) {
    return std::string(before) + name + std::string(after);
}

// The verdict a cell of the side-by-side table states ("96.2 Pass [95.3, 97.0]"), for its colour.
std::optional<Verdict> statedVerdict(const std::string& cell) {
    for (Verdict v : {Verdict::Pass, Verdict::Fail, Verdict::Undecided}) {
        if (cell.find(" " + std::string(verdictText(v)) + " [") != std::string::npos)
            return v;
    }
    return std::nullopt;
}

}  // namespace

// ----- the name of a trial
// ------------------------------------------------------------------------

CTrialNameDlg::CTrialNameDlg(std::string_view caption, const std::vector<Trial>& trials, int except,
                             std::string initial)
    : name(std::move(initial)), caption_(caption), trials_(trials), except_(except) {}

bool CTrialNameDlg::onOK(DialogHost& host) {
    const std::string typed = trimmed(name);
    if (const std::string refusal = checkTrialName(trials_, typed, except_); !refusal.empty()) {
        host.showMessage(refusal, caption_, MessageIcon::Exclamation);
        host.setFocus(static_cast<int>(Control::Name));
        return false;
    }
    name = typed;
    return true;
}

// ----- the trials of the module ------------------------------------------------------------------

CTrialsDlg::CTrialsDlg(COutputDesignDlg& module) : module_(module) {}

bool CTrialsDlg::readTrials(DialogHost& host, std::string_view caption) {
    std::vector<Trial> kept;
    if (FileResult read = projectTrials(module_.work, kept); !read.ok()) {
        host.showMessage(std::string(kDamagedText) + read.error, caption, MessageIcon::Exclamation);
        return false;
    }
    trials = std::move(kept);
    return true;
}

void CTrialsDlg::store(DialogHost& host) {
    setProjectTrials(module_.work, trials);
    selection.erase(std::remove_if(selection.begin(), selection.end(),
                                   [&](int c) { return c >= static_cast<int>(trials.size()); }),
                    selection.end());
    buildRows();
    host.refresh();
}

std::string CTrialsDlg::defaultName() const {
    const std::string base = defaultTrialName(module_.work);
    std::string name = base;
    for (int n = 2; !checkTrialName(trials, name).empty(); ++n)
        name = base + " (" + std::to_string(n) + ")";
    return name;
}

bool CTrialsDlg::onKeepAsTrial(DialogHost& host) {
    if (!canKeep() || !readTrials(host, CTrialNameDlg::kKeepCaption))
        return false;
    CTrialNameDlg ask(CTrialNameDlg::kKeepCaption, trials, -1, defaultName());
    if (!host.runModal(ask))
        return false;
    ProjectRun run{module_.work, {}};
    run.outcome.status = AnalysisStatus::Completed;
    run.outcome.results = module_.results;
    run.outcome.lists = module_.resultRows;
    trials.push_back(
        makeTrial(ask.name, module_.work, run, *module_.lastSeed, module_.lastRun.startTime));
    store(host);
    return true;
}

void CTrialsDlg::onInitDialog(DialogHost& host) {
    if (!readTrials(host, kCaption))
        trials.clear();
    selection.clear();
    comparison.reset();
    compared.clear();
    buildRows();
    onSelectionChanged(host, {});
}

void CTrialsDlg::onSelectionChanged(DialogHost& host, std::vector<int> columns) {
    std::sort(columns.begin(), columns.end());
    columns.erase(std::unique(columns.begin(), columns.end()), columns.end());
    selection = std::move(columns);
    const std::size_t n = selection.size();
    host.setEnabled(static_cast<int>(Control::LoadTrial), n == 1);
    host.setEnabled(static_cast<int>(Control::RenameTrial), n == 1);
    host.setEnabled(static_cast<int>(Control::DeleteTrial), n >= 1);
    host.setEnabled(static_cast<int>(Control::Compare), n >= 2);
    host.refresh();
}

bool CTrialsDlg::onLoadTrial(DialogHost& host) {
    if (selection.size() != 1)
        return false;
    const Trial& trial = trials[static_cast<std::size_t>(selection.front())];
    if (module_.hasUnsavedChanges()) {
        const std::string text =
            quoted(kLoadOverChangesText[0], trial.name, kLoadOverChangesText[1]);
        if (host.showMessage(text, kLoadCaption, MessageIcon::Question, MessageButtons::YesNo) !=
            MessageAnswer::Yes)
            return false;
    }
    module_.replaceDesign(host, projectWithTrialInputs(module_.work, trial),
                          quoted(kLoadedNote[0], trial.name, kLoadedNote[1]));
    return true;
}

void CTrialsDlg::onRenameTrial(DialogHost& host) {
    if (selection.size() != 1)
        return;
    const int column = selection.front();
    Trial& trial = trials[static_cast<std::size_t>(column)];
    CTrialNameDlg ask(CTrialNameDlg::kRenameCaption, trials, column, trial.name);
    if (!host.runModal(ask) || ask.name == trial.name)
        return;
    trial.name = ask.name;
    store(host);
}

void CTrialsDlg::onDeleteTrials(DialogHost& host) {
    if (selection.empty())
        return;
    std::string names;
    for (int column : selection)
        names +=
            (names.empty() ? "\"" : ", \"") + trials[static_cast<std::size_t>(column)].name + "\"";
    const std::string text = selection.size() == 1
                                 ? std::string(kDeleteOneText) + names.substr(1) + "?"
                                 : std::string(kDeleteManyText) + names + ")?";
    if (host.showMessage(text, kDeleteCaption, MessageIcon::Question, MessageButtons::YesNo) !=
        MessageAnswer::Yes)
        return;
    for (auto it = selection.rbegin(); it != selection.rend(); ++it)
        trials.erase(trials.begin() + *it);
    selection.clear();
    // The comparison's columns are gone or moved: its rows go with it.
    comparison.reset();
    compared.clear();
    comparisonNote.clear();
    store(host);
    onSelectionChanged(host, {});
}

std::optional<AnalysisRunOptions> CTrialsDlg::prepareCompare(DialogHost& host) {
    if (selection.size() < 2) {
        host.showMessage(kCompareTooFewText, kCompareCaption, MessageIcon::Exclamation);
        return std::nullopt;
    }
    AnalysisRunOptions options;
    options.startTime = std::time(nullptr);
    options.seed =
        module_.fixedSeed ? *module_.fixedSeed : static_cast<std::uint32_t>(options.startTime);
    options.cycles = module_.untilSettled ? module_.maxCycles : module_.cycles;
    options.threads = module_.threads;
    options.keepCycleRecords = true;  // the overlay of the distributions draws every cycle
    comparing_ = selection;
    return options;
}

Comparison CTrialsDlg::runCompare(const AnalysisRunOptions& options) const {
    const ResponseModelFactory& models = module_.models();
    const std::vector<int> columns = comparing_;
    const std::size_t count = columns.size();
    // The progress of all designs on one bar: design i's cycles after those of the ones before.
    DesignRunner runner = [&, count](std::size_t index, const AnalysisRunOptions& designOptions) {
        AnalysisRunOptions own = designOptions;
        if (options.progress) {
            own.progress = [&, index, count](int done, int total) {
                options.progress(static_cast<int>(index) * total + done,
                                 static_cast<int>(count) * total);
            };
        }
        const Trial& trial = trials[static_cast<std::size_t>(columns[index])];
        return runProjectAnalysis(trial.inputs, models, own);
    };
    AnalysisRunOptions shared = options;
    shared.progress = nullptr;
    return compareDesigns(count, runner, shared, module_.untilSettled);
}

void CTrialsDlg::finishCompare(DialogHost& host, Comparison result,
                               const AnalysisRunOptions& options) {
    if (result.failed >= 0) {
        const AnalysisRunOutcome& outcome =
            result.designs[static_cast<std::size_t>(result.failed)].run.outcome;
        if (outcome.status != AnalysisStatus::Cancelled) {
            const Trial& trial = trials[static_cast<std::size_t>(
                comparing_[static_cast<std::size_t>(result.failed)])];
            host.showMessage("Trial \"" + trial.name + "\": " + outcome.refusal.text,
                             kCompareCaption, MessageIcon::Exclamation);
        }
        comparing_.clear();
        host.refresh();
        return;
    }
    compared = comparing_;
    comparing_.clear();
    comparisonNote = "Compared from the same draws: seed " + std::to_string(options.seed) + ", " +
                     std::to_string(result.cycles) + " cycles" +
                     (result.settled ? ", every row settled." : ".");
    comparison = std::move(result);
    buildRows();
    host.refresh();
}

std::vector<std::string> CTrialsDlg::comparedNames() const {
    std::vector<std::string> names;
    for (int column : compared)
        names.push_back(trials[static_cast<std::size_t>(column)].name);
    return names;
}

void CTrialsDlg::buildRows() {
    // The table the command line and the workbook show, one column per trial.
    const TrialTable table = sideBySide(trials);
    cheapestPassing = table.cheapestPassing;
    rows.clear();
    for (const std::vector<std::string>& line : table.rows) {
        TrialRow row{line.front(), {}};
        for (std::size_t c = 1; c < line.size(); ++c)
            row.cells.push_back({line[c], statedVerdict(line[c])});
        rows.push_back(std::move(row));
    }
    // The paired differences of the last comparison: each later trial against the first, in
    // the later trial's column.
    if (!comparison || compared.size() < 2)
        return;
    const Trial& first = trials[static_cast<std::size_t>(compared.front())];
    for (std::size_t i = 1; i < compared.size(); ++i) {
        const Trial& second = trials[static_cast<std::size_t>(compared[i])];
        const TrialTable paired = differenceTable(first, second, comparison->differences[i - 1],
                                                  second.lists.rules.confidence);
        for (const std::vector<std::string>& line : paired.rows) {
            const std::string label = line[0] + ": difference from \"" + first.name + "\"";
            auto found = std::find_if(rows.begin(), rows.end(),
                                      [&](const TrialRow& r) { return r.label == label; });
            if (found == rows.end()) {
                rows.push_back({label, std::vector<TrialCell>(trials.size())});
                found = rows.end() - 1;
            }
            found->cells[static_cast<std::size_t>(compared.front())].text = "reference";
            found->cells[static_cast<std::size_t>(compared[i])].text =
                line[3] + " " + line[4] + "  " + line[5];
        }
    }
}

}  // namespace ardelon
