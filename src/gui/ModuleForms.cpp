#include "gui/ModuleForms.h"

#include "gui/MainWindow.h"

namespace ardelon::gui {

void installModuleForms(MainWindow& window) {
    // Each module form registers here as its dialog class becomes available.
    (void)window;
}

}  // namespace ardelon::gui
