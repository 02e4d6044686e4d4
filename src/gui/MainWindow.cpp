#include "gui/MainWindow.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QMenuBar>
#include <QSettings>
#include <QShortcut>

#include "app/ApplicationTexts.h"
#include "gui/CrossSectionView.h"
#include "gui/InfoDialogs.h"
#include "gui/UserGuide.h"
#include "trials/TrialFile.h"

namespace ardelon::gui {

namespace {
const QString kRecentGroup = QStringLiteral("Recent File List");
}

QString moduleCaption(Module module) {
    switch (module) {
        case Module::Structure:
            return toQString(kStructureCaption);
        case Module::LoadSpectra:
            return toQString(kLoadSpectraCaption);
        case Module::ViewOutput:
            return toQString(kOutputCaption);
        case Module::EsalData:
            return toQString(kEsalDataCaption);
        case Module::TransferFunctions:
            return toQString(kTransferFunctionsCaption);
    }
    return {};
}

MainWindow::MainWindow(const QString& settingsFile, QWidget* parent)
    : QMainWindow(parent), settingsFile_(settingsFile), host_(this), session_(host_, *this) {
    setObjectName(QStringLiteral("mainWindow"));
    caption_ = toQString(kStartCaption);
    setWindowTitle(caption_);
    // The trial designs of an .ard project live in a file beside it.
    session_.setCompanionFiles({openTrials, saveTrials});
    view_ = new CrossSectionView(session_.project(), this);
    view_->setObjectName(QStringLiteral("crossSection"));
    setCentralWidget(view_);

    // File: New has its accelerator only, as the project commands always had.
    fileMenu_ = menuBar()->addMenu(QStringLiteral("&File"));
    addCommand(nullptr, QStringLiteral("actionNew"), QStringLiteral("&New"),
               QKeySequence(Qt::CTRL | Qt::Key_N), [this] {
                   session_.newProject();
                   afterFileCommand();
               });
    addCommand(fileMenu_, QStringLiteral("actionOpen"), QStringLiteral("&Open..."),
               QKeySequence(Qt::CTRL | Qt::Key_O), [this] {
                   session_.openProject();
                   afterFileCommand();
               });
    addCommand(fileMenu_, QStringLiteral("actionSave"), QStringLiteral("&Save..."),
               QKeySequence(Qt::CTRL | Qt::Key_S), [this] {
                   session_.save();
                   afterFileCommand();
               });
    addCommand(fileMenu_, QStringLiteral("actionSaveAs"), QStringLiteral("Save As"), {}, [this] {
        session_.saveAs();
        afterFileCommand();
    });
    fileMenu_->addSeparator();
    exitAction_ = addCommand(fileMenu_, QStringLiteral("actionExit"), QStringLiteral("E&xit"), {},
                             [this] { close(); });

    QMenu* input = menuBar()->addMenu(QStringLiteral("&Input"));
    addCommand(input, QStringLiteral("actionStructure"), QStringLiteral("S&tructure..."),
               QKeySequence(Qt::CTRL | Qt::Key_T),
               [this] { session_.runModule(Module::Structure); });
    addCommand(input, QStringLiteral("actionLoadSpectra"), QStringLiteral("&Load Spectra..."),
               QKeySequence(Qt::CTRL | Qt::Key_L),
               [this] { session_.runModule(Module::LoadSpectra); });
    addCommand(input, QStringLiteral("actionEsalData"), QStringLiteral("ES&AL Data..."),
               QKeySequence(Qt::CTRL | Qt::Key_E),
               [this] { session_.runModule(Module::EsalData); });
    addCommand(input, QStringLiteral("actionTransferFunctions"),
               QStringLiteral("Transfer &Functions..."), QKeySequence(Qt::CTRL | Qt::Key_F),
               [this] { session_.runModule(Module::TransferFunctions); });
    input->addSeparator();
    englishAction_ = addCommand(input, QStringLiteral("actionEnglishUnits"),
                                QStringLiteral("&English Units"), {}, [this] {
                                    session_.setUnitSystem(English);
                                    updateUnitChecks();
                                });
    metricAction_ = addCommand(input, QStringLiteral("actionMetricUnits"),
                               QStringLiteral("&Metric Units"), {}, [this] {
                                   session_.setUnitSystem(Metric);
                                   updateUnitChecks();
                               });
    englishAction_->setCheckable(true);
    metricAction_->setCheckable(true);
    // The check marks follow the project, not the clicks: a click on the checked item keeps it.
    connect(input, &QMenu::aboutToShow, this, &MainWindow::updateUnitChecks);

    QMenu* output = menuBar()->addMenu(QStringLiteral("&Output"));
    addCommand(output, QStringLiteral("actionViewOutput"), QStringLiteral("&View Output..."),
               QKeySequence(Qt::ALT | Qt::Key_V),
               [this] { session_.runModule(Module::ViewOutput); });

    // Input has Alt+I; Info takes Alt+N.
    QMenu* info = menuBar()->addMenu(QStringLiteral("I&nfo"));
    addCommand(info, QStringLiteral("actionDisclaimer"), QStringLiteral("&Disclaimer"), {},
               [this] { showDisclaimer(); });
    addCommand(info, QStringLiteral("actionAbout"), QStringLiteral("&About Ardelon"), {},
               [this] { showAbout(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    addCommand(help, QStringLiteral("actionUserGuide"), QStringLiteral("&User Guide\tF1"), {},
               [this] { showUserGuide(this); });
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, [this] { showUserGuide(this); });

    QSettings settings(settingsFile_, QSettings::IniFormat);
    std::vector<std::string> recent;
    settings.beginGroup(kRecentGroup);
    for (std::size_t i = 1; i <= RecentFileList::kCapacity; ++i) {
        recent.push_back(settings.value(QStringLiteral("File%1").arg(i)).toString().toStdString());
    }
    settings.endGroup();
    session_.recentFiles().assign(recent);
    rebuildRecentFiles();
    updateUnitChecks();
    resize(920, 560);
}

QAction* MainWindow::addCommand(QMenu* menu, const QString& objectName, const QString& text,
                                const QKeySequence& shortcut, std::function<void()> handler) {
    auto* action = new QAction(text, this);
    action->setObjectName(objectName);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] {
        handler();
        updateUnitChecks();
        showCaption();
    });
    if (menu) {
        menu->addAction(action);
    } else {
        addAction(action);  // accelerator without a menu item
    }
    return action;
}

void MainWindow::startUp(const QStringList& files) {
    std::vector<std::string> arguments;
    for (const QString& file : files)
        arguments.push_back(file.toStdString());
    session_.startUp(arguments);
    afterFileCommand();
}

void MainWindow::setModuleForm(Module module, ModuleForm form) {
    forms_[module] = std::move(form);
}

bool MainWindow::runModule(Module module, CStenorDoc& workingCopy) {
    auto it = forms_.find(module);
    if (it == forms_.end() || !it->second) {
        showMessageBox(
            this, {QStringLiteral("\"%1\" has no form in this build of the application.")
                       .arg(moduleCaption(module)),
                   toQString(kApplicationTitle), MessageIcon::Information, MessageButtons::Ok});
        return false;
    }
    return it->second(this, workingCopy);
}

void MainWindow::setCaption(std::string_view caption) {
    caption_ = toQString(caption);
    showCaption();
}

void MainWindow::showCaption() {
    // A project with unsaved changes is marked with a star before its name.
    const bool unsaved = session_.isModified() && !caption_.isEmpty();
    setWindowTitle(unsaved ? QStringLiteral("*") + caption_ : caption_);
}

void MainWindow::repaintViews() {
    if (view_)
        view_->update();
}

void MainWindow::showAbout() {
    AboutDialog dialog(this);
    dialog.exec();
}

void MainWindow::showDisclaimer() {
    DisclaimerDialog dialog(this);
    dialog.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (session_.confirmClose()) {
        storeRecentFiles();
        event->accept();
    } else {
        event->ignore();
    }
}

void MainWindow::afterFileCommand() {
    rebuildRecentFiles();
    storeRecentFiles();
    updateUnitChecks();
}

void MainWindow::updateUnitChecks() {
    englishAction_->setChecked(session_.project().unitSystem == English);
    metricAction_->setChecked(session_.project().unitSystem == Metric);
}

void MainWindow::rebuildRecentFiles() {
    for (QAction* action : recentActions_) {
        fileMenu_->removeAction(action);
        action->deleteLater();
    }
    recentActions_.clear();
    const auto& entries = session_.recentFiles().entries();
    int number = 1;
    for (const std::string& entry : entries) {
        const QString path = QString::fromStdString(entry);
        auto* action = new QAction(
            QStringLiteral("&%1 %2").arg(number).arg(QDir::toNativeSeparators(path)), this);
        action->setObjectName(QStringLiteral("actionRecentFile%1").arg(number));
        connect(action, &QAction::triggered, this, [this, path] {
            session_.openProjectFile(path.toStdString());
            afterFileCommand();
        });
        fileMenu_->insertAction(exitAction_, action);
        recentActions_.append(action);
        ++number;
    }
    if (!entries.empty()) {
        QAction* separator = new QAction(this);
        separator->setSeparator(true);
        fileMenu_->insertAction(exitAction_, separator);
        recentActions_.append(separator);
    }
}

void MainWindow::storeRecentFiles() {
    QSettings settings(settingsFile_, QSettings::IniFormat);
    settings.beginGroup(kRecentGroup);
    const auto& entries = session_.recentFiles().entries();
    for (std::size_t i = 0; i < RecentFileList::kCapacity; ++i) {
        const QString key = QStringLiteral("File%1").arg(i + 1);
        if (i < entries.size()) {
            settings.setValue(key, QString::fromStdString(entries[i]));
        } else {
            settings.remove(key);
        }
    }
    settings.endGroup();
}

}  // namespace ardelon::gui
