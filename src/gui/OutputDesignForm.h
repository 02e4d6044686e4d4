#pragma once
// "Output & Design Module (F1 for Help)": the form of the Output and Design module and of the
// dialogs it opens (Monte Carlo cycles, the run confirmation, the disclaimer, the cost analysis).
// The Monte Carlo cycles run on a worker thread so that the form keeps painting its progress bar
// and can stop the run; every rule stays in COutputDesignDlg.

#include <QElapsedTimer>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <array>
#include <functional>
#include <optional>
#include <thread>

#include "gui/DesktopDocument.h"
#include "gui/FormSupport.h"
#include "gui/OutputDesignDialogForms.h"
#include "output/COutputDesignDlg.h"
#include "trials/CTrialsDlg.h"

namespace ardelon::gui {

class OutputDesignForm : public FormBase {
    Q_OBJECT
  public:
    using Control = COutputDesignDlg::Control;
    static constexpr const char* kCancelRunText = "Cancel";
    static constexpr const char* kFindThicknessesText = "Find Thicknesses...";

    OutputDesignForm(COutputDesignDlg& dialog, QWidget* parent = nullptr);
    ~OutputDesignForm() override;

    NumberEdit* thicknessEdit(int layer) const { return thickness_[layerIndex(layer)]; }
    QLabel* materialLabel(int layer) const {
        return material_[static_cast<std::size_t>(layer - 1)];
    }
    QPushButton* button(Control control) const;
    QPushButton* cancelRunButton() const { return cancelRun_; }
    QPushButton* findThicknessesButton() const { return findThicknesses_; }
    QPushButton* chartsButton() const { return charts_; }
    static constexpr const char* kExportPdfText = "Export PDF Report...";
    QPushButton* exportPdfButton() const { return exportPdf_; }
    static constexpr const char* kKeepTrialText = "Keep as Trial...";
    static constexpr const char* kTrialsText = "Trials...";
    QPushButton* keepTrialButton() const { return keepTrial_; }
    QPushButton* trialsButton() const { return trialsButton_; }
    CTrialsDlg& trials() { return trials_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* runStatusLabel() const { return runStatus_; }
    QTreeWidget* transferFunctionList() const { return transferFunctionList_; }
    QTreeWidget* percentileList() const { return percentileList_; }
    bool running() const { return worker_.joinable(); }

    void accept() override;  // "Leave Module"
    void reject() override;  // Escape or the close box: discards the working copy

  Q_SIGNALS:
    // A run ended (completed, cancelled or refused) and the form shows its outcome.
    void runEnded();

  private:
    static std::size_t layerIndex(int layer) { return static_cast<std::size_t>(layer - 1); }
    void showMembers() override;
    void readWidgets() override;
    template <typename Handler>
    void run(Handler handler) {
        if (handling_ || running())
            return;
        handling_ = true;
        readWidgets();
        handler();
        showMembers();
        handling_ = false;
    }
    QGroupBox* buildThicknessDesign();
    QGroupBox* buildReliabilityAnalysis();
    QHBoxLayout* buildButtonRow();
    void startAnalysis();
    void showRunProgress();
    void endAnalysis();
    void findThicknesses();
    void setRunning(bool running);
    void exportReport();
    void exportPdfReport();
    void openTrials();
    void stopWorker();

    COutputDesignDlg& dialog_;
    CTrialsDlg trials_;
    QPushButton* keepTrial_ = nullptr;
    QPushButton* trialsButton_ = nullptr;
    bool handling_ = false;
    QLabel* layerCount_ = nullptr;
    std::array<QLabel*, kLayerCount> material_{};
    std::array<NumberEdit*, kThicknessCount> thickness_{};
    QLabel* thicknessUnit_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* exportPdf_ = nullptr;
    QTreeWidget* transferFunctionList_ = nullptr;
    QTreeWidget* percentileList_ = nullptr;
    QPushButton* cancelRun_ = nullptr;
    QPushButton* charts_ = nullptr;
    QLabel* runStatus_ = nullptr;  // progress while a run goes, then how it ended
    QTimer* runTicker_ = nullptr;  // moves the elapsed time on between progress reports
    QElapsedTimer runClock_;
    QVBoxLayout* analysisButtons_ = nullptr;  // Set Monte Carlo Cycles, Perform Analysis, ...
    QHBoxLayout* resultButtons_ = nullptr;    // Cost Analysis, Export, ...
    QPushButton* findThicknesses_ = nullptr;
    std::vector<QWidget*> lockedDuringRun_;

    // The run in progress: its options, the copy of the working copy it works on and, once the
    // worker is done, its outcome (written by the worker before it posts the end of the run).
    std::thread worker_;
    std::optional<AnalysisRunOptions> runOptions_;
    std::optional<CStenorDoc> runWork_;
    std::optional<AnalysisRunOutcome> runOutcome_;
};

// The View Output command's module over `workingCopy` (prepared for the module): true when the
// user left it with "Leave Module".
bool runOutputDesignModule(QWidget* parent, CStenorDoc& workingCopy);

}  // namespace ardelon::gui
