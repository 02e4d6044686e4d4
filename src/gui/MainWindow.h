#pragma once
// The main window: menu and accelerators, the cross-section view, the caption, the recent file
// list kept in the program's INI file, and the modules opened over it.

#include <QMainWindow>
#include <functional>
#include <map>

#include "app/DocumentSession.h"
#include "gui/QtDialogHost.h"

class QMenu;

namespace ardelon::gui {

class CrossSectionView;

class MainWindow : public QMainWindow, public ShellWindow {
    Q_OBJECT
  public:
    // The form of a module: runs modally over `parent` on the working copy; true on OK.
    using ModuleForm = std::function<bool(QWidget* parent, CStenorDoc& workingCopy)>;

    // `settingsFile` is the INI file that keeps the recent file list.
    explicit MainWindow(const QString& settingsFile, QWidget* parent = nullptr);

    // Command line: no file, a new project; a file, that project (a clear message if it
    // cannot be read, then a new project).
    void startUp(const QStringList& files);

    DocumentSession& session() { return session_; }
    CrossSectionView* view() const { return view_; }
    void setModuleForm(Module module, ModuleForm form);

    bool runModule(Module module, CStenorDoc& workingCopy) override;
    void setCaption(std::string_view caption) override;
    void repaintViews() override;

    void showAbout();
    void showDisclaimer();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showCaption();
    QString caption_;
    QAction* addCommand(QMenu* menu, const QString& objectName, const QString& text,
                        const QKeySequence& shortcut, std::function<void()> handler);
    void afterFileCommand();
    void updateUnitChecks();
    void rebuildRecentFiles();
    void storeRecentFiles();

    QString settingsFile_;
    QtDialogHost host_;
    DocumentSession session_;
    CrossSectionView* view_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* englishAction_ = nullptr;
    QAction* metricAction_ = nullptr;
    QList<QAction*> recentActions_;
    std::map<Module, ModuleForm> forms_;
};

// The caption of each module's dialog.
QString moduleCaption(Module module);

}  // namespace ardelon::gui
