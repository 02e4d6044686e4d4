#pragma once
// "Layer Performance Criteria (Press F1 for Help)" and "Endurance Limit": the forms of the
// criteria dialogs the Structure module opens for a layer.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <array>

#include "criteria/EnduranceLimitDialog.h"
#include "criteria/LayerCriteriaDialog.h"
#include "gui/FormSupport.h"

namespace ardelon::gui {

class LayerCriteriaForm : public FormBase {
    Q_OBJECT
  public:
    LayerCriteriaForm(LayerCriteriaDialog& dialog, QWidget* parent = nullptr);

    QCheckBox* activeCheck(int position) const { return active_[at(position)]; }
    QComboBox* typeList(int position) const { return type_[at(position)]; }
    NumberEdit* thresholdEdit(int position) const { return threshold_[at(position)]; }
    NumberEdit* distributionEdit(int level) const { return distribution_[at(level)]; }
    QPushButton* acceptButton() const { return accept_; }
    void accept() override;

  private:
    static std::size_t at(int i) { return static_cast<std::size_t>(i); }
    void showMembers() override;
    void readWidgets() override;

    LayerCriteriaDialog& dialog_;
    std::array<QCheckBox*, 3> active_{};
    std::array<QComboBox*, 3> type_{};
    std::array<NumberEdit*, 3> threshold_{};
    std::array<QLabel*, 3> unit_{};
    std::array<NumberEdit*, 3> target_{};
    std::array<QCheckBox*, 3> transfer_{};
    std::array<NumberEdit*, 3> k1_{};
    std::array<NumberEdit*, 3> k2_{};
    std::array<NumberEdit*, kDistributionLevels> distribution_{};
    QWidget* distributionBlock_ = nullptr;
    QPushButton* accept_ = nullptr;
};

class EnduranceLimitForm : public FormBase {
    Q_OBJECT
  public:
    EnduranceLimitForm(EnduranceLimitDialog& dialog, QWidget* parent = nullptr);
    NumberEdit* limitEdit() const { return limit_; }
    void accept() override;

  private:
    EnduranceLimitDialog& dialog_;
    NumberEdit* limit_;
};

// Registers the forms of the criteria dialogs for the Structure module's nested dialogs.
void registerCriteriaNestedForms();

}  // namespace ardelon::gui
