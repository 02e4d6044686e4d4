#include "gui/CriteriaForms.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "criteria/ResponseType.h"

namespace ardelon::gui {

namespace {

using Control = LayerCriteriaDialog::Control;

Control row(Control top, int position) {
    return LayerCriteriaDialog::control(top, position);
}

void setIndexQuietly(QComboBox* list, int index) {
    const QSignalBlocker block(list);
    list->setCurrentIndex(index);
}

QLabel* note(std::string_view text) {
    auto* label = new QLabel(toQString(text));
    label->setStyleSheet(QStringLiteral("color: #444;"));
    return label;
}

}  // namespace

LayerCriteriaForm::LayerCriteriaForm(LayerCriteriaDialog& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setObjectName(QStringLiteral("layerCriteriaForm"));
    setWindowTitle(toQString(LayerCriteriaDialog::kCaption));

    auto* layerRow = new QHBoxLayout;
    layerRow->addWidget(new QLabel(QStringLiteral("Layer")));
    auto* layer = bound(Control::Layer, new QLabel(QString::number(dialog.layer)));
    layer->setFrameShape(QFrame::StyledPanel);
    layer->setFrameShadow(QFrame::Sunken);
    layer->setMinimumWidth(36);
    layer->setAlignment(Qt::AlignCenter);
    layer->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; padding: 1px 4px; }"));
    layerRow->addWidget(layer);
    layerRow->addStretch();

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    const char* headings[] = {"Location",          "Response",          "Threshold", "",
                              "Target Percentile", "Transfer Function", "k1",        "k2"};
    for (int c = 0; c < 8; ++c) {
        auto* heading =
            new QLabel(QStringLiteral("<b>%1</b>").arg(QString::fromLatin1(headings[c])));
        grid->addWidget(heading, 0, c);
    }
    for (int p = Top; p <= Bottom; ++p) {
        const std::size_t i = at(p);
        active_[i] = bound(row(Control::ActiveTop, p),
                           new QCheckBox(toQString(LayerCriteriaDialog::kPositionNames[i])));
        type_[i] = bound(row(Control::TypeTop, p), new QComboBox);
        const int types = p == Bottom ? kResponseTypeCount : kResponseTypeCount - 1;
        for (int t = 0; t < types; ++t)
            type_[i]->addItem(toQString(kResponseTypeNames[t]));
        threshold_[i] = numberEdit(row(Control::ThresholdTop, p));
        unit_[i] = bound(row(Control::UnitTop, p), new QLabel);
        unit_[i]->setMinimumWidth(80);
        target_[i] = numberEdit(row(Control::TargetPercentileTop, p));
        transfer_[i] = bound(row(Control::TransferTop, p), new QCheckBox(QStringLiteral("Use")));
        k1_[i] = numberEdit(row(Control::K1Top, p));
        k2_[i] = numberEdit(row(Control::K2Top, p));
        for (NumberEdit* edit : {threshold_[i], target_[i], k1_[i], k2_[i]})
            edit->setMinimumWidth(90);
        QWidget* cells[] = {active_[i], type_[i],     threshold_[i], unit_[i],
                            target_[i], transfer_[i], k1_[i],        k2_[i]};
        for (int c = 0; c < 8; ++c)
            grid->addWidget(cells[c], p + 1, c);

        connect(active_[i], &QCheckBox::clicked, this,
                [this, p] { run([&] { dialog_.onActiveChanged(host(), p); }); });
        connect(type_[i], &QComboBox::activated, this,
                [this, p] { run([&] { dialog_.onResponseTypeChanged(host(), p); }); });
        connect(transfer_[i], &QCheckBox::clicked, this,
                [this, p] { run([&] { dialog_.onTransferFunctionChanged(host(), p); }); });
        // A threshold is stored when its edit is left.
        connect(threshold_[i], &NumberEdit::committed, this, [this] { run([] {}); });
    }

    // The Bottom position's allowable strain distribution.
    distributionBlock_ = new QGroupBox(QStringLiteral("Bottom: Horizontal Strain Distribution"));
    auto* block = new QGridLayout(distributionBlock_);
    block->addWidget(new QLabel(QStringLiteral("Percentile")), 0, 0);
    block->addWidget(new QLabel(QStringLiteral("Microstrain")), 1, 0);
    for (int level = 0; level < kDistributionLevels; ++level) {
        auto* label = new QLabel(QString::fromLatin1(
            LayerCriteriaDialog::kPercentileLabels[static_cast<std::size_t>(level)].data()));
        label->setAlignment(Qt::AlignCenter);
        block->addWidget(label, 0, level + 1);
        distribution_[at(level)] =
            numberEdit(static_cast<Control>(static_cast<int>(Control::Distribution95) + level));
        distribution_[at(level)]->setMaximumWidth(90);
        block->addWidget(distribution_[at(level)], 1, level + 1);
    }
    auto* loadDefault = bound(Control::LoadDefaultDistribution,
                              new QPushButton(QStringLiteral("Load Default Distribution")));
    auto* endurance = bound(Control::EnterEnduranceLimit,
                            new QPushButton(QStringLiteral("Enter Endurance Limit")));
    block->addWidget(loadDefault, 0, 6);
    block->addWidget(endurance, 1, 6);
    connect(loadDefault, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.onLoadDefaultDistribution(host()); }); });
    connect(endurance, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.onEnterEnduranceLimit(host()); }); });

    auto* notes = new QHBoxLayout;
    auto* signs = new QVBoxLayout;
    signs->addWidget(note(LayerCriteriaDialog::kSignNote));
    signs->addWidget(note(LayerCriteriaDialog::kTensionNote));
    signs->addWidget(note(LayerCriteriaDialog::kCompressionNote));
    signs->addWidget(note(LayerCriteriaDialog::kDeflectionNote));
    notes->addLayout(signs);
    notes->addStretch();
    notes->addWidget(note(LayerCriteriaDialog::kTransferNote), 0, Qt::AlignTop);

    auto* buttons = new QDialogButtonBox;
    accept_ = bound(Control::Accept, new QPushButton(QStringLiteral("Accept Changes")));
    accept_->setDefault(true);
    buttons->addButton(accept_, QDialogButtonBox::AcceptRole);
    buttons->addButton(bound(Control::Cancel, cancelButton(QStringLiteral("Cancel Changes"))),
                       QDialogButtonBox::RejectRole);
    connect(accept_, &QPushButton::clicked, this, &LayerCriteriaForm::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(layerRow);
    layout->addLayout(grid);
    layout->addWidget(distributionBlock_);
    layout->addLayout(notes);
    layout->addWidget(buttons);

    showMembers();
    run([&] { dialog_.onInitDialog(host()); });
    showFieldHints(dialog_);
}

