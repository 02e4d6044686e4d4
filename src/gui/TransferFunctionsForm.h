#pragma once
// "Transfer Functions (F1 for Help)": the fatigue and rutting coefficients K1 to K4 with the two
// formulas drawn beside their groups.

#include <array>

#include "criteria/TransferFunctionsDialog.h"
#include "gui/FormSupport.h"

namespace ardelon::gui {

class TransferFunctionsForm : public FormBase {
    Q_OBJECT
  public:
    TransferFunctionsForm(TransferFunctionsDialog& dialog, QWidget* parent = nullptr);
    NumberEdit* coefficientEdit(int index) const { return edits_[static_cast<std::size_t>(index)]; }

    void accept() override;

  private:
    void showMembers() override;
    bool readCoefficients();

    TransferFunctionsDialog& dialog_;
    std::array<NumberEdit*, 4> edits_{};
};

// Runs the dialog over `parent` on the project's working copy: the WARNING! box first, then the
// form; true on OK.
bool runTransferFunctions(QWidget* parent, CStenorDoc& workingCopy);

}  // namespace ardelon::gui
