#include "gui/ResultListWidgets.h"

#include <QHeaderView>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/QtDialogHost.h"

namespace ardelon::gui {

QTreeWidget* reportList() {
    auto* list = new QTreeWidget;
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setColumnCount(0);
    list->setHeaderLabels({});
    list->header()->setStretchLastSection(false);
    list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return list;
}

void showList(QTreeWidget* widget, const ReportListView& list) {
    widget->clear();
    QStringList headings;
    for (const ListColumn& column : list.columns)
        headings << toQString(column.heading);
    widget->setColumnCount(static_cast<int>(headings.size()));
    widget->setHeaderLabels(headings);
    widget->header()->setVisible(!headings.isEmpty());
    for (const auto& row : list.rows) {
        QStringList texts;
        for (const std::string& cell : row)
            texts << toQString(cell);
        auto* item = new QTreeWidgetItem(texts);
        for (int c = 0; c < texts.size(); ++c) {
            if (!texts[c].isEmpty())
                item->setToolTip(c, texts[c]);
        }
        widget->addTopLevelItem(item);
    }
    // Each column is as wide as its title and its longest cell, and never narrower than the
    // width the list gives it.
    for (std::size_t c = 0; c < list.columns.size(); ++c) {
        const int column = static_cast<int>(c);
        widget->resizeColumnToContents(column);
        widget->setColumnWidth(column,
                               std::max(widget->columnWidth(column), list.columns[c].widthPixels));
    }
}

QGroupBox* listBox(const char* title, QTreeWidget* list) {
    auto* box = new QGroupBox(QString::fromLatin1(title));
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(list);
    return box;
}

}  // namespace ardelon::gui
