#include "gui/StructureForm.h"

#include "gui/CriteriaForms.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ardelon::gui {

namespace {

using Control = CStructureDlg::Control;

QString fieldText(double value) {
    return numberText(value);
}

// The read-only range fields of a layer: numbers, right-aligned.
QLabel* rangeField() {
    return readOnlyField(86, Qt::AlignRight | Qt::AlignVCenter);
}

QLabel* rowLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

void setIndexQuietly(QComboBox* list, int index) {
    const QSignalBlocker block(list);
    list->setCurrentIndex(index);
}

}  // namespace

StructureForm::StructureForm(CStructureDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setObjectName(QStringLiteral("structureForm"));
    setWindowTitle(toQString(CStructureDlg::kCaption));

    // The layer table: one column per layer, one row per property.
    auto* layers = new QGroupBox(QStringLiteral("Pavement Structure"));
    auto* grid = new QGridLayout(layers);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(5);
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        auto* heading = new QLabel(QStringLiteral("<b>Layer %1</b>").arg(layer));
        heading->setAlignment(Qt::AlignCenter);
        grid->addWidget(heading, 0, layer);
    }
    const char* rows[] = {"Material Type",   "PG Grade",  "Min Modulus", "Modulus", "Max Modulus",
                          "Poisson's Ratio", "Min - Max", "Thickness",   "",        ""};
    for (int row = 0; row < 10; ++row)
        grid->addWidget(rowLabel(QString::fromLatin1(rows[row])), row + 1, 0);

    for (int layer = 1; layer <= kLayerCount; ++layer) {
        const std::size_t l = layerIndex(layer);
        auto* material = bound(CStructureDlg::materialList(layer), new QComboBox);
        for (int i = 0; i < materialListSize(layer); ++i) {
            material->addItem(toQString(materialName(materialOf(layer, i))));
        }
        material_[l] = material;
        grid->addWidget(material, 1, layer);
        connect(material, &QComboBox::activated, this,
                [this, layer] { run([&] { dialog_.onMaterialChanged(host(), layer); }); });

        if (layer <= kThicknessCount) {
            auto* high = bound(CStructureDlg::pgHighList(layer), new QComboBox);
            auto* low = bound(CStructureDlg::pgLowList(layer), new QComboBox);
            for (auto grade : kPgHighGrades)
                high->addItem(toQString(grade));
            for (auto grade : kPgLowGrades)
                low->addItem(toQString(grade));
            pgHigh_[l] = high;
            pgLow_[l] = low;
            auto* pair = new QHBoxLayout;
            pair->setSpacing(2);
            pair->addWidget(high);
            pair->addWidget(low);
            grid->addLayout(pair, 2, layer);
            connect(high, &QComboBox::activated, this,
                    [this, layer] { run([&] { dialog_.onPgHighChanged(host(), layer); }); });
            connect(low, &QComboBox::activated, this,
                    [this, layer] { run([&] { dialog_.onPgLowChanged(host(), layer); }); });
        }

        minModulus_[l] = bound(CStructureDlg::minModulusField(layer), rangeField());
        grid->addWidget(minModulus_[l], 3, layer);
        modulus_[l] = numberEdit(CStructureDlg::modulusEdit(layer));
        modulus_[l]->setAlignment(Qt::AlignRight);
        grid->addWidget(modulus_[l], 4, layer);
        connect(modulus_[l], &NumberEdit::committed, this,
                [this, layer] { run([&] { dialog_.onModulusChanged(host(), layer); }); });
        maxModulus_[l] = bound(CStructureDlg::maxModulusField(layer), rangeField());
        grid->addWidget(maxModulus_[l], 5, layer);

        poisson_[l] = numberEdit(CStructureDlg::poissonEdit(layer));
        poisson_[l]->setAlignment(Qt::AlignRight);
        grid->addWidget(poisson_[l], 6, layer);
        connect(poisson_[l], &NumberEdit::committed, this,
                [this, layer] { run([&] { dialog_.onPoissonChanged(host(), layer); }); });
        poissonRange_[l] = rangeField();
        poissonRange_[l]->setAlignment(Qt::AlignCenter);
        grid->addWidget(poissonRange_[l], 7, layer);

        if (layer <= kThicknessCount) {
            thickness_[l] = numberEdit(CStructureDlg::thicknessEdit(layer));
            thickness_[l]->setAlignment(Qt::AlignRight);
            grid->addWidget(thickness_[l], 8, layer);
            connect(thickness_[l], &NumberEdit::committed, this,
                    [this, layer] { run([&] { dialog_.onThicknessChanged(host(), layer); }); });
        } else {
            auto* infinite = new QLabel(QStringLiteral("Infinite"));
            infinite->setAlignment(Qt::AlignCenter);
            grid->addWidget(infinite, 8, layer);
        }

        variability_[l] = bound(CStructureDlg::variabilityButton(layer),
                                new QPushButton(QStringLiteral("Variability")));
        grid->addWidget(variability_[l], 9, layer);
        connect(variability_[l], &QPushButton::clicked, this,
                [this, layer] { run([&] { dialog_.onVariability(host(), layer); }); });
        criteria_[l] = bound(CStructureDlg::criteriaButton(layer),
                             new QPushButton(QStringLiteral("Performance Criteria")));
        grid->addWidget(criteria_[l], 10, layer);
        connect(criteria_[l], &QPushButton::clicked, this,
                [this, layer] { run([&] { dialog_.onCriteria(host(), layer); }); });
    }
    for (std::size_t i = 0; i < modulusUnits_.size(); ++i) {
        modulusUnits_[i] = new QLabel;
        grid->addWidget(modulusUnits_[i], static_cast<int>(i) + 3, kLayerCount + 1);
    }
    thicknessUnit_ = new QLabel;
    grid->addWidget(thicknessUnit_, 8, kLayerCount + 1);

    // Number of layers.
    auto* countBox = new QGroupBox(QStringLiteral("# of Layers"));
    auto* countLayout = new QHBoxLayout(countBox);
    layerCount_ = new QButtonGroup(this);
    for (int n = 2; n <= 5; ++n) {
        auto* radio = bound(CStructureDlg::layerCountButton(n),
                            new QRadioButton(QStringLiteral("&%1").arg(n)));
        layerCount_->addButton(radio, n - 2);
        countLayout->addWidget(radio);
    }
    connect(layerCount_, &QButtonGroup::idClicked, this,
            [this](int) { run([&] { dialog_.onLayerCountChanged(host()); }); });

    // Seasons.
    auto* seasons = new QGroupBox(QStringLiteral("Seasons"));
    auto* seasonGrid = new QGridLayout(seasons);
    seasonGrid->addWidget(new QLabel(QStringLiteral("Duration (weeks)")), 0, 1);
    temperatureHeading_ = new QLabel;
    seasonGrid->addWidget(temperatureHeading_, 0, 2);
    for (int s = Summer; s < kSeasonCount; ++s) {
        const std::size_t i = static_cast<std::size_t>(s);
        if (s == Summer) {
            // Summer is always in use: a ticked box that cannot be cleared.
            auto* summer = new QCheckBox(QStringLiteral("Summer"));
            summer->setChecked(true);
            summer->setAttribute(Qt::WA_TransparentForMouseEvents);
            summer->setFocusPolicy(Qt::NoFocus);
            seasonGrid->addWidget(summer, 1, 0);
        } else {
            const QString name =
                s == Spring2 ? QStringLiteral("Spring2") : toQString(kSeasonNames[i]);
            seasonCheck_[i] = bound(CStructureDlg::seasonCheck(s), new QCheckBox(name));
            seasonGrid->addWidget(seasonCheck_[i], s + 1, 0);
            connect(seasonCheck_[i], &QCheckBox::clicked, this,
                    [this, s] { run([&] { dialog_.onSeasonCheckChanged(host(), s); }); });
        }
        duration_[i] = numberEdit(CStructureDlg::durationEdit(s), NumberEdit::Kind::Integer);
        temperature_[i] = numberEdit(CStructureDlg::temperatureEdit(s));
        seasonGrid->addWidget(duration_[i], s + 1, 1);
        seasonGrid->addWidget(temperature_[i], s + 1, 2);
        for (NumberEdit* edit : {duration_[i], temperature_[i]}) {
            connect(edit, &NumberEdit::entered, this,
                    [this, s] { run([&] { dialog_.onSeasonEditFocused(host(), s); }); });
        }
        connect(temperature_[i], &NumberEdit::committed, this,
                [this, s] { run([&] { dialog_.onMeanAirTemperatureChanged(host(), s); }); });
    }
    weeksTotal_ = new QLabel;
    weeksTotal_->setObjectName(QStringLiteral("weeksTotal"));
    seasonGrid->addWidget(weeksTotal_, kSeasonCount + 1, 1, 1, 2);
    for (NumberEdit* edit : duration_) {
        connect(edit, &QLineEdit::textEdited, this, [this] {
            readWidgets();
            weeksTotal_->setText(toQString(dialog_.weeksTotalText()));
        });
    }
    auto* seasonRow = new QHBoxLayout;
    seasonRow->addWidget(new QLabel(QStringLiteral("Current Season")));
    currentSeason_ = bound(Control::CurrentSeason, new QComboBox);
    for (auto name : kSeasonNames)
        currentSeason_->addItem(toQString(name));
    seasonRow->addWidget(currentSeason_);
    seasonRow->addStretch();
    seasonGrid->addLayout(seasonRow, kSeasonCount + 2, 0, 1, 3);
    connect(currentSeason_, &QComboBox::activated, this,
            [this] { run([&] { dialog_.onCurrentSeasonChanged(host()); }); });
    temperatureCorrection_ = bound(Control::TemperatureCorrection,
                                   new QCheckBox(QStringLiteral("Temperature Correction")));
    seasonGrid->addWidget(temperatureCorrection_, kSeasonCount + 3, 0, 1, 3);
    connect(temperatureCorrection_, &QCheckBox::clicked, this,
            [this] { run([&] { dialog_.onTemperatureCorrectionChanged(host()); }); });

    auto* buttons = new QDialogButtonBox;
    accept_ = bound(Control::Ok, new QPushButton(QStringLiteral("Accept Changes")));
    accept_->setDefault(true);
    buttons->addButton(accept_, QDialogButtonBox::AcceptRole);
    buttons->addButton(bound(Control::Cancel, cancelButton(QStringLiteral("Cancel Changes"))),
                       QDialogButtonBox::RejectRole);
    connect(accept_, &QPushButton::clicked, this, &StructureForm::accept);

    auto* side = new QVBoxLayout;
    side->addWidget(countBox);
    side->addWidget(seasons);
    side->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(layers, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);

    registerStructureNestedForms();
    registerCriteriaNestedForms();
    dialog_.onInitDialog(host());
    showMembers();
    showFieldHints(dialog_);
}

