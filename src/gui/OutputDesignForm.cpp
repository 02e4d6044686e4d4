#include "gui/OutputDesignForm.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "gui/ChartsView.h"
#include "gui/InfoDialogs.h"
#include "gui/MainWindow.h"
#include "reliability/SolverResponseModel.h"
#include "reports/FormattedReport.h"

namespace ardelon::gui {
namespace {

OpenDocumentHandler& openDocumentHandler() {
    static OpenDocumentHandler handler;
    return handler;
}

QLabel* readOnlyField(int minimumWidth) {
    auto* label = new QLabel;
    label->setFrameShape(QFrame::StyledPanel);
    label->setFrameShadow(QFrame::Sunken);
    label->setMinimumWidth(minimumWidth);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QTreeWidget* reportList() {
    auto* list = new QTreeWidget;
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setColumnCount(0);
    list->setHeaderLabels({});
    list->header()->setStretchLastSection(false);
    list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return list;
}

// Shows the columns and rows the dialog filled; no columns before the first run.
void showList(QTreeWidget* widget, const ReportListView& list) {
    widget->clear();
    QStringList headings;
    for (const ListColumn& column : list.columns)
        headings << toQString(column.heading);
    widget->setColumnCount(static_cast<int>(headings.size()));
    widget->setHeaderLabels(headings);
    widget->header()->setVisible(!headings.isEmpty());
    for (std::size_t c = 0; c < list.columns.size(); ++c)
        widget->setColumnWidth(static_cast<int>(c), list.columns[c].widthPixels);
    for (const auto& row : list.rows) {
        QStringList texts;
        for (const std::string& cell : row)
            texts << toQString(cell);
        widget->addTopLevelItem(new QTreeWidgetItem(texts));
    }
}

QGroupBox* listBox(const char* title, QTreeWidget* list) {
    auto* box = new QGroupBox(QString::fromLatin1(title));
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(list);
    return box;
}

}  // namespace

void setOpenDocumentHandler(OpenDocumentHandler handler) {
    openDocumentHandler() = std::move(handler);
}

bool openDocument(const QUrl& document) {
    if (openDocumentHandler())
        return openDocumentHandler()(document);
    return QDesktopServices::openUrl(document);
}

// ----- the module's form ------------------------------------------------------------------------

OutputDesignForm::OutputDesignForm(COutputDesignDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setWindowTitle(toQString(COutputDesignDlg::kCaption));
    if (!dialog_.exportReport)
        dialog_.exportReport = [](const CStenorDoc& work, const AnalysisResults& results,
                                  const std::string& path, const RunInfo& run) {
            return exportFormattedReport(work, results, path, run);
        };

    // Thickness Design: layer count, materials and the thicknesses of the upper layers.
    auto* design = new QGroupBox(QStringLiteral("Thickness Design"));
    auto* grid = new QGridLayout(design);
    grid->addWidget(new QLabel(QStringLiteral("Number of Pavement Layers:")), 0, 0, 1, 2);
    layerCount_ = bound(Control::LayerCount, readOnlyField(40));
    grid->addWidget(layerCount_, 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Material")), 2, 0);
    auto* thicknessLabel = new QLabel(QStringLiteral("Thickness, "));
    thicknessUnit_ = bound(Control::ThicknessUnit, new QLabel);
    auto* thicknessHead = new QHBoxLayout;
    thicknessHead->setSpacing(0);
    thicknessHead->addWidget(thicknessLabel);
    thicknessHead->addWidget(thicknessUnit_);
    thicknessHead->addStretch();
    grid->addLayout(thicknessHead, 3, 0);
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        auto* head = new QLabel(QStringLiteral("Layer %1").arg(layer));
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 1, layer);
        material_[static_cast<std::size_t>(layer - 1)] =
            bound(static_cast<Control>(static_cast<int>(Control::Material1) + layer - 1),
                  readOnlyField(60));
        grid->addWidget(material_[static_cast<std::size_t>(layer - 1)], 2, layer);
    }
    for (int layer = 1; layer <= kThicknessCount; ++layer) {
        NumberEdit* edit =
            numberEdit(static_cast<Control>(static_cast<int>(Control::Thickness1) + layer - 1));
        edit->setMaximumWidth(80);
        thickness_[at(layer)] = edit;
        grid->addWidget(edit, 3, layer);
        connect(edit, &NumberEdit::committed, this,
                [this, layer] { run([&] { dialog_.onThicknessKillFocus(host(), layer); }); });
        connect(edit, &NumberEdit::entered, this,
                [this, layer] { run([&] { dialog_.onThicknessSetFocus(host(), layer); }); });
    }
    auto* infinite = new QLabel(QStringLiteral("Infinite"));
    infinite->setAlignment(Qt::AlignCenter);
    grid->addWidget(infinite, 3, kLayerCount);

