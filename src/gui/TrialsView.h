#pragma once
// The "Trials" view of the Output and Design module and the name form of Keep as Trial and
// Rename: one column per kept trial, the cheapest passing one marked, and the overlay of the
// compared trials' distributions. Compare runs on a worker thread with its progress; every rule
// stays in CTrialsDlg.

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTableWidget>
#include <atomic>
#include <optional>
#include <thread>

#include "gui/FormSupport.h"
#include "trials/CTrialsDlg.h"

class QChartView;

namespace ardelon::gui {

class TrialNameForm : public FormBase {
    Q_OBJECT
  public:
    TrialNameForm(CTrialNameDlg& dialog, QWidget* parent = nullptr);
    QLineEdit* nameEdit() const { return name_; }
    void accept() override;

  private:
    CTrialNameDlg& dialog_;
    QLineEdit* name_;
};

class TrialsView : public FormBase {
    Q_OBJECT
  public:
    using Control = CTrialsDlg::Control;
    static constexpr const char* kNoTrialsText =
        "No trials kept yet: after a run, Keep as Trial keeps the design with its results here.";
    static constexpr const char* kHintText =
        "Select a column to load, rename (F2) or delete (Del) its trial; two or more to compare "
        "them from the same random draws.";

    TrialsView(CTrialsDlg& dialog, QWidget* parent = nullptr);
    ~TrialsView() override;

    QTableWidget* table() const { return table_; }
    QPushButton* button(Control control) const;
    QTabWidget* tabs() const { return tabs_; }
    QProgressBar* progressBar() const { return progress_; }
    QLabel* noteLabel() const { return note_; }
    const QList<QChartView*>& overlayCharts() const { return charts_; }
    bool comparing() const { return worker_.joinable(); }
    void reject() override;

  Q_SIGNALS:
    void compareEnded();

  private:
    void showMembers() override;
    void readWidgets() override;
    void selectionChanged();
    void startCompare();
    void endCompare();
    void showOverlays();
    void stopWorker();

    CTrialsDlg& dialog_;
    QTableWidget* table_;
    QTabWidget* tabs_;
    QWidget* overlayPage_;
    QLabel* note_;
    QProgressBar* progress_;
    QPushButton* cancel_;
    QList<QChartView*> charts_;
    bool showing_ = false;

    std::thread worker_;
    std::atomic<bool> cancelRequested_{false};
    std::optional<AnalysisRunOptions> runOptions_;
    std::optional<Comparison> result_;
};

// Registers the name form for Keep as Trial and Rename.
void registerTrialNestedForms();

}  // namespace ardelon::gui