void StructureForm::showMembers() {
    const CStructureDlg& d = dialog_;
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        const std::size_t l = layerIndex(layer);
        setIndexQuietly(material_[l], d.materialIndex[l]);
        minModulus_[l]->setText(fieldText(d.minModulus[l]));
        maxModulus_[l]->setText(fieldText(d.maxModulus[l]));
        modulus_[l]->setNumber(d.layerModulus[l]);
        poisson_[l]->setNumber(d.poisson[l]);
        poissonRange_[l]->setText(fieldText(d.minPoisson[l]) + QStringLiteral(" - ") +
                                  fieldText(d.maxPoisson[l]));
        if (layer <= kThicknessCount) {
            setIndexQuietly(pgHigh_[l], d.pgHighIndex[l]);
            setIndexQuietly(pgLow_[l], d.pgLowIndex[l]);
            thickness_[l]->setNumber(d.thickness[l]);
        }
    }
    for (QLabel* unit : modulusUnits_)
        unit->setText(toQString(d.modulusUnitLabel()));
    thicknessUnit_->setText(toQString(d.thicknessUnitLabel()));
    // Mean air temperatures are held in degrees F in either unit system.
    temperatureHeading_->setText(toQString(CStructureDlg::kMeanAirTemperatureLabel));
    {
        const QSignalBlocker block(layerCount_);
        if (auto* button = layerCount_->button(d.layerCountIndex))
            button->setChecked(true);
    }
    for (int s = Summer; s < kSeasonCount; ++s) {
        const std::size_t i = static_cast<std::size_t>(s);
        if (seasonCheck_[i]) {
            const QSignalBlocker block(seasonCheck_[i]);
            seasonCheck_[i]->setChecked(d.seasonEnabled[i] != 0);
        }
        duration_[i]->setInteger(d.seasonWeeks[i]);
        temperature_[i]->setNumber(d.meanAirTemperature[i]);
    }
    setIndexQuietly(currentSeason_, d.currentSeason);
    weeksTotal_->setText(toQString(d.weeksTotalText()));
    {
        const QSignalBlocker block(temperatureCorrection_);
        temperatureCorrection_->setChecked(d.temperatureCorrection != 0);
    }

    // Which controls are in use follows from the members.
    auto apply = [&](Control control) {
        if (QWidget* widget = host().control(static_cast<int>(control))) {
            widget->setEnabled(d.isEnabled(control));
            widget->setVisible(d.isVisible(control));
        }
    };
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        apply(CStructureDlg::materialList(layer));
        apply(CStructureDlg::modulusEdit(layer));
        apply(CStructureDlg::poissonEdit(layer));
        apply(CStructureDlg::variabilityButton(layer));
        apply(CStructureDlg::criteriaButton(layer));
        if (layer <= kThicknessCount) {
            apply(CStructureDlg::thicknessEdit(layer));
            apply(CStructureDlg::pgHighList(layer));
            apply(CStructureDlg::pgLowList(layer));
        }
    }
    for (int s = Summer; s < kSeasonCount; ++s) {
        apply(CStructureDlg::durationEdit(s));
        apply(CStructureDlg::temperatureEdit(s));
    }
}

