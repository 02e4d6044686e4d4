#pragma once
// The forms of the dialogs the Output and Design module opens: the Monte Carlo cycles, the run
// confirmation and the cost analysis.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "gui/FormSupport.h"
#include "output/CCostAnalysisDlg.h"
#include "output/CMonteCarloCyclesDlg.h"
#include "output/COutputDesignDlg.h"
#include "output/CPleaseNoteDlg.h"

namespace ardelon::gui {

class MonteCarloCyclesForm : public FormBase {
    Q_OBJECT
  public:
    MonteCarloCyclesForm(CMonteCarloCyclesDlg& dialog, QWidget* parent = nullptr);
    NumberEdit* cyclesEdit() const { return cycles_; }
    QLineEdit* seedEdit() const { return seed_; }
    QCheckBox* untilSettledBox() const { return untilSettled_; }
    NumberEdit* maxCyclesEdit() const { return maxCycles_; }
    void accept() override;

  private:
    CMonteCarloCyclesDlg& dialog_;
    NumberEdit* cycles_;
    QLineEdit* seed_;
    QCheckBox* untilSettled_;
    NumberEdit* maxCycles_;
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

// Registers the forms of the dialogs the module opens.
void registerOutputDesignNestedForms();

}  // namespace ardelon::gui
