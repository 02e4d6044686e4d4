#include "gui/OutputDesignForm.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "charts/PdfReport.h"
#include "gui/ChartsView.h"
#include "gui/MainWindow.h"
#include "gui/ResultListWidgets.h"
#include "gui/ThicknessSearchForm.h"
#include "gui/TrialsView.h"
#include "reliability/SolverResponseModel.h"
#include "reports/DesignReport.h"
#include "reports/FormattedReport.h"

namespace ardelon::gui {

// ----- the module's form ------------------------------------------------------------------------

OutputDesignForm::OutputDesignForm(COutputDesignDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog), trials_(dialog) {
    setWindowTitle(toQString(COutputDesignDlg::kCaption));
    registerTrialNestedForms();
    if (!dialog_.exportReport)
        dialog_.exportReport = [](const CStenorDoc& work, const AnalysisResults& results,
                                  const std::string& path, const RunInfo& run) {
            return exportFormattedReport(work, results, path, run);
        };
    if (!dialog_.exportPdf)
        dialog_.exportPdf = [](const CStenorDoc& work, const AnalysisResults& results,
                               const std::string& path, const RunInfo& run) {
            QApplication::setOverrideCursor(Qt::WaitCursor);  // a solver call per season
            const DesignReport report = buildDesignReport(work, results, run, work.reportDetails);
            const RunFigures figures = runFigures(work, results, run.models);
            FileResult written = charts::writePdfReport(report, figures, work.unitSystem, path);
            QApplication::restoreOverrideCursor();
            return written;
        };

    auto* top = new QHBoxLayout;
    top->addWidget(buildThicknessDesign(), 2);
    top->addWidget(buildReliabilityAnalysis(), 1);

    progress_ = bound(Control::Progress, new QProgressBar);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(14);
    progress_->setRange(0, dialog_.cycles);
    progress_->setValue(0);
    runStatus_ = new QLabel;
    runStatus_->setObjectName(QStringLiteral("runStatus"));
    runTicker_ = new QTimer(this);
    runTicker_->setInterval(500);
    connect(runTicker_, &QTimer::timeout, this, &OutputDesignForm::showRunProgress);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(runStatus_);

    transferFunctionList_ = bound(Control::TransferFunctionList, reportList());
    percentileList_ = bound(Control::PercentileList, reportList());
    transferFunctionList_->setMinimumHeight(110);
    transferFunctionList_->setMaximumHeight(150);
    percentileList_->setMinimumHeight(200);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(progressRow);
    layout->addWidget(
        listBox("Perpetual Pavement Design Results: Conventional Design with "
                "Transfer Functions",
                transferFunctionList_));
    layout->addWidget(
        listBox("Perpetual Pavement Design Results: Percentile Responses", percentileList_), 1);
    layout->addLayout(buildButtonRow());

    for (NumberEdit* edit : thickness_)
        lockedDuringRun_.push_back(edit);

    dialog_.onInitDialog(host());
    showMembers();
    resize(1060, 640);
    showFieldHints(dialog_);
}

// Thickness Design: layer count, materials and the thicknesses of the upper layers.
QGroupBox* OutputDesignForm::buildThicknessDesign() {
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
        thickness_[layerIndex(layer)] = edit;
        grid->addWidget(edit, 3, layer);
        connect(edit, &NumberEdit::committed, this,
                [this, layer] { run([&] { dialog_.onThicknessKillFocus(host(), layer); }); });
        connect(edit, &NumberEdit::entered, this,
                [this, layer] { run([&] { dialog_.onThicknessSetFocus(host(), layer); }); });
    }
    auto* infinite = new QLabel(QStringLiteral("Infinite"));
    infinite->setAlignment(Qt::AlignCenter);
    grid->addWidget(infinite, 3, kLayerCount);
    return design;
}

// Reliability Analysis: the number of cycles and the run. Further commands that run over the
// design go in `analysisButtons_`, below Perform Analysis.
QGroupBox* OutputDesignForm::buildReliabilityAnalysis() {
    auto* analysis = new QGroupBox(QStringLiteral("Reliability Analysis"));
    analysisButtons_ = new QVBoxLayout(analysis);
    auto* setCycles = bound(Control::SetMonteCarloCycles,
                            new QPushButton(QStringLiteral("Set Monte Carlo Cycles")));
    auto* perform =
        bound(Control::PerformAnalysis, new QPushButton(QStringLiteral("Perform Analysis")));
    cancelRun_ = new QPushButton(QString::fromLatin1(kCancelRunText));
    cancelRun_->setObjectName(QStringLiteral("cancelRun"));
    cancelRun_->setEnabled(false);
    analysisButtons_->addWidget(setCycles);
    analysisButtons_->addWidget(perform);
    findThicknesses_ = new QPushButton(QString::fromLatin1(kFindThicknessesText));
    findThicknesses_->setObjectName(QStringLiteral("findThicknesses"));
    analysisButtons_->addWidget(findThicknesses_);
    analysisButtons_->addWidget(cancelRun_);
    connect(setCycles, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.onSetMonteCarloCycles(host()); }); });
    connect(perform, &QPushButton::clicked, this, [this] { startAnalysis(); });
    connect(cancelRun_, &QPushButton::clicked, this, [this] { dialog_.cancelRequested = true; });
    connect(findThicknesses_, &QPushButton::clicked, this, [this] { findThicknesses(); });
    lockedDuringRun_.insert(lockedDuringRun_.end(), {setCycles, perform, findThicknesses_});
    return analysis;
}

