// The Output and Design form's run: the Monte Carlo cycles on a worker thread with the form's
// progress, and the export of the workbook and the PDF report afterwards.

#include "gui/OutputDesignForm.h"
#include "gui/PdfReportForm.h"
#include "gui/ThicknessSearchForm.h"
#include "gui/TrialsView.h"
#include "output/RunNotes.h"

namespace ardelon::gui {
void OutputDesignForm::stopWorker() {
    if (worker_.joinable()) {
        dialog_.cancelRequested = true;
        worker_.join();
    }
}

void OutputDesignForm::setRunning(bool runningNow) {
    for (QWidget* widget : lockedDuringRun_)
        widget->setEnabled(!runningNow);
    if (!runningNow) {
        // Back to what the rules enable: the thicknesses of the layers that exist, the export
        // after a completed run.
        for (int layer = 1; layer <= kThicknessCount; ++layer)
            thickness_[layerIndex(layer)]->setEnabled(layer <= dialog_.work.layerCountIndex + 1);
        button(Control::ExportExcel)->setEnabled(dialog_.exportEnabled);
    }
    charts_->setEnabled(dialog_.exportEnabled && !runningNow);
    keepTrial_->setEnabled(trials_.canKeep() && !runningNow);
    cancelRun_->setEnabled(runningNow);
}

void OutputDesignForm::showRunProgress() {
    runStatus_->setText(toQString(
        runProgressText(progress_->value(), progress_->maximum(), runClock_.elapsed() / 1000)));
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
    showMembers();  // the previous results greyed
    progress_->setRange(0, runOptions_->cycles);
    progress_->setValue(0);
    runClock_.start();
    showRunProgress();
    runTicker_->start();
    // Progress comes from the worker thread; the bar is moved on the form's thread.
    runOptions_->progress = [this](int done, int total) {
        QMetaObject::invokeMethod(
            this,
            [this, done, total] {
                progress_->setRange(0, total);
                progress_->setValue(done);
                showRunProgress();
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

void OutputDesignForm::findThicknesses() {
    if (handling_ || running())
        return;
    readWidgets();
    CThicknessSearchDlg search(dialog_.work, dialog_.models());
    search.cycles = dialog_.cycles;
    search.seed = dialog_.fixedSeed.value_or(1);
    {
        ThicknessSearchForm form(search, this);
        if (form.exec() != QDialog::Accepted || !search.chosenThickness)
            return;  // Close and Cancel change nothing
    }
    // "Use This Design": the winner's thicknesses in the edits, with the asphalt moduli that
    // follow them, then the module's own run; a run that does not start leaves the results
    // marked stale.
    run([&] {
        dialog_.useDesign(host(), *search.chosenThickness,
                          search.chosenProject ? &*search.chosenProject : nullptr);
    });
    startAnalysis();
}

void OutputDesignForm::endAnalysis() {
    if (worker_.joinable())
        worker_.join();
    handling_ = true;
    runTicker_->stop();
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
    if (path) {
        openDocument(QUrl::fromLocalFile(QString::fromStdString(*path)), this,
                     [this, workbook = *path] { dialog_.onWorkbookNotOpened(host(), workbook); });
    }
    handling_ = false;
    showMembers();
}

void OutputDesignForm::openTrials() {
    if (handling_ || running())
        return;
    readWidgets();
    {
        TrialsView view(trials_, this);
        view.exec();
    }
    setRunning(false);  // the edits of the layers a loaded trial has
    showMembers();      // a loaded trial is the design shown
}

void OutputDesignForm::exportPdfReport() {
    if (handling_ || running())
        return;
    handling_ = true;
    readWidgets();
    PdfReportForm form(dialog_.work.reportDetails, this);
    if (form.exec() == QDialog::Accepted) {
        const std::optional<std::string> path = dialog_.onExportPdf(host(), form.details());
        if (path) {
            openDocument(
                QUrl::fromLocalFile(QString::fromStdString(*path)), this, [this, pdf = *path] {
                    host().showMessage("The report " + pdf +
                                           " was written, but no program is registered to open it.",
                                       COutputDesignDlg::kPdfExportCaption,
                                       MessageIcon::Information);
                });
        }
    }
    handling_ = false;
    showMembers();
}

}  // namespace ardelon::gui
