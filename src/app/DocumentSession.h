#pragma once
// The open project and the commands of the application shell: New, Open, Save, Save As, Exit,
// the module commands and the unit commands.
//
// The project object lives as long as the session. A module works on a working copy: the
// command copies the module's fields in, runs it modally and copies the same fields back only
// when the user accepts. Accepting a module that changed a saved field marks the project
// modified, and New, Open and Exit then offer to save it first, so that unsaved work is never
// dropped silently.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "project/CStenorDoc.h"
#include "project/DialogHost.h"
#include "project/ProjectFile.h"

namespace ardelon {

enum class Module { Structure, LoadSpectra, ViewOutput, EsalData, TransferFunctions };

// What the main window does for the session.
class ShellWindow {
  public:
    virtual ~ShellWindow() = default;
    // Runs a module modally on its working copy; true when the user accepted it.
    virtual bool runModule(Module module, CStenorDoc& workingCopy) = 0;
    virtual void setCaption(std::string_view caption) = 0;
    // The project changed: the main view draws it again.
    virtual void repaintViews() = 0;
};

// The most recently used project files, newest first, without duplicates.
class RecentFileList {
  public:
    static constexpr std::size_t kCapacity = 4;

    void add(const std::string& path);
    void remove(const std::string& path);
    // Replaces the list, as read back from the settings file; blanks and duplicates dropped.
    void assign(const std::vector<std::string>& paths);
    const std::vector<std::string>& entries() const { return entries_; }

  private:
    std::vector<std::string> entries_;
};

// The copy table of a module applied in one direction.
void copyModuleFields(Module module, const CStenorDoc& from, CStenorDoc& to);

// "Save changes to <name>?"
std::string saveChangesPrompt(std::string_view name);

// A path with ".ard" appended when the file name was typed without an extension.
std::string withProjectExtension(const std::string& path);

// What a project keeps outside its own file (the trial designs beside an .ard project): read
// after the project is opened and written after it is saved. A failure is reported: the project
// still opens, and a save that could not write them leaves the project marked modified.
struct CompanionFiles {
    std::function<FileResult(const std::string& projectPath, CStenorDoc& doc)> open;
    std::function<FileResult(const std::string& projectPath, const CStenorDoc& doc)> save;
};

class DocumentSession {
  public:
    DocumentSession(DialogHost& host, ShellWindow& window);
    void setCompanionFiles(CompanionFiles files) { companions_ = std::move(files); }

    const CStenorDoc& project() const { return project_; }
    // For the form code and tests that prepare a project; does not mark it modified.
    CStenorDoc& project() { return project_; }
    const std::string& pathName() const { return pathName_; }
    const std::string& title() const { return title_; }
    bool isModified() const { return modified_; }
    const std::string& caption() const { return caption_; }
    RecentFileList& recentFiles() { return recent_; }
    const RecentFileList& recentFiles() const { return recent_; }

    // Start-up: with no file a new project with the defaults; with a file that project. A file
    // that cannot be read is reported and the program carries on with a new project.
    void startUp(const std::vector<std::string>& fileArguments);

    // File New: keeps the inputs of the current project, clears its file name. False when the
    // user cancelled the save-changes prompt.
    bool newProject();
    // File Open with the file chooser.
    bool openProject();
    // Opens a given file (recent file list, command line). On failure the project, its name
    // and its modified flag stay as they were and the message names the file.
    bool openProjectFile(const std::string& path);
    bool save();
    bool saveAs();
    // Exit and closing the main window: true when the program may close.
    bool confirmClose();

    // A module command; true when the user accepted the module. The trial designs kept or
    // changed in the Output and Design module stay with the project however it was left.
    bool runModule(Module module);
    // Called by the module open now when it put every input of a kept trial into its working
    // copy (Load Trial): accepting it then hands back every input, not only its own fields.
    void takeEveryInputOnAccept() { takeEveryInput_ = true; }
    // The unit commands; their menu check marks follow `project().unitSystem`.
    void setUnitSystem(UnitSystem units);

  private:
    // Offers to save a modified project: false when the user cancelled (or the save failed).
    bool saveModified();
    bool saveTo(const std::string& path);
    void setPath(const std::string& path);
    void updateCaption(std::string caption);

    DialogHost& host_;
    ShellWindow& window_;
    CStenorDoc project_;
    std::string pathName_;
    std::string title_{"Untitled"};
    bool modified_ = false;
    std::string caption_;
    RecentFileList recent_;
    CompanionFiles companions_;
    bool takeEveryInput_ = false;
};

}  // namespace ardelon
