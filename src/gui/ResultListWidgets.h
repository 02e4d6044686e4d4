#pragma once
// The Output and Design module's two result lists as tree widgets: columns sized to their
// contents and a tooltip with the full text on every cell.

#include <QGroupBox>
#include <QTreeWidget>

#include "output/ReportListView.h"

namespace ardelon::gui {

QTreeWidget* reportList();
// Shows the columns and rows the dialog filled; no columns before the first run.
void showList(QTreeWidget* widget, const ReportListView& list);
QGroupBox* listBox(const char* title, QTreeWidget* list);

}  // namespace ardelon::gui
