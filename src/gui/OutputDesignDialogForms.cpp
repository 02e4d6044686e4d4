#include "gui/OutputDesignDialogForms.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "gui/InfoDialogs.h"
#include "output/CDisclaimerDlg.h"

namespace ardelon::gui {

// ----- Monte Carlo Cycles -----------------------------------------------------------------------

MonteCarloCyclesForm::MonteCarloCyclesForm(CMonteCarloCyclesDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setWindowTitle(toQString(CMonteCarloCyclesDlg::kCaption));
    cycles_ = numberEdit(CMonteCarloCyclesDlg::Control::Cycles, NumberEdit::Kind::Integer);
    cycles_->setObjectName(QStringLiteral("cycles"));
    cycles_->setInteger(dialog_.cycles);
    seed_ = bound(CMonteCarloCyclesDlg::Control::Seed, new QLineEdit);
    seed_->setText(toQString(dialog_.seedText));
    seed_->setPlaceholderText(QStringLiteral("from the clock"));
    seed_->setToolTip(
        QStringLiteral("Seed of the sampling, 0 to 4294967295; the same seed repeats a run "
                       "exactly. Blank: a new seed from the clock for every run."));
    untilSettled_ = new QCheckBox(toQString(CMonteCarloCyclesDlg::kUntilSettledText));
    untilSettled_->setObjectName(QStringLiteral("untilSettled"));
    untilSettled_->setChecked(dialog_.untilSettled);
    untilSettled_->setToolTip(
        QStringLiteral("Run in blocks until every row's verdict is settled (Pass or Fail at 95 % "
                       "confidence), or until the most cycles have run"));
    maxCycles_ = numberEdit(CMonteCarloCyclesDlg::Control::MaxCycles, NumberEdit::Kind::Integer);
    maxCycles_->setObjectName(QStringLiteral("maxCycles"));
    maxCycles_->setInteger(dialog_.maxCycles);
    auto follow = [this] {
        cycles_->setEnabled(!untilSettled_->isChecked());
        maxCycles_->setEnabled(untilSettled_->isChecked());
    };
    connect(untilSettled_, &QCheckBox::toggled, this, follow);
    follow();
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &MonteCarloCyclesForm::accept);
    auto* row = new QGridLayout;
    row->addWidget(new QLabel(toQString(CMonteCarloCyclesDlg::kLabel)), 0, 0);
    row->addWidget(cycles_, 0, 1);
    row->addWidget(new QLabel(toQString(CMonteCarloCyclesDlg::kSeedLabel)), 1, 0);
    row->addWidget(seed_, 1, 1);
    row->addWidget(untilSettled_, 2, 0, 1, 2);
    row->addWidget(new QLabel(toQString(CMonteCarloCyclesDlg::kMaxCyclesLabel)), 3, 0);
    row->addWidget(maxCycles_, 3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancelButton(QStringLiteral("Cancel")));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    showFieldHints(dialog_);
}

void MonteCarloCyclesForm::accept() {
    if (!validateNumberEdits())
        return;
    if (auto value = cycles_->integer())
        dialog_.cycles = *value;
    dialog_.untilSettled = untilSettled_->isChecked();
    if (auto value = maxCycles_->integer())
        dialog_.maxCycles = *value;
    dialog_.seedText = seed_->text().toStdString();
    if (dialog_.onOk(host()))
        QDialog::accept();
}

// ----- Please Note... ---------------------------------------------------------------------------

PleaseNoteForm::PleaseNoteForm(CPleaseNoteDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setWindowTitle(toQString(CPleaseNoteDlg::kCaption));
    auto* layout = new QVBoxLayout(this);
    for (std::string_view line : CPleaseNoteDlg::kLines)
        layout->addWidget(new QLabel(toQString(line)));
    doNotWarn_ = new QCheckBox(toQString(CPleaseNoteDlg::kCheckBoxText));
    doNotWarn_->setChecked(dialog_.doNotWarn);
    layout->addWidget(doNotWarn_);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &PleaseNoteForm::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancelButton(QStringLiteral("Cancel")));
    layout->addLayout(buttons);
}

void PleaseNoteForm::accept() {
    dialog_.doNotWarn = doNotWarn_->isChecked();
    QDialog::accept();
}

// ----- Cost Analysis ----------------------------------------------------------------------------