    // Reliability Analysis: the number of cycles and the run.
    auto* analysis = new QGroupBox(QStringLiteral("Reliability Analysis"));
    auto* analysisLayout = new QVBoxLayout(analysis);
    auto* setCycles = bound(Control::SetMonteCarloCycles,
                            new QPushButton(QStringLiteral("Set Monte Carlo Cycles")));
    auto* perform =
        bound(Control::PerformAnalysis, new QPushButton(QStringLiteral("Perform Analysis")));
    cancelRun_ = new QPushButton(QString::fromLatin1(kCancelRunText));
    cancelRun_->setObjectName(QStringLiteral("cancelRun"));
    cancelRun_->setEnabled(false);
    analysisLayout->addWidget(setCycles);
    analysisLayout->addWidget(perform);
    analysisLayout->addWidget(cancelRun_);
    connect(setCycles, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.onSetMonteCarloCycles(host()); }); });
    connect(perform, &QPushButton::clicked, this, [this] { startAnalysis(); });
    connect(cancelRun_, &QPushButton::clicked, this, [this] { dialog_.cancelRequested = true; });

    auto* top = new QHBoxLayout;
    top->addWidget(design, 2);
    top->addWidget(analysis, 1);

    progress_ = bound(Control::Progress, new QProgressBar);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(14);
    progress_->setRange(0, dialog_.cycles);
    progress_->setValue(0);

    transferFunctionList_ = bound(Control::TransferFunctionList, reportList());
    percentileList_ = bound(Control::PercentileList, reportList());
    transferFunctionList_->setMinimumHeight(110);
    transferFunctionList_->setMaximumHeight(150);
    percentileList_->setMinimumHeight(200);

    auto* disclaimer = bound(Control::Disclaimer, new QPushButton(QStringLiteral("Disclaimer")));
    auto* cost = bound(Control::CostAnalysis, new QPushButton(QStringLiteral("Cost Analysis")));
    auto* exportExcel = bound(Control::ExportExcel,
                              new QPushButton(QStringLiteral("Export Formatted Data to EXCEL")));
    charts_ = new QPushButton(QStringLiteral("Charts"));
    charts_->setToolTip(QStringLiteral("Charts of the last run"));
    connect(charts_, &QPushButton::clicked, this, [this] { openChartsView(this, dialog_); });
    auto* leave = bound(Control::LeaveModule, new QPushButton(QStringLiteral("Leave Module")));
    leave->setDefault(true);
    connect(disclaimer, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.onDisclaimer(host()); }); });
    connect(cost, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.onCostAnalysis(host()); }); });
    connect(exportExcel, &QPushButton::clicked, this, [this] { exportReport(); });
    connect(leave, &QPushButton::clicked, this, &OutputDesignForm::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(disclaimer);
    buttons->addStretch();
    buttons->addWidget(cost);
    buttons->addWidget(exportExcel);
    buttons->addWidget(charts_);
    buttons->addStretch();
    buttons->addWidget(leave);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(progress_);
    layout->addWidget(
        listBox("Perpetual Pavement Design Results: Conventional Design with "
                "Transfer Functions",
                transferFunctionList_));
    layout->addWidget(
        listBox("Perpetual Pavement Design Results: Percentile Responses", percentileList_), 1);
    layout->addLayout(buttons);

    lockedDuringRun_ = {setCycles, perform, disclaimer, cost, exportExcel, leave};
    for (NumberEdit* edit : thickness_)
        lockedDuringRun_.push_back(edit);

    dialog_.onInitDialog(host());
    showMembers();
    resize(1060, 700);
}

