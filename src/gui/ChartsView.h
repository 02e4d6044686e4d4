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
    // Writes every chart as a picture at least 1600 pixels wide into `folder`, named after its
    // tab, its position and its title; returns the files written, or an empty list when one
    // cannot be written.
    QStringList saveAll(const QString& folder) const;
    const QStringList& chartFileNames() const { return chartFileNames_; }
    // "Save All as PNG...": asks for the folder, and before replacing pictures already there.
    void saveAllInChosenFolder();

  private:
    void addTab(const QString& name, const QList<QChart*>& charts);

    RunFigures figures_;
    QTabWidget* tabs_;
    QList<QChartView*> charts_;
    QStringList chartFileNames_;
};

// "what-governs-02-layer-1-bottom-horizontal-strain-share-of-exceedances.png".
QString chartFileName(const QString& tab, int position, const QString& title);

// The measures with their inputs named as an engineer names them ("Subgrade modulus E4").
std::vector<CriterionSensitivity> withPlainNames(const CStenorDoc& work,
                                                 std::vector<CriterionSensitivity> sensitivity);

// Shows the Charts view of the module's last run, modally.
void openChartsView(QWidget* parent, const COutputDesignDlg& dialog);

}  // namespace ardelon::gui
