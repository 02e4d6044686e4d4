#include "gui/ModuleForms.h"

#include "gui/MainWindow.h"
#include "gui/OutputDesignForm.h"
#include "gui/StructureForm.h"
#include "gui/TrafficForms.h"
#include "gui/TransferFunctionsForm.h"

namespace ardelon::gui {

void installModuleForms(MainWindow& window) {
    window.setModuleForm(Module::Structure, runStructureModule);
    window.setModuleForm(Module::LoadSpectra, runLoadSpectraModule);
    window.setModuleForm(Module::ViewOutput, runOutputDesignModule);
    window.setModuleForm(Module::EsalData, runEsalData);
    window.setModuleForm(Module::TransferFunctions, runTransferFunctions);
}

}  // namespace ardelon::gui