OutputDesignForm::~OutputDesignForm() {
    stopWorker();
}

void OutputDesignForm::stopWorker() {
    if (worker_.joinable()) {
        dialog_.cancelRequested = true;
        worker_.join();
    }
}

QPushButton* OutputDesignForm::button(Control control) const {
    return qobject_cast<QPushButton*>(
        const_cast<OutputDesignForm*>(this)->host().control(static_cast<int>(control)));
}

void OutputDesignForm::showMembers() {
    layerCount_->setText(toQString(dialog_.layerCountText));
    for (std::size_t i = 0; i < material_.size(); ++i)
        material_[i]->setText(toQString(dialog_.materialNames[i]));
    thicknessUnit_->setText(toQString(dialog_.thicknessUnit));
    for (int layer = 1; layer <= kThicknessCount; ++layer) {
        // The edit being typed in keeps its text; the others show the working copy.
        NumberEdit* edit = thickness_[at(layer)];
        edit->setNumber(dialog_.work.thickness[at(layer)]);
    }
    button(Control::ExportExcel)->setEnabled(dialog_.exportEnabled && !running());
    charts_->setEnabled(dialog_.exportEnabled && !running());
    showList(transferFunctionList_, dialog_.transferFunctionList);
    showList(percentileList_, dialog_.percentileList);
}

void OutputDesignForm::readWidgets() {
    for (int layer = 1; layer <= kThicknessCount; ++layer) {
        if (!thickness_[at(layer)]->isEnabled())
            continue;
        if (auto value = thickness_[at(layer)]->number())
            dialog_.work.thickness[at(layer)] = *value;
    }
}

void OutputDesignForm::setRunning(bool runningNow) {
    for (QWidget* widget : lockedDuringRun_)
        widget->setEnabled(!runningNow);
    if (!runningNow) {
        // Back to what the rules enable: the thicknesses of the layers that exist, the export
        // after a completed run.
        for (int layer = 1; layer <= kThicknessCount; ++layer)
            thickness_[at(layer)]->setEnabled(layer <= dialog_.work.layerCountIndex + 1);
        button(Control::ExportExcel)->setEnabled(dialog_.exportEnabled);
    }
    charts_->setEnabled(dialog_.exportEnabled && !runningNow);
    cancelRun_->setEnabled(runningNow);
}

void OutputDesignForm::startAnalysis() {
    if (handling_ || running())
        return;
    handling_ = true;
    readWidgets();
    runOptions_ = dialog_.prepareAnalysis(host());
    handling_ = false;
    if (!runOptions_) {
        showMembers();
        return;
    }
    progress_->setRange(0, runOptions_->cycles);
    progress_->setValue(0);
    // Progress comes from the worker thread; the bar is moved on the form's thread.
    runOptions_->progress = [this](int done, int total) {
        QMetaObject::invokeMethod(
            this,
            [this, done, total] {
                progress_->setRange(0, total);
                progress_->setValue(done);
            },
            Qt::QueuedConnection);
    };
    runWork_ = dialog_.work;
    runOutcome_.reset();
    setRunning(true);
    worker_ = std::thread([this] {
        AnalysisRunOutcome outcome = runAnalysis(*runWork_, dialog_.models(), *runOptions_);
        runOutcome_ = std::move(outcome);
        QMetaObject::invokeMethod(
            this, [this] { endAnalysis(); }, Qt::QueuedConnection);
    });
}

void OutputDesignForm::endAnalysis() {
    if (worker_.joinable())
        worker_.join();
    handling_ = true;
    const bool completed = runOutcome_->status == AnalysisStatus::Completed;
    dialog_.finishAnalysis(host(), std::move(*runOutcome_), *runOptions_, std::move(*runWork_));
    if (completed)
        progress_->setValue(runOptions_->cycles);  // a completed run fills the bar
    else
        progress_->setValue(0);
    runOutcome_.reset();
    runWork_.reset();
    runOptions_.reset();
    handling_ = false;
    setRunning(false);
    showMembers();
    Q_EMIT runEnded();
}

