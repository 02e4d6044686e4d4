#pragma once
// The traffic forms: the Load Spectra module ("Loading Conditions (F1 for Help)") with its 56
// bin edits in five columns, and the ESAL Data dialog. Thin forms over CLoadingConditionsDlg
// and CEsalDataDlg: widgets into members, the handler, members back into widgets.

#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <array>

#include "gui/FormSupport.h"
#include "traffic/CEsalDataDlg.h"
#include "traffic/CLoadingConditionsDlg.h"
#include "traffic/CVehicleTypeDlg.h"
#include "traffic/VehicleTypes.h"

namespace ardelon::gui {

class LoadSpectraForm : public FormBase {
    Q_OBJECT
  public:
    LoadSpectraForm(CLoadingConditionsDlg& dialog, QWidget* parent = nullptr);

    NumberEdit* binEdit(int bin) const { return bins_[static_cast<std::size_t>(bin)]; }
    NumberEdit* aadtEdit() const { return aadt_; }
    NumberEdit* percentTrucksEdit() const { return percentTrucks_; }
    QLabel* totalField() const { return total_; }
    QCheckBox* configurationCheck(int c) const { return checks_[static_cast<std::size_t>(c)]; }
    QPushButton* acceptButton() const { return accept_; }
    // The load spectra as a bar chart, following the bins as they are edited.
    QChartView* spectraChart() const { return spectraChart_; }

    void accept() override;

  private:
    void showMembers() override;
    void readWidgets() override;

    CLoadingConditionsDlg& dialog_;
    NumberEdit* aadt_;
    NumberEdit* percentTrucks_;
    NumberEdit* truckGrowth_;
    NumberEdit* axleGroups_;
    NumberEdit* designLane_;
    NumberEdit* directional_;
    std::array<QCheckBox*, kConfigurationCount> checks_{};
    std::array<NumberEdit*, kConfigurationCount> percents_{};
    QComboBox* current_;
    std::array<QLabel*, kBinCount> binLabels_{};
    std::array<NumberEdit*, kBinCount> bins_{};
    QLabel* total_;
    QPushButton* accept_;
    QChartView* spectraChart_;
};

class EsalDataForm : public FormBase {
    Q_OBJECT
  public:
    EsalDataForm(CEsalDataDlg& dialog, QWidget* parent = nullptr);
    NumberEdit* esalsEdit() const { return esals_; }
    QPushButton* okButton() const { return ok_; }
    void accept() override;

  private:
    CEsalDataDlg& dialog_;
    NumberEdit* esals_;
    QPushButton* ok_;
};

// "Vehicle Type Distribution (Press F1 for Help)", opened from the Load Spectra module.
class VehicleTypeForm : public FormBase {
    Q_OBJECT
  public:
    VehicleTypeForm(CVehicleTypeDlg& dialog, QWidget* parent = nullptr);
    NumberEdit* valueEdit(int index) const { return values_[static_cast<std::size_t>(index)]; }
    QComboBox* roadClassList() const { return roadClass_; }
    QLabel* totalField() const { return total_; }
    QPushButton* acceptButton() const { return accept_; }
    void accept() override;

  private:
    void showMembers() override;
    void readWidgets() override;

    CVehicleTypeDlg& dialog_;
    QComboBox* roadClass_;
    std::array<NumberEdit*, kVehicleTypeValueCount> values_{};
    QLabel* total_;
    QPushButton* accept_;
};

// Registers the vehicle type form for the Load Spectra module's nested dialog.
void registerTrafficNestedForms();

bool runLoadSpectraModule(QWidget* parent, CStenorDoc& workingCopy);
bool runEsalData(QWidget* parent, CStenorDoc& workingCopy);

}  // namespace ardelon::gui
