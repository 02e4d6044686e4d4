#include "gui/ChartsView.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "charts/FigureCharts.h"

namespace ardelon::gui {

ChartsView::ChartsView(RunFigures figures, int unitSystem,
                       const std::vector<CriterionSensitivity>& sensitivity, QWidget* parent)
    : QDialog(parent), figures_(std::move(figures)), tabs_(new QTabWidget) {
    setWindowTitle(QStringLiteral("Charts"));
    QList<QChart*> distributions, damage, depth, governing;
    for (const ResponseDistribution& f : figures_.distributions)
        distributions << responseDistributionChart(f);
    for (const DamageOverTime& f : figures_.damage)
        damage << damageChart(f);
    for (const DepthProfile& p : figures_.depthProfiles)
        depth << depthProfileChart(p, unitSystem);
    for (const LoadShares& s : figures_.loadShares) {
        governing << loadSharesChart(s, figures_.spectra, false);
        if (s.hasDamage)
            governing << loadSharesChart(s, figures_.spectra, true);
    }
    addTab(QStringLiteral("Response Distributions"), distributions);
    addTab(QStringLiteral("Damage over Time"), damage);
    addTab(QStringLiteral("Strains with Depth"), depth);
    addTab(QStringLiteral("What Governs"), governing);
    QList<QChart*> drivers;
    for (const CriterionSensitivity& s : sensitivity) {
        for (const LoadShares& row : figures_.loadShares) {
            if (row.name.slot == s.slot) {
                drivers << sensitivityChart(s, row.name);
                break;
            }
        }
    }
    if (!drivers.isEmpty())
        addTab(QStringLiteral("Sensitivity"), drivers);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    auto* saveAllButton =
        buttons->addButton(QStringLiteral("Save All as PNG..."), QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(saveAllButton, &QPushButton::clicked, this, [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, QStringLiteral("Save Charts in Folder"));
        if (!folder.isEmpty() && saveAll(folder).isEmpty()) {
            QMessageBox::warning(
                this, QStringLiteral("Save Charts"),
                QStringLiteral("Cannot write the pictures into \"%1\".").arg(folder));
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    resize(980, 720);
}

void ChartsView::addTab(const QString& name, const QList<QChart*>& charts) {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    QString stem = name.toLower();
    stem.replace(QLatin1Char(' '), QLatin1Char('-'));
    for (int i = 0; i < charts.size(); ++i) {
        QChartView* view = chartView(charts[i]);
        grid->addWidget(view, i / 2, i % 2);
        charts_ << view;
        chartFileNames_ << QStringLiteral("%1-%2.png").arg(stem).arg(i + 1);
    }
    auto* scroll = new QScrollArea;
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    tabs_->addTab(scroll, name);
}

void openChartsView(QWidget* parent, const COutputDesignDlg& dialog) {
    QApplication::setOverrideCursor(Qt::WaitCursor);  // a solver call per season
    RunFigures figures = runFigures(dialog.work, dialog.results, dialog.models());
    QApplication::restoreOverrideCursor();
    ChartsView view(std::move(figures), dialog.work.unitSystem,
                    runSensitivity(dialog.work, dialog.results), parent);
    view.exec();
}

QStringList ChartsView::saveAll(const QString& folder) const {
    QStringList written;
    for (int i = 0; i < charts_.size(); ++i) {
        const QString path = QDir(folder).filePath(chartFileNames_[i]);
        if (!saveChartPng(charts_[i], path))
            return {};
        written << path;
    }
    return written;
}

}  // namespace ardelon::gui
