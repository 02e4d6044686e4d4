#include "gui/UserGuide.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

namespace ardelon::gui {
namespace {

// The guide's section of each window, by the window's class.
struct GuideSection {
    const char* windowClass;
    const char* heading;
};
constexpr GuideSection kSections[] = {
    {"ardelon::gui::MainWindow", "Ardelon User Guide"},
    {"ardelon::gui::StructureForm", "Structural and Seasonal Information"},
    {"ardelon::gui::InputVariabilityForm", "Input Variability"},
    {"ardelon::gui::LayerCriteriaForm", "Layer Performance Criteria"},
    {"ardelon::gui::EnduranceLimitForm", "Layer Performance Criteria"},
    {"ardelon::gui::LoadSpectraForm", "Load Spectra"},
    {"ardelon::gui::VehicleTypeForm", "Load Spectra"},
    {"ardelon::gui::EsalDataForm", "ESAL Data"},
    {"ardelon::gui::TransferFunctionsForm", "Transfer Functions"},
    {"ardelon::gui::OutputDesignForm", "Output and Design"},
    {"ardelon::gui::MonteCarloCyclesForm", "Running the analysis"},
    {"ardelon::gui::PleaseNoteForm", "Running the analysis"},
    {"ardelon::gui::CostAnalysisForm", "Cost Analysis"},
    {"ardelon::gui::ThicknessSearchForm", "Finding the cheapest thicknesses"},
    {"ardelon::gui::ChartsView", "Charts"},
    {"ardelon::gui::TrialsView", "Trial designs side by side"},
    {"ardelon::gui::TrialNameForm", "Trial designs side by side"},
};

}  // namespace

UserGuideDialog::UserGuideDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("userGuide"));
    setWindowTitle(QStringLiteral("Ardelon User Guide"));
    browser_ = new QTextBrowser;
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({QStringLiteral(":/guide")});
    QFile guide(QStringLiteral(":/guide/user-guide.md"));
    if (guide.open(QIODevice::ReadOnly))
        browser_->setMarkdown(QString::fromUtf8(guide.readAll()));
    else
        browser_->setPlainText(QStringLiteral("The user guide is missing from this build."));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(browser_);
    layout->addWidget(buttons);
    resize(820, 620);
}

bool UserGuideDialog::openAt(const QString& section) {
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 && block.text() == section) {
            QTextCursor cursor(block);
            browser_->setTextCursor(cursor);
            // The heading at the top of the window, not just somewhere in view.
            browser_->verticalScrollBar()->setValue(browser_->verticalScrollBar()->maximum());
            browser_->ensureCursorVisible();
            return true;
        }
    }
    return false;
}

QString guideSectionFor(const QWidget* window) {
    for (const GuideSection& section : kSections) {
        if (window && window->inherits(section.windowClass))
            return QString::fromLatin1(section.heading);
    }
    return QString::fromLatin1(kSections[0].heading);
}

UserGuideDialog* showUserGuide(QWidget* parent) {
    QWidget* focused = QApplication::activeWindow();
    if (focused == nullptr)
        focused = parent ? parent->window() : nullptr;
    // A window of the form that asked: usable while the form stays open, closed with it.
    auto* guide = new UserGuideDialog(parent);
    guide->setAttribute(Qt::WA_DeleteOnClose);
    guide->show();
    guide->openAt(guideSectionFor(focused));
    return guide;
}

}  // namespace ardelon::gui
