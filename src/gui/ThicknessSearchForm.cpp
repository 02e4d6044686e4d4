#include "gui/ThicknessSearchForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMetaObject>
#include <QVBoxLayout>

#include "gui/QtDialogHost.h"

namespace ardelon::gui {
namespace {

using Control = CThicknessSearchDlg::Control;

Control layerControl(Control first, std::size_t layerIndex) {
    return static_cast<Control>(static_cast<int>(first) + static_cast<int>(layerIndex));
}

// A table cell that sorts numbers as numbers.
QTableWidgetItem* cell(const std::string& text) {
    auto* item = new QTableWidgetItem;
    bool isNumber = false;
    const double value = QString::fromStdString(text).toDouble(&isNumber);
    if (isNumber)
        item->setData(Qt::DisplayRole, value);
    else
        item->setText(QString::fromStdString(text));
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

}  // namespace

ThicknessSearchForm::ThicknessSearchForm(CThicknessSearchDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setWindowTitle(toQString(CThicknessSearchDlg::kCaption));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Vary")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Minimum")), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Maximum")), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("Step")), 0, 3);
    for (std::size_t i = 0; i < kThicknessCount; ++i) {
        vary_[i] = bound(layerControl(Control::Vary1, i),
                         new QCheckBox(QStringLiteral("Layer %1").arg(i + 1)));
        min_[i] = numberEdit(layerControl(Control::Min1, i));
        max_[i] = numberEdit(layerControl(Control::Max1, i));
        step_[i] = numberEdit(layerControl(Control::Step1, i));
        const int row = static_cast<int>(i) + 1;
        grid->addWidget(vary_[i], row, 0);
        grid->addWidget(min_[i], row, 1);
        grid->addWidget(max_[i], row, 2);
        grid->addWidget(step_[i], row, 3);
    }
    life_ = numberEdit(Control::DesignLife);
    cycles_ = numberEdit(Control::Cycles, NumberEdit::Kind::Integer);
    seed_ = numberEdit(Control::Seed);  // seeds go beyond the integer edit's range
    seed_->setRange(0, CThicknessSearchDlg::kMaxSeed);
    verify_ = bound(Control::Verify,
                    new QCheckBox(QStringLiteral("Verify the winner (seed + 1, 4 x cycles)")));
    auto* settings = new QGridLayout;
    settings->addWidget(new QLabel(QStringLiteral("Design life, years (0: none)")), 0, 0);
    settings->addWidget(life_, 0, 1);
    settings->addWidget(new QLabel(QStringLiteral("Monte Carlo cycles")), 1, 0);
    settings->addWidget(cycles_, 1, 1);
    settings->addWidget(new QLabel(QStringLiteral("Seed")), 2, 0);
    settings->addWidget(seed_, 2, 1);
    settings->addWidget(verify_, 3, 0, 1, 2);

    auto* assumption = new QLabel(toQString(kThicknessSearchAssumption));
    assumption->setWordWrap(true);
    search_ = bound(Control::Search, new QPushButton(QStringLiteral("Search")));
    cancelSearch_ = bound(Control::CancelSearch, new QPushButton(QStringLiteral("Cancel")));
    progress_ = bound(Control::Progress, new QProgressBar);
    progress_->setValue(0);
    table_ = bound(Control::CandidateTable, new QTableWidget);
    table_->setSortingEnabled(true);
    table_->verticalHeader()->setVisible(false);
    table_->setMinimumHeight(120);  // the rest of the form still fits a laptop screen
    summary_ = bound(Control::Summary, new QLabel);
    summary_->setWordWrap(true);
    // Room for the summary's lines below the table, however they wrap.
    summary_->setMinimumHeight(summary_->fontMetrics().lineSpacing() * 4);
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    useDesign_ =
        bound(Control::UseDesign, new QPushButton(toQString(CThicknessSearchDlg::kUseDesignText)));
    auto* close = new QPushButton(QStringLiteral("Close"));