void StructureForm::readWidgets() {
    CStructureDlg& d = dialog_;
    // Text that is not a number leaves its member as it was; the edit itself refuses it.
    for (int layer = 1; layer <= kLayerCount; ++layer) {
        const std::size_t l = layerIndex(layer);
        d.materialIndex[l] = material_[l]->currentIndex();
        if (auto v = modulus_[l]->number())
            d.layerModulus[l] = *v;
        if (auto v = poisson_[l]->number())
            d.poisson[l] = *v;
        if (layer <= kThicknessCount) {
            d.pgHighIndex[l] = pgHigh_[l]->currentIndex();
            d.pgLowIndex[l] = pgLow_[l]->currentIndex();
            if (auto v = thickness_[l]->number())
                d.thickness[l] = *v;
        }
    }
    if (layerCount_->checkedId() >= 0)
        d.layerCountIndex = layerCount_->checkedId();
    for (int s = Summer; s < kSeasonCount; ++s) {
        const std::size_t i = static_cast<std::size_t>(s);
        if (seasonCheck_[i])
            d.seasonEnabled[i] = seasonCheck_[i]->isChecked() ? 1 : 0;
        if (auto v = duration_[i]->integer())
            d.seasonWeeks[i] = *v;
        if (auto v = temperature_[i]->number())
            d.meanAirTemperature[i] = *v;
    }
    d.currentSeason = currentSeason_->currentIndex();
    d.temperatureCorrection = temperatureCorrection_->isChecked() ? 1 : 0;
}

