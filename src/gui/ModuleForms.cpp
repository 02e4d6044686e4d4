#include "gui/ModuleForms.h"

#include "gui/MainWindow.h"
#include "gui/StructureForm.h"
#include "gui/TransferFunctionsForm.h"

namespace ardelon::gui {

void installModuleForms(MainWindow& window) {
    window.setModuleForm(Module::Structure, runStructureModule);
    window.setModuleForm(Module::TransferFunctions, runTransferFunctions);
}

}  // namespace ardelon::gui
