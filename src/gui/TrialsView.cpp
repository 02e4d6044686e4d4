#include "gui/TrialsView.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollArea>
#include <QShortcut>
#include <QVBoxLayout>

#include "charts/FigureCharts.h"
#include "figures/FigureData.h"

namespace ardelon::gui {
namespace {

QColor verdictColour(Verdict verdict) {
    switch (verdict) {
        case Verdict::Pass:
            return {0xd8, 0xf0, 0xd8};
        case Verdict::Fail:
            return {0xf6, 0xd0, 0xd0};
        case Verdict::Undecided:
            break;
    }
    return {0xf8, 0xec, 0xc8};
}

}  // namespace

// ----- the name of a trial
// ------------------------------------------------------------------------

TrialNameForm::TrialNameForm(CTrialNameDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setWindowTitle(toQString(dialog_.caption()));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(toQString(CTrialNameDlg::kPrompt)));
    name_ = bound(CTrialNameDlg::Control::Name, new QLineEdit(toQString(dialog_.name)));
    name_->setMinimumWidth(280);
    name_->selectAll();
    layout->addWidget(name_);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TrialNameForm::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancelButton(QStringLiteral("Cancel")));
    layout->addLayout(buttons);
}

void TrialNameForm::accept() {
    dialog_.name = name_->text().toStdString();
    if (dialog_.onOK(host()))
        QDialog::accept();
}

void registerTrialNestedForms() {
    static const bool registered = [] {
        registerNestedForm([](ModalDialog& dialog, QWidget* parent) -> std::optional<bool> {
            if (auto* name = dynamic_cast<CTrialNameDlg*>(&dialog)) {
                TrialNameForm form(*name, parent);
                return form.exec() == QDialog::Accepted;
            }
            return std::nullopt;
        });
        return true;
    }();
    (void)registered;
}

// ----- the Trials view
// ----------------------------------------------------------------------------

TrialsView::TrialsView(CTrialsDlg& dialog, QWidget* parent) : FormBase(parent), dialog_(dialog) {
    registerTrialNestedForms();
    setWindowTitle(toQString(CTrialsDlg::kCaption));
    table_ = bound(Control::Table, new QTableWidget);
    table_->setSelectionBehavior(QAbstractItemView::SelectColumns);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->horizontalHeader()->setDefaultSectionSize(220);
    table_->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TrialsView::selectionChanged);

    note_ = new QLabel;
    note_->setObjectName(QStringLiteral("trialsNote"));
    note_->setWordWrap(true);
    overlayPage_ = new QWidget;
    auto* overlayScroll = new QScrollArea;
    overlayScroll->setWidget(overlayPage_);
    overlayScroll->setWidgetResizable(true);
    auto* overlayLayout = new QGridLayout(overlayPage_);
    overlayLayout->addWidget(
        new QLabel(QStringLiteral("Compare two or more trials to overlay their distributions.")), 0,
        0);
    tabs_ = new QTabWidget;
    tabs_->addTab(table_, QStringLiteral("Side by Side"));
    tabs_->addTab(overlayScroll, QStringLiteral("Distributions"));

    progress_ = new QProgressBar;
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(14);
    progress_->setValue(0);

    auto* load = bound(Control::LoadTrial, new QPushButton(QStringLiteral("Load Trial")));
    auto* rename = bound(Control::RenameTrial, new QPushButton(QStringLiteral("Rename...")));
    auto* remove = bound(Control::DeleteTrial, new QPushButton(QStringLiteral("Delete")));
    auto* compare = bound(Control::Compare, new QPushButton(QStringLiteral("Compare")));
    cancel_ = new QPushButton(QStringLiteral("Cancel"));
    cancel_->setObjectName(QStringLiteral("cancelCompare"));
    cancel_->setEnabled(false);
    auto* close = bound(Control::Close, new QPushButton(QStringLiteral("Close")));
    close->setDefault(true);
    load->setToolTip(QStringLiteral("Put the selected trial's inputs back into the project"));
    compare->setToolTip(
        QStringLiteral("Analyse the selected trials from the same seed for the same cycles and "
                       "show their paired differences"));
    connect(load, &QPushButton::clicked, this, [this] {
        bool loaded = false;
        run([&] { loaded = dialog_.onLoadTrial(host()); });
        if (loaded)
            QDialog::accept();
    });
    connect(rename, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.onRenameTrial(host()); }); });
    connect(remove, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.onDeleteTrials(host()); }); });
    connect(compare, &QPushButton::clicked, this, [this] { startCompare(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelRequested_ = true; });
    connect(close, &QPushButton::clicked, this, &TrialsView::reject);
    auto* f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    connect(f2, &QShortcut::activated, rename, &QPushButton::click);
    auto* del = new QShortcut(QKeySequence::Delete, this);
    connect(del, &QShortcut::activated, remove, &QPushButton::click);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {load, rename, remove, compare, cancel_})
        buttons->addWidget(b);
    buttons->addWidget(progress_, 1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note_);
    layout->addWidget(tabs_, 1);
    layout->addLayout(buttons);

    dialog_.onInitDialog(host());
    showMembers();
    resize(1100, 620);
}

TrialsView::~TrialsView() {
    stopWorker();
}

QPushButton* TrialsView::button(Control control) const {
    return qobject_cast<QPushButton*>(
        const_cast<TrialsView*>(this)->host().control(static_cast<int>(control)));
}