// The buttons under the lists; views of the results go in `resultButtons_`, after the export.
QHBoxLayout* OutputDesignForm::buildButtonRow() {
    auto* disclaimer = bound(Control::Disclaimer, new QPushButton(QStringLiteral("Disclaimer")));
    auto* cost = bound(Control::CostAnalysis, new QPushButton(QStringLiteral("Cost Analysis")));
    auto* exportExcel = bound(Control::ExportExcel,
                              new QPushButton(QStringLiteral("Export Formatted Data to EXCEL")));
    exportPdf_ = new QPushButton(QString::fromLatin1(kExportPdfText));
    exportPdf_->setObjectName(QStringLiteral("exportPdf"));
    exportPdf_->setToolTip(QStringLiteral(
        "The design report of the last run as a PDF: summary, inputs, lists, charts"));
    connect(exportPdf_, &QPushButton::clicked, this, [this] { exportPdfReport(); });
    charts_ = new QPushButton(QStringLiteral("Charts"));
    charts_->setToolTip(QStringLiteral("Charts of the last run"));
    connect(charts_, &QPushButton::clicked, this, [this] { openChartsView(this, dialog_); });
    keepTrial_ = new QPushButton(QString::fromLatin1(kKeepTrialText));
    keepTrial_->setObjectName(QStringLiteral("keepTrial"));
    keepTrial_->setToolTip(
        QStringLiteral("Keep the design shown with the results of its run, to "
                       "set it beside other designs"));
    connect(keepTrial_, &QPushButton::clicked, this,
            [this] { run([&] { trials_.onKeepAsTrial(host()); }); });
    trialsButton_ = new QPushButton(QString::fromLatin1(kTrialsText));
    trialsButton_->setObjectName(QStringLiteral("trials"));
    trialsButton_->setToolTip(QStringLiteral("The kept trial designs side by side"));
    connect(trialsButton_, &QPushButton::clicked, this, [this] { openTrials(); });
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
    resultButtons_ = new QHBoxLayout;
    resultButtons_->addWidget(cost);
    resultButtons_->addWidget(exportExcel);
    resultButtons_->addWidget(exportPdf_);
    resultButtons_->addWidget(charts_);
    resultButtons_->addWidget(keepTrial_);
    resultButtons_->addWidget(trialsButton_);
    buttons->addLayout(resultButtons_);
    buttons->addStretch();
    buttons->addWidget(leave);
    lockedDuringRun_.insert(lockedDuringRun_.end(),
                            {disclaimer, cost, exportExcel, exportPdf_, trialsButton_, leave});
    return buttons;
}

OutputDesignForm::~OutputDesignForm() {
    stopWorker();
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
        NumberEdit* edit = thickness_[layerIndex(layer)];
        edit->setNumber(dialog_.work.thickness[layerIndex(layer)]);
    }
    button(Control::ExportExcel)->setEnabled(dialog_.exportEnabled && !running());
    charts_->setEnabled(dialog_.exportEnabled && !running());
    exportPdf_->setEnabled(dialog_.exportEnabled && !running());
    keepTrial_->setEnabled(trials_.canKeep() && !running());
    showList(transferFunctionList_, dialog_.transferFunctionList);
    showList(percentileList_, dialog_.percentileList);
    // The results of the run before stay readable but greyed while a new run goes, and while
    // the design shown is not the one they were computed for.
    const bool stale = dialog_.resultsStale();
    transferFunctionList_->setEnabled(!dialog_.resultsOutdated && !stale);
    percentileList_->setEnabled(!dialog_.resultsOutdated && !stale);
    if (!running()) {
        runStatus_->setStyleSheet(stale ? QStringLiteral("QLabel { color: #b00000; }") : QString());
        runStatus_->setText(toQString(stale ? dialog_.staleResultsText() : dialog_.runNote));
    }
}

void OutputDesignForm::readWidgets() {
    for (int layer = 1; layer <= kThicknessCount; ++layer) {
        if (!thickness_[layerIndex(layer)]->isEnabled())
            continue;
        if (auto value = thickness_[layerIndex(layer)]->number())
            dialog_.work.thickness[layerIndex(layer)] = *value;
    }
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

bool runOutputDesignModule(QWidget* parent, CStenorDoc& workingCopy) {
    registerOutputDesignNestedForms();
    COutputDesignDlg dialog(workingCopy, layeredElasticResponses());
    if (auto* window = dynamic_cast<MainWindow*>(parent)) {
        dialog.projectFileName = window->session().pathName();
        dialog.projectModified = window->session().isModified();
    }
    OutputDesignForm form(dialog, parent);
    const bool accepted = form.exec() == QDialog::Accepted;
    workingCopy = dialog.work;  // the kept trials stay even when the module is cancelled
    if (!accepted)
        return false;
    if (dialog.inputsReplaced) {
        if (auto* window = dynamic_cast<MainWindow*>(parent))
            window->session().takeEveryInputOnAccept();
    }
    return true;
}

}  // namespace ardelon::gui