void OutputDesignForm::exportReport() {
    if (handling_ || running())
        return;
    handling_ = true;
    readWidgets();
    const std::optional<std::string> path = dialog_.onExportExcel(host());
    if (path && !openDocument(QUrl::fromLocalFile(QString::fromStdString(*path)))) {
        host().showMessage(
            "The workbook " + *path + " was written, but no program is registered to open it.",
            COutputDesignDlg::kExportFailedCaption, MessageIcon::Information);
    }
    handling_ = false;
    showMembers();
}

void OutputDesignForm::accept() {
    if (running())
        return;  // the run must end (or be cancelled) first
    if (!validateNumberEdits())
        return;
    readWidgets();
    if (dialog_.onLeaveModule(host()))
        QDialog::accept();
}

void OutputDesignForm::reject() {
    stopWorker();
    QDialog::reject();
}

// ----- Monte Carlo Cycles -----------------------------------------------------------------------

MonteCarloCyclesForm::MonteCarloCyclesForm(CMonteCarloCyclesDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setWindowTitle(toQString(CMonteCarloCyclesDlg::kCaption));
    cycles_ = new NumberEdit(NumberEdit::Kind::Integer);
    cycles_->setObjectName(QStringLiteral("cycles"));
    cycles_->setInteger(dialog_.cycles);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &MonteCarloCyclesForm::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(toQString(CMonteCarloCyclesDlg::kLabel)));
    row->addWidget(cycles_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancelButton(QStringLiteral("Cancel")));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
}

void MonteCarloCyclesForm::accept() {
    if (!validateNumberEdits())
        return;
    if (auto value = cycles_->integer())
        dialog_.cycles = *value;
    QDialog::accept();
}

// ----- Please Note... ---------------------------------------------------------------------------

PleaseNoteForm::PleaseNoteForm(CPleaseNoteDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setWindowTitle(toQString(CPleaseNoteDlg::kCaption));
    auto* layout = new QVBoxLayout(this);
    for (std::string_view line : CPleaseNoteDlg::kLines)
        layout->addWidget(new QLabel(toQString(line)));
    doNotWarn_ = new QCheckBox(toQString(CPleaseNoteDlg::kCheckBoxText));
    doNotWarn_->setChecked(dialog_.doNotWarn);
    layout->addWidget(doNotWarn_);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &PleaseNoteForm::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancelButton(QStringLiteral("Cancel")));
    layout->addLayout(buttons);
}

void PleaseNoteForm::accept() {
    dialog_.doNotWarn = doNotWarn_->isChecked();
    QDialog::accept();
}

// ----- Cost Analysis ----------------------------------------------------------------------------

CostAnalysisForm::CostAnalysisForm(CCostAnalysisDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setWindowTitle(toQString(CCostAnalysisDlg::kCaption));
    auto* grid = new QGridLayout;
    auto* laneRow = new QHBoxLayout;
    laneWidth_ = numberEdit(Control::LaneWidth);
    laneWidth_->setMaximumWidth(70);
    units_[0] = new QLabel;
    laneRow->addWidget(new QLabel(QStringLiteral("Lane Width")));
    laneRow->addWidget(laneWidth_);
    laneRow->addWidget(units_[0]);
    laneRow->addStretch();
    const QStringList heads{QStringLiteral("Approx. Density"), QStringLiteral("Cost ($) per Ton"),
                            QStringLiteral("Cost ($) per")};
    for (int c = 0; c < 3; ++c) {
        auto* head = new QLabel(heads[c]);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, c + 1);
        units_[static_cast<std::size_t>(c + 1)] = new QLabel;
        units_[static_cast<std::size_t>(c + 1)]->setAlignment(Qt::AlignCenter);
        grid->addWidget(units_[static_cast<std::size_t>(c + 1)], 1, c + 1);
    }
    for (int layer = 1; layer <= kThicknessCount; ++layer) {
        const auto i = static_cast<std::size_t>(layer - 1);
        grid->addWidget(new QLabel(QStringLiteral("Layer %1").arg(layer)), layer + 1, 0);
        density_[i] =
            numberEdit(static_cast<Control>(static_cast<int>(Control::Density1) + layer - 1));
        costPerTon_[i] =
            numberEdit(static_cast<Control>(static_cast<int>(Control::CostPerTon1) + layer - 1));
        layerCost_[i] = bound(
            static_cast<Control>(static_cast<int>(Control::LayerCost1) + layer - 1), new QLineEdit);
        layerCost_[i]->setReadOnly(true);
        grid->addWidget(density_[i], layer + 1, 1);
        grid->addWidget(costPerTon_[i], layer + 1, 2);
        grid->addWidget(layerCost_[i], layer + 1, 3);
    }
    calculate_ = bound(Control::Calculate, new QPushButton(QStringLiteral("Calculate")));
    total_ = bound(Control::Total, new QLineEdit);
    total_->setReadOnly(true);
    grid->addWidget(calculate_, kThicknessCount + 2, 1);
    auto* totalLabel = new QLabel(QStringLiteral("Total ($)"));
    totalLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(totalLabel, kThicknessCount + 2, 2);
    grid->addWidget(total_, kThicknessCount + 2, 3);
    connect(calculate_, &QPushButton::clicked, this, [this] {
        if (!validateNumberEdits())
            return;
        readWidgets();
        dialog_.calculateCosts(host());
        showMembers();
    });

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CostAnalysisForm::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cancelButton(QStringLiteral("Cancel")));
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(laneRow);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    dialog_.onInitDialog(host());
    showMembers();
}