void TrialsView::showMembers() {
    showing_ = true;
    const auto& trials = dialog_.trials;
    const auto& rows = dialog_.rows;
    table_->clear();
    table_->setColumnCount(static_cast<int>(trials.size()));
    table_->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t c = 0; c < trials.size(); ++c) {
        QString heading = toQString(trials[c].name);
        if (static_cast<int>(c) == dialog_.cheapestPassing)
            heading += QStringLiteral("\n\u2605 ") + toQString(CTrialsDlg::kCheapestPassing);
        auto* head = new QTableWidgetItem(heading);
        if (static_cast<int>(c) == dialog_.cheapestPassing) {
            QFont bold = head->font();
            bold.setBold(true);
            head->setFont(bold);
        }
        table_->setHorizontalHeaderItem(static_cast<int>(c), head);
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        table_->setVerticalHeaderItem(static_cast<int>(r),
                                      new QTableWidgetItem(toQString(rows[r].label)));
        for (std::size_t c = 0; c < rows[r].cells.size(); ++c) {
            const TrialCell& cell = rows[r].cells[c];
            auto* item = new QTableWidgetItem(toQString(cell.text));
            if (!cell.text.empty())
                item->setToolTip(item->text());
            if (cell.verdict) {
                item->setBackground(verdictColour(*cell.verdict));
                item->setForeground(Qt::black);
            }
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    QItemSelection chosen;
    for (int c : dialog_.selection) {
        if (c < table_->columnCount() && table_->rowCount() > 0)
            chosen.select(table_->model()->index(0, c),
                          table_->model()->index(table_->rowCount() - 1, c));
    }
    table_->selectionModel()->select(chosen, QItemSelectionModel::ClearAndSelect);
    table_->resizeColumnsToContents();
    std::string note = trials.empty() ? kNoTrialsText : kHintText;
    if (!dialog_.comparisonNote.empty())
        note = dialog_.comparisonNote + " " + note;
    note_->setText(toQString(note));
    showing_ = false;
}

void TrialsView::readWidgets() {
    // The columns selected, as the rules act on them.
    std::vector<int> columns;
    for (const QModelIndex& index : table_->selectionModel()->selectedColumns())
        columns.push_back(index.column());
    if (columns != dialog_.selection)
        dialog_.onSelectionChanged(host(), std::move(columns));
}

void TrialsView::selectionChanged() {
    if (showing_)
        return;
    readWidgets();
    if (comparing()) {
        for (Control c :
             {Control::LoadTrial, Control::RenameTrial, Control::DeleteTrial, Control::Compare})
            button(c)->setEnabled(false);
    }
}

void TrialsView::startCompare() {
    if (comparing())
        return;
    runOptions_ = dialog_.prepareCompare(host());
    if (!runOptions_)
        return;
    cancelRequested_ = false;
    runOptions_->cancel = &cancelRequested_;
    runOptions_->progress = [this](int done, int total) {
        QMetaObject::invokeMethod(
            this,
            [this, done, total] {
                progress_->setRange(0, total);
                progress_->setValue(done);
            },
            Qt::QueuedConnection);
    };
    for (Control c : {Control::LoadTrial, Control::RenameTrial, Control::DeleteTrial,
                      Control::Compare, Control::Close})
        button(c)->setEnabled(false);
    cancel_->setEnabled(true);
    note_->setText(
        QStringLiteral("Comparing %1 trials from the same draws...").arg(dialog_.selection.size()));
    worker_ = std::thread([this] {
        result_ = dialog_.runCompare(*runOptions_);
        QMetaObject::invokeMethod(
            this, [this] { endCompare(); }, Qt::QueuedConnection);
    });
}

void TrialsView::endCompare() {
    if (worker_.joinable())
        worker_.join();
    cancel_->setEnabled(false);
    button(Control::Close)->setEnabled(true);
    run([&] { dialog_.finishCompare(host(), std::move(*result_), *runOptions_); });
    result_.reset();
    runOptions_.reset();
    progress_->setValue(0);
    dialog_.onSelectionChanged(host(), dialog_.selection);
    showOverlays();
    Q_EMIT compareEnded();
}

void TrialsView::showOverlays() {
    if (!dialog_.comparison)
        return;
    const std::vector<std::string> names = dialog_.comparedNames();
    std::vector<std::vector<ResponseDistribution>> figures;
    for (const ComparedDesign& design : dialog_.comparison->designs)
        figures.push_back(responseDistributions(design.run.work, design.run.outcome.results));
    auto* grid = static_cast<QGridLayout*>(overlayPage_->layout());
    while (QLayoutItem* item = grid->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    charts_.clear();
    // One chart per criterion of the first trial, with each trial that judges it alike.
    for (const ResponseDistribution& reference : figures.front()) {
        std::vector<std::string> designs;
        std::vector<ResponseDistribution> same;
        for (std::size_t i = 0; i < figures.size(); ++i) {
            for (const ResponseDistribution& f : figures[i]) {
                if (f.name.slot == reference.name.slot && f.name.title == reference.name.title) {
                    designs.push_back(names[i]);
                    same.push_back(f);
                    break;
                }
            }
        }
        QChartView* view =
            chartView(distributionOverlayChart(designs, same, dialog_.project().unitSystem));
        grid->addWidget(view, charts_.size() / 2, charts_.size() % 2);
        charts_ << view;
    }
}

void TrialsView::stopWorker() {
    if (worker_.joinable()) {
        cancelRequested_ = true;
        worker_.join();
    }
}

void TrialsView::reject() {
    if (comparing())
        return;  // Cancel the comparison first
    QDialog::reject();
}

}  // namespace ardelon::gui
