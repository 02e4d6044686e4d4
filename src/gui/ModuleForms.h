#pragma once
// Binds the forms of the modules to the main window's module commands.

namespace ardelon::gui {

class MainWindow;

void installModuleForms(MainWindow& window);

}  // namespace ardelon::gui
