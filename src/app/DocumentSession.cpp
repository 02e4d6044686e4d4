#include "app/DocumentSession.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "app/ApplicationTexts.h"
#include "app/ModuleCopy.h"
#include "project/ProjectFile.h"
#include "project/ProjectJson.h"
#include "reliability/RunPreparation.h"
#include "structure/CStructureDlg.h"

namespace ardelon {

void RecentFileList::add(const std::string& path) {
    if (path.empty())
        return;
    remove(path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kCapacity)
        entries_.resize(kCapacity);
}

void RecentFileList::remove(const std::string& path) {
    entries_.erase(std::remove(entries_.begin(), entries_.end(), path), entries_.end());
}

void RecentFileList::assign(const std::vector<std::string>& paths) {
    entries_.clear();
    for (const std::string& path : paths) {
        if (path.empty() || std::find(entries_.begin(), entries_.end(), path) != entries_.end()) {
            continue;
        }
        if (entries_.size() == kCapacity)
            break;
        entries_.push_back(path);
    }
}

void copyModuleFields(Module module, const CStenorDoc& from, CStenorDoc& to) {
    switch (module) {
        case Module::Structure:
            copyStructureFields(from, to);
            break;
        case Module::LoadSpectra:
            copyLoadSpectraFields(from, to);
            break;
        case Module::ViewOutput:
            copyViewOutputFields(from, to);
            break;
        case Module::EsalData:
            copyEsalDataFields(from, to);
            break;
        case Module::TransferFunctions:
            copyTransferFunctionFields(from, to);
            break;
    }
}

std::string saveChangesPrompt(std::string_view name) {
    return "Save changes to " + std::string(name) + "?";
}

std::string withProjectExtension(const std::string& path) {
    if (path.empty() || std::filesystem::path(path).has_extension())
        return path;
    return path + std::string(kProjectExtension);
}

namespace {

std::string frameCaption(std::string_view title) {
    return std::string(title) + " - " + std::string(kFrameTitle);
}

// A failure message that names the file even when the reader's own text does not.
std::string namingFile(const std::string& path, const std::string& error, std::string_view verb) {
    if (error.find(path) != std::string::npos)
        return error;
    return std::string(verb) + " \"" + path + "\": " + error;
}

}  // namespace

DocumentSession::DocumentSession(DialogHost& host, ShellWindow& window)
    : host_(host), window_(window) {}

void DocumentSession::updateCaption(std::string caption) {
    caption_ = std::move(caption);
    window_.setCaption(caption_);
}

void DocumentSession::setPath(const std::string& path) {
    pathName_ = path;
    title_ =
        path.empty() ? std::string(kUntitled) : std::filesystem::path(path).filename().string();
}

void DocumentSession::startUp(const std::vector<std::string>& fileArguments) {
    if (!fileArguments.empty() && openProjectFile(fileArguments.front())) {
        // The opened project's name is what the user needs to see.
        return;
    }
    setPath({});
    modified_ = false;
    updateCaption(std::string(kStartCaption));
    window_.repaintViews();
}

bool DocumentSession::saveModified() {
    if (!modified_)
        return true;
    switch (host_.showMessage(saveChangesPrompt(title_), kApplicationTitle,
                              MessageIcon::Exclamation, MessageButtons::YesNoCancel)) {
        case MessageAnswer::Yes:
            return save();
        case MessageAnswer::No:
            return true;
        default:
            return false;
    }
}

bool DocumentSession::newProject() {
    if (!saveModified())
        return false;
    // A new project starts from the inputs of the previous one; its name is cleared, and the
    // trial designs stay with the file they were kept for.
    project_.trials.clear();
    setPath({});
    modified_ = false;
    updateCaption(frameCaption(title_));
    window_.repaintViews();
    return true;
}

bool DocumentSession::openProject() {
    const auto path = host_.chooseFileToOpen(kProjectFilter, "");
    if (!path || path->empty())
        return false;
    return openProjectFile(*path);
}

bool DocumentSession::openProjectFile(const std::string& path) {
    if (!saveModified())
        return false;
    // Read into a scratch copy so that a failed read leaves the project exactly as it was.
    CStenorDoc scratch = project_;
    if (FileResult result = loadProject(path, scratch); !result.ok()) {
        host_.showMessage(namingFile(path, result.error, "Cannot open"), kApplicationTitle,
                          MessageIcon::Exclamation);
        recent_.remove(path);
        return false;
    }
    // Files saved before the unit choice converted the structure at once can hold English
    // thicknesses and modulus ranges in a metric project (or the reverse) until the Structure
    // form was opened: show them in the project's own units from the start.
    if ((scratch.unitSystem == Metric) == (scratch.valuesInEnglish == 1))
        applyUnitSystem(scratch);
    if (companions_.open) {
        if (FileResult beside = companions_.open(path, scratch); !beside.ok())
            host_.showMessage(beside.error, kApplicationTitle, MessageIcon::Exclamation);
    }
    project_ = scratch;
    setPath(path);
    modified_ = false;
    recent_.add(path);
    updateCaption(frameCaption(title_));
    window_.repaintViews();
    return true;
}

bool DocumentSession::saveTo(const std::string& path) {
    if (FileResult result = storeProject(project_, path); !result.ok()) {
        host_.showMessage(namingFile(path, result.error, "Cannot save"), kApplicationTitle,
                          MessageIcon::Exclamation);
        return false;
    }
    setPath(path);
    modified_ = false;
    recent_.add(path);
    if (companions_.save) {
        if (FileResult beside = companions_.save(path, project_); !beside.ok()) {
            host_.showMessage(beside.error, kApplicationTitle, MessageIcon::Exclamation);
            modified_ = true;  // what was not written is still to be saved
        }
    }
    updateCaption(frameCaption(title_));
    return !modified_;
}

bool DocumentSession::save() {
    if (pathName_.empty())
        return saveAs();
    return saveTo(pathName_);
}

bool DocumentSession::saveAs() {
    const std::string initial = pathName_.empty() ? title_ : pathName_;
    const auto path = host_.chooseFileToSave(kProjectFilter, initial, kProjectExtension);
    if (!path || path->empty())
        return false;
    return saveTo(withProjectExtension(*path));
}

bool DocumentSession::confirmClose() {
    return saveModified();
}

bool DocumentSession::runModule(Module module) {
    // What each command writes into the project before its module opens, kept even when the
    // module is cancelled.
    switch (module) {
        case Module::LoadSpectra:
            project_.useLoadSpectra = 1;
            break;
        case Module::EsalData:
            project_.useLoadSpectra = 0;
            break;
        case Module::ViewOutput:
            prepareViewOutput(project_);
            break;
        default:
            break;
    }

    // The module sees the whole project but only the fields of its table come back.
    CStenorDoc workingCopy = project_;
    const std::string trialsBefore = project_.trials;
    takeEveryInput_ = false;
    const bool accepted = window_.runModule(module, workingCopy);
    const bool everyInput = std::exchange(takeEveryInput_, false);
    if (!accepted) {
        // A trial kept, renamed or deleted is kept so even when the module is cancelled.
        if (module == Module::ViewOutput && workingCopy.trials != trialsBefore) {
            project_.trials = workingCopy.trials;
            modified_ = true;
        }
        return false;
    }

    const auto savedBefore = encodeProject(project_);
    if (everyInput) {
        project_ = workingCopy;  // Load Trial: the other modules' inputs are the trial's too
    } else {
        copyModuleFields(module, workingCopy, project_);
    }
    if (encodeProject(project_) != savedBefore || project_.trials != trialsBefore)
        modified_ = true;
    if (module != Module::TransferFunctions)
        window_.repaintViews();
    return true;
}

void DocumentSession::setUnitSystem(UnitSystem units) {
    if (project_.unitSystem == units)
        return;
    project_.unitSystem = units;
    applyUnitSystem(project_);
    modified_ = true;
    window_.repaintViews();
}

}  // namespace ardelon
