#pragma once
// "Structural and Seasonal Information   (F1 for Help)": the form of the Structure module, and
// of the Input Variability dialog it opens. The forms copy the widgets into the dialog class's
// members, run its handler and show the members again; all rules live in the dialog classes.

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <array>

#include "gui/FormSupport.h"
#include "structure/CInputVariabilityDlg.h"
#include "structure/CStructureDlg.h"

namespace ardelon::gui {

class StructureForm : public FormBase {
    Q_OBJECT
  public:
    StructureForm(CStructureDlg& dialog, QWidget* parent = nullptr);

    NumberEdit* thicknessEdit(int layer) const { return thickness_[layerIndex(layer)]; }
    NumberEdit* modulusEdit(int layer) const { return modulus_[layerIndex(layer)]; }
    NumberEdit* durationEdit(int season) const {
        return duration_[static_cast<std::size_t>(season)];
    }
    QComboBox* materialList(int layer) const { return material_[layerIndex(layer)]; }
    QComboBox* currentSeasonList() const { return currentSeason_; }
    QLabel* weeksTotalLabel() const { return weeksTotal_; }
    QPushButton* acceptButton() const { return accept_; }

    void accept() override;

  protected:
    // Layer 1 thickness, the input a designer changes most.
    NumberEdit* initialField() const override { return thickness_[0]; }

  private:
    static std::size_t layerIndex(int layer) { return static_cast<std::size_t>(layer - 1); }
    void showMembers() override;
    void readWidgets() override;

    CStructureDlg& dialog_;
    std::array<QComboBox*, kLayerCount> material_{};
    std::array<QComboBox*, kThicknessCount> pgHigh_{};
    std::array<QComboBox*, kThicknessCount> pgLow_{};
    std::array<QLabel*, kLayerCount> minModulus_{};
    std::array<QLabel*, kLayerCount> maxModulus_{};
    std::array<NumberEdit*, kLayerCount> modulus_{};
    std::array<NumberEdit*, kLayerCount> poisson_{};
    std::array<QLabel*, kLayerCount> poissonRange_{};
    std::array<NumberEdit*, kThicknessCount> thickness_{};
    std::array<QPushButton*, kLayerCount> variability_{};
    std::array<QPushButton*, kLayerCount> criteria_{};
    std::array<QLabel*, 3> modulusUnits_{};
    QLabel* thicknessUnit_ = nullptr;
    QLabel* temperatureHeading_ = nullptr;
    QButtonGroup* layerCount_ = nullptr;
    std::array<QCheckBox*, kSeasonCount> seasonCheck_{};  // Summer has none
    std::array<NumberEdit*, kSeasonCount> duration_{};
    std::array<NumberEdit*, kSeasonCount> temperature_{};
    QComboBox* currentSeason_ = nullptr;
    QLabel* weeksTotal_ = nullptr;  // running total of the durations
    QCheckBox* temperatureCorrection_ = nullptr;
    QPushButton* accept_ = nullptr;
};

class InputVariabilityForm : public FormBase {
    Q_OBJECT
  public:
    InputVariabilityForm(CInputVariabilityDlg& dialog, QWidget* parent = nullptr);
    NumberEdit* modulusCovEdit() const { return modulusCov_; }
    void accept() override;

  private:
    void showMembers() override;
    void readWidgets() override;

    CInputVariabilityDlg& dialog_;
    QComboBox* modulusDistribution_;
    NumberEdit* modulusCov_;
    QComboBox* thicknessDistribution_;
    NumberEdit* thicknessCov_;
};

// The Structure command's module: true when the user accepted it.
bool runStructureModule(QWidget* parent, CStenorDoc& workingCopy);
// Registers the Input Variability form for the dialogs the Structure module opens.
void registerStructureNestedForms();

}  // namespace ardelon::gui
