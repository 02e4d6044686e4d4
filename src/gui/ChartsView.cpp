#include "gui/ChartsView.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "charts/FigureCharts.h"
#include "gui/QtDialogHost.h"

namespace ardelon::gui {

namespace {
// Room for the title bar and frame the window manager adds, logical pixels.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 40;
}  // namespace

ChartsView::ChartsView(RunFigures figures, int unitSystem,
                       const std::vector<CriterionSensitivity>& sensitivity, QWidget* parent)
    : QDialog(parent), figures_(std::move(figures)), tabs_(new QTabWidget) {
    setWindowTitle(QStringLiteral("Charts"));
    QList<QChart*> distributions, damage, depth, governing;
    for (const ResponseDistribution& f : figures_.distributions)
        distributions << responseDistributionChart(f, unitSystem);
    for (const DamageOverTime& f : figures_.damage)
        damage << damageChart(f);
    const auto strainRange = commonStrainRange(figures_.depthProfiles);
    for (const DepthProfile& p : figures_.depthProfiles)
        depth << depthProfileChart(p, unitSystem, strainRange);
    for (const LoadShares& s : figures_.loadShares) {
        governing << loadSharesChart(s, unitSystem, false);
        if (s.hasDamage)
            governing << loadSharesChart(s, unitSystem, true);
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
    connect(saveAllButton, &QPushButton::clicked, this, [this] { saveAllInChosenFolder(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    // As large as suits two charts a row, within the screen's free area at any scale.
    QSize size(1200, 820);
    if (const QScreen* shownOn = screen()) {
        const QRect area = shownOn->availableGeometry();
        size = size.boundedTo(QSize(area.width() - kFrameWidth, area.height() - kFrameHeight));
    }
    resize(size);
}

void ChartsView::saveAllInChosenFolder() {
    const std::optional<QString> folder = chooseFile(
        this, {.save = true, .filter = {}, .initialName = {}, .defaultSuffix = {}, .folder = true});
    if (!folder)
        return;
    QStringList existing;
    for (const QString& name : chartFileNames_) {
        if (QFileInfo::exists(QDir(*folder).filePath(name)))
            existing << name;
    }
    if (!existing.isEmpty()) {
        const QString text =
            QStringLiteral("%1 of the %2 pictures are in \"%3\" already (%4). Replace them?")
                .arg(existing.size())
                .arg(chartFileNames_.size())
                .arg(QDir::toNativeSeparators(*folder), existing.front());
        if (showMessageBox(this, {text, QStringLiteral("Save Charts"), MessageIcon::Question,
                                  MessageButtons::YesNo}) != MessageAnswer::Yes)
            return;
    }
    if (saveAll(*folder).isEmpty()) {
        showMessageBox(
            this, {QStringLiteral("Cannot write the pictures into \"%1\".")
                       .arg(QDir::toNativeSeparators(*folder)),
                   QStringLiteral("Save Charts"), MessageIcon::Exclamation, MessageButtons::Ok});
    }
}

void ChartsView::addTab(const QString& name, const QList<QChart*>& charts) {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < charts.size(); ++i) {
        QChartView* view = chartView(charts[i]);
        grid->addWidget(view, i / 2, i % 2);
        charts_ << view;
        chartFileNames_ << chartFileName(name, i + 1, charts[i]->title());
    }
    auto* scroll = new QScrollArea;
    scroll->setWidget(page);
    scroll->setWidgetResizable(true);
    tabs_->addTab(scroll, name);
}

QString chartFileName(const QString& tab, int position, const QString& title) {
    // "what-governs-02-layer-1-bottom-horizontal-strain-share-of-exceedances.png": the tab, the
    // chart's place in it and its title (without the note under it), for a file list that reads.
    QString plain = title.section(QStringLiteral("<br>"), 0, 0);
    QString slug;
    for (const QString& part :
         {tab, QStringLiteral("%1").arg(position, 2, 10, QLatin1Char('0')), plain}) {
        for (QChar c : part.toLower()) {
            if (c.isLetterOrNumber() && c.unicode() < 128)
                slug += c;
            else if (!slug.isEmpty() && !slug.endsWith(QLatin1Char('-')))
                slug += QLatin1Char('-');
        }
        if (!slug.endsWith(QLatin1Char('-')))
            slug += QLatin1Char('-');
    }
    while (slug.endsWith(QLatin1Char('-')))
        slug.chop(1);
    return slug + QStringLiteral(".png");
}

std::vector<CriterionSensitivity> withPlainNames(const CStenorDoc& work,
                                                 std::vector<CriterionSensitivity> sensitivity) {
    for (CriterionSensitivity& criterion : sensitivity) {
        for (InputSensitivity& input : criterion.inputs)
            input.input = plainInputName(work, input.input);
    }
    return sensitivity;
}

void openChartsView(QWidget* parent, const COutputDesignDlg& dialog) {
    QApplication::setOverrideCursor(Qt::WaitCursor);  // a solver call per season
    RunFigures figures = runFigures(dialog.work, dialog.results, dialog.models());
    const std::vector<CriterionSensitivity> sensitivity =
        withPlainNames(dialog.work, runSensitivity(dialog.work, dialog.results));
    QApplication::restoreOverrideCursor();
    ChartsView view(std::move(figures), dialog.work.unitSystem, sensitivity, parent);
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
