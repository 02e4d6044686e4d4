#include "traffic/CLoadingConditionsDlg.h"

#include <cmath>

#include "project/FileExtension.h"
#include "traffic/AxleLoadTableImport.h"
#include "traffic/CVehicleTypeDlg.h"
#include "traffic/LoadSpectraFile.h"
#include "traffic/VehicleTypes.h"
#include "traffic/WeightClassLabels.h"

namespace ardelon {
namespace {

constexpr size_t at(int index) {
    return static_cast<size_t>(index);
}

int id(CLoadingConditionsDlg::Control control) {
    return static_cast<int>(control);
}

}  // namespace

std::string CLoadingConditionsDlg::configurationNotSelectedText(int configuration) {
    return std::string(kConfigurationNames[at(configuration)]) +
           " Configuration has not been selected above.";
}

CLoadingConditionsDlg::CLoadingConditionsDlg(const CStenorDoc& doc)
    : LoadingWorkingCopy(LoadingWorkingCopy::fromProject(doc)) {}

void CLoadingConditionsDlg::openLoadingConditions(DialogHost& host) {
    binLabels = binLabelsFor(unitSystem);
    checkCurrentConfiguration(host);
    showConfiguration(*this);
    recomputeTotal();
    enableShareEditsByCheckBoxes(host);
}

void CLoadingConditionsDlg::toggleConfiguration(DialogHost& host, int configuration) {
    if (!isConfiguration(configuration))
        return;
    if (isChecked(configurationEnabled, configuration)) {
        currentConfiguration = configuration;
        host.setEnabled(id(percentEdit(configuration)), true);
    } else {
        if (auto first = firstCheckedConfiguration(configurationEnabled, configuration)) {
            currentConfiguration = *first;
        } else {
            // The box stays cleared: the engineer is told, and may check another one.
            host.showMessage(kNoConfigurationText, kNoConfigurationCaption,
                             MessageIcon::Exclamation);
            host.setFocus(id(checkBox(configuration)));
        }
        host.setEnabled(id(percentEdit(configuration)), false);
        configurationPercent[at(configuration)] = 0;  // its bins are kept
    }
    showConfiguration(*this);
    recomputeTotal();
}

void CLoadingConditionsDlg::checkCurrentConfiguration(DialogHost& host) {
    const int shown = currentConfiguration;
    if (!correctCurrentConfiguration(*this))
        return;
    // A value outside the list comes from a damaged project: it is corrected without a word.
    if (isConfiguration(shown)) {
        host.showMessage(configurationNotSelectedText(shown), kConfigurationErrorCaption,
                         MessageIcon::Exclamation);
    }
}

void CLoadingConditionsDlg::selectConfiguration(DialogHost& host) {
    checkCurrentConfiguration(host);
    showConfiguration(*this);
    recomputeTotal();
}

void CLoadingConditionsDlg::percentEditFocused(DialogHost& host, int configuration) {
    if (isConfiguration(configuration))
        currentConfiguration = configuration;
    selectConfiguration(host);
}

void CLoadingConditionsDlg::binEdited(DialogHost& host, int bin) {
    if (bin < 0 || bin >= kBinCount)
        return;
    const double value = shownLoadPercent[at(bin)];
    if (value < 0) {
        // The value stays in the edit for the engineer to correct; the distribution keeps the
        // previous one.
        host.showMessage(kNegativeBinText, kNumberOutOfRangeCaption, MessageIcon::Exclamation);
        host.setFocus(id(binEdit(bin)));
        return;
    }
    if (isConfiguration(currentConfiguration)) {
        loadSpectra[at(currentConfiguration)][at(bin)] = value;
    }
    recomputeTotal();
}

void CLoadingConditionsDlg::trafficEdited() {
    axleGroupsPerDay = computeAxleGroupsPerDay(*this);
}

void CLoadingConditionsDlg::acceptLoading() {
    applyLoadingAccept(*this);
}

bool CLoadingConditionsDlg::acceptLoading(DialogHost& host) {
    acceptLoading();
    return validateLoadingFields(host);
}

CLoadingConditionsDlg::Control CLoadingConditionsDlg::controlOf(LoadingField field) {
    switch (field) {
        case LoadingField::Aadt:
            return Control::Aadt;
        case LoadingField::PercentTrucks:
            return Control::PercentTrucks;
        case LoadingField::TruckGrowth:
            return Control::TruckGrowth;
        case LoadingField::AxleGroupsPerDay:
            return Control::AxleGroupsPerDay;
    }
    return Control::Aadt;
}

bool CLoadingConditionsDlg::validateLoadingFields(DialogHost& host) {
    for (LoadingField field : kLoadingFields) {
        const std::string message =
            loadingFieldRangeMessage(field, loadingFieldValue(*this, field));
        if (message.empty())
            continue;
        host.showMessage(message, kApplicationTitle, MessageIcon::Exclamation);
        host.setFocus(id(controlOf(field)));
        return false;
    }
    return true;
}

void CLoadingConditionsDlg::importLoadSpectra(DialogHost& host) {
    const auto path = host.chooseFileToOpen(kLoadSpectraFilter, kLoadSpectraInitialName);
    if (!path)
        return;
    const LoadSpectraParse parse = readLoadSpectraFile(*path);
    if (!parse.ok()) {
        // Nothing of a file that cannot be read whole is taken.
        host.showMessage(parse.error, kImportLoadSpectraCaption, MessageIcon::Exclamation);
        return;
    }
    fileName = *path;
    applyLoadSpectraRecord(*parse.record, *this);
    showConfiguration(*this);
    host.showMessage(kImportLoadSpectraDoneText, kImportLoadSpectraCaption,
                     MessageIcon::Information);
    recomputeTotal();
    enableShareEditsByShares(host);
}

void CLoadingConditionsDlg::importAxleLoadTable(DialogHost& host) {
    const auto path = host.chooseFileToOpen(kAxleLoadTableFilter, kAxleLoadTableInitialName);
    if (!path)
        return;
    const AxleLoadTableParse parse = readAxleLoadTableFile(*path);
    if (!parse.ok()) {
        host.showMessage(parse.error, kImportAxleLoadTableCaption, MessageIcon::Exclamation);
        return;
    }
    LoadingWorkingCopy imported = *this;
    const AxleLoadTableImport result =
        applyAxleLoadTable(*parse.table, classSharesOf(vehicleTypeValue), imported);
    if (!result.ok()) {
        host.showMessage(
            "Cannot import \"" + *path + "\": " + result.error + ". Nothing was changed.",
            kImportAxleLoadTableCaption, MessageIcon::Exclamation);
        return;
    }
    static_cast<LoadingWorkingCopy&>(*this) = imported;
    showConfiguration(*this);
    recomputeTotal();
    enableShareEditsByShares(host);
    trafficEdited();  // the axle groups follow the new axles per truck
    std::string text(kAxleLoadTableDoneText);
    for (const std::string& note : result.notes)
        text += "\n\n" + note;
    // More than the steer estimate means quads were folded or axles left out.
    host.showMessage(text, kImportAxleLoadTableCaption,
                     result.notes.size() > 1 ? MessageIcon::Exclamation : MessageIcon::Information);
}

void CLoadingConditionsDlg::saveLoadSpectra(DialogHost& host) {
    const std::string extension = chooserExtension(kLoadSpectraFilter);
    auto path = host.chooseFileToSave(kLoadSpectraFilter, kLoadSpectraInitialName, extension);
    if (!path)
        return;
    *path = withDefaultExtension(*path, extension);
    const std::string error = writeLoadSpectraFile(*path, loadSpectraRecordOf(*this));
    if (!error.empty()) {
        host.showMessage(error, kSaveLoadSpectraCaption, MessageIcon::Exclamation);
        return;
    }
    fileName = *path;
    host.showMessage(kSaveLoadSpectraDoneText, kSaveLoadSpectraCaption, MessageIcon::Information);
}

void CLoadingConditionsDlg::inputByVehicleType(DialogHost& host) {
    CVehicleTypeDlg vehicleTypes(vehicleTypeRoadClass, vehicleTypeValue);
    if (host.runModal(vehicleTypes)) {
        vehicleTypeRoadClass = vehicleTypes.vehicleTypeRoadClass;
        vehicleTypeValue = vehicleTypes.vehicleTypeValue;
        applyVehicleTypeMix(*this);
        for (int c = 0; c < kConfigurationCount; ++c) {
            host.setEnabled(id(percentEdit(c)), configurationPercent[at(c)] > 0);
        }
        selectConfiguration(host);
    }
    // Accepted or not, the axle groups follow the axles per truck now in force.
    trafficEdited();
}

void CLoadingConditionsDlg::enableShareEditsByCheckBoxes(DialogHost& host) const {
    for (int c = 0; c < kConfigurationCount; ++c) {
        host.setEnabled(id(percentEdit(c)), isChecked(configurationEnabled, c));
    }
}

void CLoadingConditionsDlg::enableShareEditsByShares(DialogHost& host) const {
    for (int c = 0; c < kConfigurationCount; ++c) {
        host.setEnabled(id(percentEdit(c)), configurationPercent[at(c)] > 0);
    }
}

}  // namespace ardelon