    auto* runRow = new QHBoxLayout;
    runRow->addWidget(search_);
    runRow->addWidget(cancelSearch_);
    runRow->addWidget(progress_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(close);
    buttons->addStretch();
    buttons->addWidget(useDesign_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(settings);
    layout->addWidget(assumption);
    layout->addLayout(runRow);
    layout->addWidget(table_, 1);
    layout->addWidget(summary_);
    layout->addLayout(buttons);

    connect(search_, &QPushButton::clicked, this, [this] { startSearch(); });
    connect(cancelSearch_, &QPushButton::clicked, this, [this] { dialog_.cancelRequested = true; });
    connect(close, &QPushButton::clicked, this, &ThicknessSearchForm::reject);
    connect(useDesign_, &QPushButton::clicked, this, [this] {
        if (!running() && dialog_.onUseDesign(host()))
            QDialog::accept();
    });
    dialog_.onInitDialog(host());
    showMembers();
    // Tall enough for every row of the layout with the summary's lines below the table: a
    // smaller window would lay the summary over the table.
    resize(760, 760);
    showFieldHints(dialog_);
}

ThicknessSearchForm::~ThicknessSearchForm() {
    dialog_.cancelRequested = true;
    if (worker_.joinable())
        worker_.join();
}

void ThicknessSearchForm::showMembers() {
    for (std::size_t i = 0; i < kThicknessCount; ++i) {
        vary_[i]->setChecked(dialog_.vary[i]);
        min_[i]->setNumber(dialog_.minThickness[i]);
        max_[i]->setNumber(dialog_.maxThickness[i]);
        step_[i]->setNumber(dialog_.step[i]);
    }
    life_->setNumber(dialog_.designLifeYears);
    cycles_->setInteger(dialog_.cycles);
    seed_->setNumber(static_cast<double>(dialog_.seed));
    verify_->setChecked(dialog_.verify);
    summary_->setText(toQString(dialog_.summary));
    table_->setSortingEnabled(false);
    table_->clear();
    table_->setColumnCount(static_cast<int>(dialog_.columns.size()));
    QStringList headings;
    for (const std::string& c : dialog_.columns)
        headings << toQString(c);
    table_->setHorizontalHeaderLabels(headings);
    table_->setRowCount(static_cast<int>(dialog_.rows.size()));
    for (std::size_t r = 0; r < dialog_.rows.size(); ++r) {
        for (std::size_t c = 0; c < dialog_.rows[r].size(); ++c)
            table_->setItem(static_cast<int>(r), static_cast<int>(c), cell(dialog_.rows[r][c]));
    }
    table_->setSortingEnabled(true);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->resizeColumnsToContents();  // every column, "Fails" too, shows its whole text
}

void ThicknessSearchForm::readWidgets() {
    for (std::size_t i = 0; i < kThicknessCount; ++i) {
        dialog_.vary[i] = vary_[i]->isChecked();
        if (auto v = min_[i]->number())
            dialog_.minThickness[i] = *v;
        if (auto v = max_[i]->number())
            dialog_.maxThickness[i] = *v;
        if (auto v = step_[i]->number())
            dialog_.step[i] = *v;
    }
    if (auto v = life_->number())
        dialog_.designLifeYears = *v;
    if (auto v = cycles_->integer())
        dialog_.cycles = *v;
    if (auto v = seed_->number())
        dialog_.seed = static_cast<std::uint32_t>(*v);
    dialog_.verify = verify_->isChecked();
}

void ThicknessSearchForm::startSearch() {
    if (running() || !validateNumberEdits())
        return;
    readWidgets();
    options_ = dialog_.prepareSearch(host());
    if (!options_)
        return;
    options_->progress = [this](const ThicknessSearchProgress& p) {
        QMetaObject::invokeMethod(
            this,
            [this, p] {
                progress_->setRange(0, p.candidateCount);
                progress_->setValue(p.candidatesEvaluated);
                progress_->setFormat(QStringLiteral("%1 of at most %2 candidates, %3 cycles")
                                         .arg(p.candidatesEvaluated)
                                         .arg(p.candidateCount)
                                         .arg(static_cast<qlonglong>(p.cyclesRun)));
            },
            Qt::QueuedConnection);
    };
    search_->setEnabled(false);
    useDesign_->setEnabled(false);
    cancelSearch_->setEnabled(true);
    lockInputs(true);
    verified_.reset();
    worker_ = std::thread([this] {
        dialog_.runSearch(*options_, searched_, verified_);
        QMetaObject::invokeMethod(
            this, [this] { endSearch(); }, Qt::QueuedConnection);
    });
}

void ThicknessSearchForm::endSearch() {
    if (worker_.joinable())
        worker_.join();
    search_->setEnabled(true);
    cancelSearch_->setEnabled(false);
    lockInputs(false);
    dialog_.finishSearch(host(), std::move(searched_), std::move(verified_));
    searched_ = {};
    verified_.reset();
    options_.reset();
    showMembers();
    Q_EMIT searchEnded();
}

void ThicknessSearchForm::lockInputs(bool locked) {
    for (std::size_t i = 0; i < kThicknessCount; ++i) {
        for (QWidget* input : std::initializer_list<QWidget*>{vary_[i], min_[i], max_[i], step_[i]})
            input->setEnabled(!locked);
    }
    for (QWidget* input : std::initializer_list<QWidget*>{life_, cycles_, seed_, verify_})
        input->setEnabled(!locked);
}

void ThicknessSearchForm::reject() {
    dialog_.cancelRequested = true;
    if (worker_.joinable())
        worker_.join();
    dialog_.chosenThickness.reset();
    QDialog::reject();
}

}  // namespace ardelon::gui