void LayerCriteriaForm::showMembers() {
    for (int p = Top; p <= Bottom; ++p) {
        const std::size_t i = at(p);
        const CriterionSlot& s = dialog_.slot(p);
        {
            const QSignalBlocker block(active_[i]);
            active_[i]->setChecked(s.active != 0);
        }
        setIndexQuietly(type_[i], s.responseType);
        threshold_[i]->setNumber(dialog_.shownThreshold(p));
        unit_[i]->setText(toQString(dialog_.unitLabel(p)));
        target_[i]->setNumber(s.targetPercentile);
        {
            const QSignalBlocker block(transfer_[i]);
            transfer_[i]->setChecked(s.useTransferFunction != 0);
        }
        k1_[i]->setNumber(s.k1);
        k2_[i]->setNumber(s.k2);
    }
    for (int level = 0; level < kDistributionLevels; ++level) {
        distribution_[at(level)]->setNumber(dialog_.slot(Bottom).distribution[at(level)]);
    }
    // Visibility follows the slots; the block shows when its edits do.
    const Control rows[] = {
        Control::ActiveTop,           Control::TypeTop,     Control::ThresholdTop, Control::UnitTop,
        Control::TargetPercentileTop, Control::TransferTop, Control::K1Top,        Control::K2Top};
    for (int p = Top; p <= Bottom; ++p) {
        for (Control top : rows) {
            const Control control = row(top, p);
            if (QWidget* widget = host().control(static_cast<int>(control))) {
                widget->setVisible(dialog_.isVisible(control));
            }
        }
    }
    distributionBlock_->setVisible(dialog_.isVisible(Control::Distribution95));
}

void LayerCriteriaForm::readWidgets() {
    for (int p = Top; p <= Bottom; ++p) {
        const std::size_t i = at(p);
        CriterionSlot& s = dialog_.slot(p);
        s.active = active_[i]->isChecked() ? 1 : 0;
        if (type_[i]->currentIndex() >= 0)
            s.responseType = type_[i]->currentIndex();
        if (auto v = threshold_[i]->number())
            dialog_.setShownThreshold(p, *v);
        if (auto v = target_[i]->number())
            s.targetPercentile = *v;
        s.useTransferFunction = transfer_[i]->isChecked() ? 1 : 0;
        if (auto v = k1_[i]->number())
            s.k1 = *v;
        if (auto v = k2_[i]->number())
            s.k2 = *v;
    }
    for (int level = 0; level < kDistributionLevels; ++level) {
        if (auto v = distribution_[at(level)]->number()) {
            dialog_.slot(Bottom).distribution[at(level)] = *v;
        }
    }
}

void LayerCriteriaForm::accept() {
    if (!validateNumberEdits())
        return;
    bool mayClose = false;
    run([&] { mayClose = dialog_.onAccept(host()); });
    if (mayClose)
        QDialog::accept();
}

// ----- Endurance Limit --------------------------------------------------------------------------

EnduranceLimitForm::EnduranceLimitForm(EnduranceLimitDialog& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    using EControl = EnduranceLimitDialog::Control;
    setObjectName(QStringLiteral("enduranceLimitForm"));
    setWindowTitle(toQString(EnduranceLimitDialog::kCaption));
    limit_ = numberEdit(EControl::EnduranceLimit);
    limit_->setNumber(dialog.enduranceLimit);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(toQString(EnduranceLimitDialog::kFieldLabel)));
    row->addWidget(limit_);
    row->addWidget(new QLabel(toQString(EnduranceLimitDialog::kUnitLabel)));
    auto* buttons = new QDialogButtonBox;
    auto* ok = bound(EControl::Accept, new QPushButton(QStringLiteral("Accept Changes")));
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(bound(EControl::Cancel, cancelButton(QStringLiteral("Cancel Changes"))),
                       QDialogButtonBox::RejectRole);
    connect(ok, &QPushButton::clicked, this, &EnduranceLimitForm::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(note(EnduranceLimitDialog::kTensionNote));
    layout->addWidget(note(EnduranceLimitDialog::kCompressionNote));
    layout->addWidget(buttons);
    showFieldHints(dialog_);
}

void EnduranceLimitForm::accept() {
    if (!validateNumberEdits())
        return;
    dialog_.enduranceLimit = *limit_->number();
    QDialog::accept();
}

void registerCriteriaNestedForms() {
    static const bool registered =
        registerNestedForms({nestedForm<LayerCriteriaDialog, LayerCriteriaForm>(),
                             nestedForm<EnduranceLimitDialog, EnduranceLimitForm>()});
    (void)registered;
}

}  // namespace ardelon::gui