CostAnalysisForm::CostAnalysisForm(CCostAnalysisDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setWindowTitle(toQString(CCostAnalysisDlg::kCaption));
    auto* grid = new QGridLayout;
    auto* laneRow = new QHBoxLayout;
    laneWidth_ = numberEdit(Control::LaneWidth);
    laneWidth_->setMaximumWidth(70);
    units_[0] = new QLabel;
    laneRow->addWidget(new QLabel(QStringLiteral("Lane Width")));
    laneRow->addWidget(laneWidth_);
    laneRow->addWidget(units_[0]);
    laneRow->addStretch();
    const QStringList heads{QStringLiteral("Approx. Density"), QStringLiteral("Cost ($) per Ton"),
                            QStringLiteral("Cost ($) per")};
    for (int c = 0; c < 3; ++c) {
        auto* head = new QLabel(heads[c]);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, c + 1);
        units_[static_cast<std::size_t>(c + 1)] = new QLabel;
        units_[static_cast<std::size_t>(c + 1)]->setAlignment(Qt::AlignCenter);
        grid->addWidget(units_[static_cast<std::size_t>(c + 1)], 1, c + 1);
    }
    for (int layer = 1; layer <= kThicknessCount; ++layer) {
        const auto i = static_cast<std::size_t>(layer - 1);
        grid->addWidget(new QLabel(QStringLiteral("Layer %1").arg(layer)), layer + 1, 0);
        density_[i] =
            numberEdit(static_cast<Control>(static_cast<int>(Control::Density1) + layer - 1));
        costPerTon_[i] =
            numberEdit(static_cast<Control>(static_cast<int>(Control::CostPerTon1) + layer - 1));
        layerCost_[i] = bound(
            static_cast<Control>(static_cast<int>(Control::LayerCost1) + layer - 1), new QLineEdit);
        layerCost_[i]->setReadOnly(true);
        grid->addWidget(density_[i], layer + 1, 1);
        grid->addWidget(costPerTon_[i], layer + 1, 2);
        grid->addWidget(layerCost_[i], layer + 1, 3);
    }
    calculate_ = bound(Control::Calculate, new QPushButton(QStringLiteral("Calculate")));
    total_ = bound(Control::Total, new QLineEdit);
    total_->setReadOnly(true);
    grid->addWidget(calculate_, kThicknessCount + 2, 1);
    auto* totalLabel = new QLabel(QStringLiteral("Total ($)"));
    totalLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(totalLabel, kThicknessCount + 2, 2);
    grid->addWidget(total_, kThicknessCount + 2, 3);
    connect(calculate_, &QPushButton::clicked, this, [this] {
        if (!validateNumberEdits())
            return;
        readWidgets();
        dialog_.calculateCosts(host());
        showMembers();
    });

    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CostAnalysisForm::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cancelButton(QStringLiteral("Cancel")));
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(laneRow);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    dialog_.onInitDialog(host());
    showMembers();
    showFieldHints(dialog_);
}

void CostAnalysisForm::showMembers() {
    laneWidth_->setNumber(dialog_.laneWidth);
    for (std::size_t i = 0; i < density_.size(); ++i) {
        density_[i]->setNumber(dialog_.density[i]);
        costPerTon_[i]->setNumber(dialog_.costPerTon[i]);
        layerCost_[i]->setText(QString::number(dialog_.layerCost[i], 'f', 2));
    }
    total_->setText(QString::number(dialog_.totalCost, 'f', 2));
    units_[0]->setText(toQString(dialog_.laneWidthUnit));
    units_[1]->setText(toQString(dialog_.densityUnit));
    units_[2]->setText(toQString(dialog_.tonUnit));
    units_[3]->setText(toQString(dialog_.lengthUnit));
}

void CostAnalysisForm::readWidgets() {
    if (auto v = laneWidth_->number())
        dialog_.laneWidth = *v;
    for (std::size_t i = 0; i < density_.size(); ++i) {
        if (!density_[i]->isEnabled())
            continue;
        if (auto v = density_[i]->number())
            dialog_.density[i] = *v;
        if (auto v = costPerTon_[i]->number())
            dialog_.costPerTon[i] = *v;
    }
}

void CostAnalysisForm::accept() {
    if (!validateNumberEdits())
        return;
    readWidgets();
    QDialog::accept();
}

// ----- the module -------------------------------------------------------------------------------

void registerOutputDesignNestedForms() {
    static const bool registered = registerNestedForms({
        nestedForm<CMonteCarloCyclesDlg, MonteCarloCyclesForm>(),
        nestedForm<CPleaseNoteDlg, PleaseNoteForm>(),
        nestedForm<CDisclaimerDlg, DisclaimerDialog>(),
        nestedForm<CCostAnalysisDlg, CostAnalysisForm>(),
    });
    (void)registered;
}

}  // namespace ardelon::gui