void StructureForm::accept() {
    if (!validateNumberEdits())
        return;
    bool mayClose = false;
    run([&] { mayClose = dialog_.onOk(host()); });
    if (mayClose)
        QDialog::accept();
}

// ----- Input Variability ----------------------------------------------------------------------

InputVariabilityForm::InputVariabilityForm(CInputVariabilityDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    using VControl = CInputVariabilityDlg::Control;
    setObjectName(QStringLiteral("inputVariabilityForm"));
    setWindowTitle(toQString(CInputVariabilityDlg::kCaption));
    auto* material = bound(VControl::MaterialLabel, new QLabel(toQString(dialog.layerHeading())));
    QFont bold = material->font();
    bold.setBold(true);
    material->setFont(bold);

    auto group = [&](std::string_view title, VControl list, VControl cov, QComboBox*& listOut,
                     NumberEdit*& covOut) {
        auto* box = new QGroupBox(toQString(title));
        auto* grid = new QGridLayout(box);
        listOut = bound(list, new QComboBox);
        for (auto name : kDistributionNames)
            listOut->addItem(toQString(name));
        covOut = numberEdit(cov);
        grid->addWidget(new QLabel(QStringLiteral("Distribution Type")), 0, 0);
        grid->addWidget(listOut, 0, 1);
        grid->addWidget(new QLabel(QStringLiteral("Coefficient of Variation")), 1, 0);
        grid->addWidget(covOut, 1, 1);
        grid->addWidget(new QLabel(QStringLiteral("%")), 1, 2);
        return box;
    };
    auto* modulusBox = group(CInputVariabilityDlg::kModulusGroup, VControl::ModulusDistribution,
                             VControl::ModulusCov, modulusDistribution_, modulusCov_);
    auto* thicknessBox =
        group(CInputVariabilityDlg::kThicknessGroup, VControl::ThicknessDistribution,
              VControl::ThicknessCov, thicknessDistribution_, thicknessCov_);
    connect(modulusCov_, &NumberEdit::committed, this, [this] {
        readWidgets();
        dialog_.onModulusCovChanged(host());
        showMembers();
    });
    connect(thicknessCov_, &NumberEdit::committed, this, [this] {
        readWidgets();
        dialog_.onThicknessCovChanged(host());
        showMembers();
    });

    auto* buttons = new QDialogButtonBox;
    auto* ok = bound(VControl::Ok, new QPushButton(QStringLiteral("Accept Changes")));
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(bound(VControl::Cancel, cancelButton(QStringLiteral("Cancel Changes"))),
                       QDialogButtonBox::RejectRole);
    connect(ok, &QPushButton::clicked, this, &InputVariabilityForm::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(material);
    layout->addWidget(modulusBox);
    layout->addWidget(thicknessBox);
    layout->addWidget(buttons);
    dialog_.onInitDialog(host());
    showMembers();
    showFieldHints(dialog_);
}

void InputVariabilityForm::showMembers() {
    setIndexQuietly(modulusDistribution_, dialog_.modulusDistribution);
    modulusCov_->setNumber(dialog_.modulusCov);
    setIndexQuietly(thicknessDistribution_, dialog_.thicknessDistribution);  // -1: no selection
    thicknessCov_->setNumber(dialog_.thicknessCov);
}

void InputVariabilityForm::readWidgets() {
    dialog_.modulusDistribution = modulusDistribution_->currentIndex();
    if (auto v = modulusCov_->number())
        dialog_.modulusCov = *v;
    if (dialog_.isThicknessEnabled()) {
        dialog_.thicknessDistribution = thicknessDistribution_->currentIndex();
        if (auto v = thicknessCov_->number())
            dialog_.thicknessCov = *v;
    }
}

void InputVariabilityForm::accept() {
    if (!validateNumberEdits())
        return;
    readWidgets();
    QDialog::accept();
}

// ----- the module -------------------------------------------------------------------------------

void registerStructureNestedForms() {
    static const bool registered =
        registerNestedForms({nestedForm<CInputVariabilityDlg, InputVariabilityForm>()});
    (void)registered;
}

bool runStructureModule(QWidget* parent, CStenorDoc& workingCopy) {
    CStructureDlg dialog;
    dialog.loadFrom(workingCopy);
    StructureForm form(dialog, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    dialog.storeTo(workingCopy);
    return true;
}

}  // namespace ardelon::gui