void CostAnalysisForm::showMembers() {
    laneWidth_->setNumber(dialog_.laneWidth);
    for (std::size_t i = 0; i < density_.size(); ++i) {
        density_[i]->setNumber(dialog_.density[i]);
        costPerTon_[i]->setNumber(dialog_.costPerTon[i]);
        layerCost_[i]->setText(QString::number(dialog_.layerCost[i], 'f', 2));
    }
    total_->setText(QString::number(dialog_.totalCost, 'f', 2));
    units_[0]->setText(toQString(dialog_.laneWidthUnit));
    units_[1]->setText(toQString(dialog_.densityUnit));
    units_[2]->setText(toQString(dialog_.tonUnit));
    units_[3]->setText(toQString(dialog_.lengthUnit));
}

void CostAnalysisForm::readWidgets() {
    if (auto v = laneWidth_->number())
        dialog_.laneWidth = *v;
    for (std::size_t i = 0; i < density_.size(); ++i) {
        if (!density_[i]->isEnabled())
            continue;
        if (auto v = density_[i]->number())
            dialog_.density[i] = *v;
        if (auto v = costPerTon_[i]->number())
            dialog_.costPerTon[i] = *v;
    }
}

void CostAnalysisForm::accept() {
    if (!validateNumberEdits())
        return;
    readWidgets();
    QDialog::accept();
}

// ----- the module -------------------------------------------------------------------------------

void registerOutputDesignNestedForms() {
    static const bool registered = [] {
        registerNestedForm([](ModalDialog& dialog, QWidget* parent) -> std::optional<bool> {
            if (auto* cycles = dynamic_cast<CMonteCarloCyclesDlg*>(&dialog)) {
                MonteCarloCyclesForm form(*cycles, parent);
                return form.exec() == QDialog::Accepted;
            }
            if (auto* note = dynamic_cast<CPleaseNoteDlg*>(&dialog)) {
                PleaseNoteForm form(*note, parent);
                return form.exec() == QDialog::Accepted;
            }
            if (dynamic_cast<CDisclaimerDlg*>(&dialog)) {
                DisclaimerDialog form(parent);
                return form.exec() == QDialog::Accepted;
            }
            if (auto* cost = dynamic_cast<CCostAnalysisDlg*>(&dialog)) {
                CostAnalysisForm form(*cost, parent);
                return form.exec() == QDialog::Accepted;
            }
            return std::nullopt;
        });
        return true;
    }();
    (void)registered;
}

bool runOutputDesignModule(QWidget* parent, CStenorDoc& workingCopy) {
    registerOutputDesignNestedForms();
    COutputDesignDlg dialog(workingCopy, layeredElasticResponses());
    if (auto* window = dynamic_cast<MainWindow*>(parent))
        dialog.projectFileName = window->session().pathName();
    OutputDesignForm form(dialog, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    workingCopy = dialog.work;
    return true;
}

}  // namespace ardelon::gui
