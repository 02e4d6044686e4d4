#pragma once
// "Find Thicknesses": the form of the least-cost thickness search. The search runs on a worker
// thread so that the form keeps painting and Cancel stops it; every rule stays in
// CThicknessSearchDlg.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <array>
#include <optional>
#include <thread>

#include "design/CThicknessSearchDlg.h"
#include "gui/FormSupport.h"
#include "gui/NumberEdit.h"

namespace ardelon::gui {

class ThicknessSearchForm : public FormBase {
    Q_OBJECT
  public:
    using Control = CThicknessSearchDlg::Control;

    ThicknessSearchForm(CThicknessSearchDlg& dialog, QWidget* parent = nullptr);
    ~ThicknessSearchForm() override;

    bool running() const { return worker_.joinable(); }
    QTableWidget* candidateTable() const { return table_; }
    QPushButton* searchButton() const { return search_; }
    QPushButton* useDesignButton() const { return useDesign_; }
    QPushButton* cancelSearchButton() const { return cancelSearch_; }
    QLabel* summaryLabel() const { return summary_; }

    void reject() override;  // Escape or Close: stops a search and hands nothing back

  Q_SIGNALS:
    void searchEnded();

  private:
    void showMembers() override;
    void readWidgets() override;
    void startSearch();
    void endSearch();
    // The inputs are locked while a search runs on them.
    void lockInputs(bool locked);

    CThicknessSearchDlg& dialog_;
    std::array<QCheckBox*, kThicknessCount> vary_{};
    std::array<NumberEdit*, kThicknessCount> min_{}, max_{}, step_{};
    NumberEdit* life_ = nullptr;
    NumberEdit* cycles_ = nullptr;
    NumberEdit* seed_ = nullptr;
    QCheckBox* verify_ = nullptr;
    QPushButton* search_ = nullptr;
    QPushButton* cancelSearch_ = nullptr;
    QPushButton* useDesign_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* summary_ = nullptr;
    std::thread worker_;
    std::optional<ThicknessSearchOptions> options_;
    ThicknessSearchResult searched_;
    std::optional<SearchVerification> verified_;
};

}  // namespace ardelon::gui
