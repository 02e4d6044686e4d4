#pragma once
// The "Charts" view of a run, opened from the Output and Design module: the response
// distributions against their limits, the damage over time, the strains against depth at mean
// inputs for every season, what governs each criterion and which inputs drive it, one chart per
// criterion row.

#include <QDialog>
#include <QList>
#include <QTabWidget>

#include "figures/FigureData.h"
#include "output/COutputDesignDlg.h"
#include "sensitivity/Sensitivity.h"

class QChart;
class QChartView;

namespace ardelon::gui {

class ChartsView : public QDialog {
    Q_OBJECT
  public:
    // `sensitivity` (of the same run) adds a tab of tornado charts, one per criterion location.
    ChartsView(RunFigures figures, int unitSystem,
               const std::vector<CriterionSensitivity>& sensitivity = {},
               QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    const QList<QChartView*>& charts() const { return charts_; }
    // Writes every chart as NAME.png into `folder` (names from the tab and the chart's position);
    // returns the files written, or an empty list when one cannot be written.
    QStringList saveAll(const QString& folder) const;

  private:
    void addTab(const QString& name, const QList<QChart*>& charts);

    RunFigures figures_;
    QTabWidget* tabs_;
    QList<QChartView*> charts_;
    QStringList chartFileNames_;
};

// Shows the Charts view of the module's last run, modally.
void openChartsView(QWidget* parent, const COutputDesignDlg& dialog);

}  // namespace ardelon::gui
