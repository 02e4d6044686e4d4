#pragma once
// "Output & Design Module (F1 for Help)": the form of the Output and Design module and of the
// dialogs it opens (Monte Carlo cycles, the run confirmation, the disclaimer, the cost analysis).
// The Monte Carlo cycles run on a worker thread so that the form keeps painting its progress bar
// and can stop the run; every rule stays in COutputDesignDlg.

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>
#include <QUrl>
#include <array>
#include <functional>
#include <optional>
#include <thread>

#include "gui/FormSupport.h"
#include "reliability/CCostAnalysisDlg.h"
#include "reliability/COutputDesignDlg.h"

namespace ardelon::gui {

// Opens a written document with the program the desktop registers for it; replaceable so that
// tests open nothing. Returns whether a program was started.
using OpenDocumentHandler = std::function<bool(const QUrl& document)>;
void setOpenDocumentHandler(OpenDocumentHandler handler);  // empty: the desktop's
bool openDocument(const QUrl& document);

class OutputDesignForm : public FormBase {
    Q_OBJECT
  public:
    using Control = COutputDesignDlg::Control;
    static constexpr const char* kCancelRunText = "Cancel";

    OutputDesignForm(COutputDesignDlg& dialog, QWidget* parent = nullptr);
    ~OutputDesignForm() override;

    NumberEdit* thicknessEdit(int layer) const { return thickness_[at(layer)]; }
    QLabel* materialLabel(int layer) const {
        return material_[static_cast<std::size_t>(layer - 1)];
    }
    QPushButton* button(Control control) const;
    QPushButton* cancelRunButton() const { return cancelRun_; }
    QPushButton* chartsButton() const { return charts_; }
    QProgressBar* progressBar() const { return progress_; }
    QTreeWidget* transferFunctionList() const { return transferFunctionList_; }
    QTreeWidget* percentileList() const { return percentileList_; }
    bool running() const { return worker_.joinable(); }

    void accept() override;  // "Leave Module"
    void reject() override;  // Escape or the close box: discards the working copy

  Q_SIGNALS:
    // A run ended (completed, cancelled or refused) and the form shows its outcome.
    void runEnded();

  private:
    static std::size_t at(int layer) { return static_cast<std::size_t>(layer - 1); }
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
    void startAnalysis();
    void endAnalysis();
    void setRunning(bool running);
    void exportReport();
    void stopWorker();

    COutputDesignDlg& dialog_;
    bool handling_ = false;
    QLabel* layerCount_ = nullptr;
    std::array<QLabel*, kLayerCount> material_{};
    std::array<NumberEdit*, kThicknessCount> thickness_{};
    QLabel* thicknessUnit_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTreeWidget* transferFunctionList_ = nullptr;
    QTreeWidget* percentileList_ = nullptr;
    QPushButton* cancelRun_ = nullptr;
    QPushButton* charts_ = nullptr;
    std::vector<QWidget*> lockedDuringRun_;

    // The run in progress: its options, the copy of the working copy it works on and, once the
    // worker is done, its outcome (written by the worker before it posts the end of the run).
    std::thread worker_;
    std::optional<AnalysisRunOptions> runOptions_;
    std::optional<CStenorDoc> runWork_;
    std::optional<AnalysisRunOutcome> runOutcome_;
};

class MonteCarloCyclesForm : public FormBase {
    Q_OBJECT
  public:
    MonteCarloCyclesForm(CMonteCarloCyclesDlg& dialog, QWidget* parent = nullptr);
    NumberEdit* cyclesEdit() const { return cycles_; }
    void accept() override;

  private:
    CMonteCarloCyclesDlg& dialog_;
    NumberEdit* cycles_;
};

class PleaseNoteForm : public FormBase {
    Q_OBJECT
  public:
    PleaseNoteForm(CPleaseNoteDlg& dialog, QWidget* parent = nullptr);
    QCheckBox* doNotWarnBox() const { return doNotWarn_; }
    void accept() override;

  private:
    CPleaseNoteDlg& dialog_;
    QCheckBox* doNotWarn_;
};

class CostAnalysisForm : public FormBase {
    Q_OBJECT
  public:
    using Control = CCostAnalysisDlg::Control;
    CostAnalysisForm(CCostAnalysisDlg& dialog, QWidget* parent = nullptr);
    NumberEdit* laneWidthEdit() const { return laneWidth_; }
    NumberEdit* densityEdit(int layer) const {
        return density_[static_cast<std::size_t>(layer - 1)];
    }
    NumberEdit* costPerTonEdit(int layer) const {
        return costPerTon_[static_cast<std::size_t>(layer - 1)];
    }
    QLineEdit* layerCostEdit(int layer) const {
        return layerCost_[static_cast<std::size_t>(layer - 1)];
    }
    QLineEdit* totalEdit() const { return total_; }
    QPushButton* calculateButton() const { return calculate_; }
    void accept() override;

  private:
    void showMembers() override;
    void readWidgets() override;

    CCostAnalysisDlg& dialog_;
    NumberEdit* laneWidth_;
    std::array<NumberEdit*, kThicknessCount> density_{};
    std::array<NumberEdit*, kThicknessCount> costPerTon_{};
    std::array<QLineEdit*, kThicknessCount> layerCost_{};
    QLineEdit* total_;
    QPushButton* calculate_;
    std::array<QLabel*, 4> units_{};
};

// The View Output command's module over `workingCopy` (prepared for the module): true when the
// user left it with "Leave Module".
bool runOutputDesignModule(QWidget* parent, CStenorDoc& workingCopy);
// Registers the forms of the dialogs the module opens.
void registerOutputDesignNestedForms();

}  // namespace ardelon::gui
