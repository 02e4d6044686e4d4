#include "gui/TrafficForms.h"

#include "charts/FigureCharts.h"
#include "figures/FigureData.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "traffic/LoadingConditions.h"

namespace ardelon::gui {

namespace {

using Control = CLoadingConditionsDlg::Control;

constexpr int kBinsPerColumn = 12;

void setIndexQuietly(QComboBox* list, int index) {
    const QSignalBlocker block(list);
    list->setCurrentIndex(index);
}

// The range of a ranged field of the module, for its edit's refusal message.
void applyRange(NumberEdit* edit, LoadingField field) {
    const FieldRange range = loadingFieldRange(field);
    edit->setRange(range.minimum, range.maximum);
}

}  // namespace

LoadSpectraForm::LoadSpectraForm(CLoadingConditionsDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    setObjectName(QStringLiteral("loadSpectraForm"));
    setWindowTitle(toQString(CLoadingConditionsDlg::kCaption));

    // General Traffic Data.
    auto* general = new QGroupBox(QStringLiteral("General Traffic Data"));
    auto* generalGrid = new QGridLayout(general);
    aadt_ = numberEdit(Control::Aadt, NumberEdit::Kind::Integer);
    applyRange(aadt_, LoadingField::Aadt);
    percentTrucks_ = numberEdit(Control::PercentTrucks);
    applyRange(percentTrucks_, LoadingField::PercentTrucks);
    truckGrowth_ = numberEdit(Control::TruckGrowth);
    applyRange(truckGrowth_, LoadingField::TruckGrowth);
    axleGroups_ = numberEdit(Control::AxleGroupsPerDay, NumberEdit::Kind::Integer);
    applyRange(axleGroups_, LoadingField::AxleGroupsPerDay);
    designLane_ = numberEdit(Control::PercentTrucksDesignLane);
    directional_ = numberEdit(Control::DirectionalDistribution);
    const std::pair<const char*, NumberEdit*> fields[] = {
        {"Two-Way AADT", aadt_},
        {"% Trucks", percentTrucks_},
        {"% Truck Growth", truckGrowth_},
        {"Axles Groups / Day", axleGroups_},
        {"% Trucks in Design Lane", designLane_},
        {"Directional Distribution", directional_}};
    for (int i = 0; i < 6; ++i) {
        const int row = i % 3;
        const int column = (i / 3) * 3;
        generalGrid->addWidget(new QLabel(QString::fromLatin1(fields[i].first)), row, column);
        generalGrid->addWidget(fields[i].second, row, column + 1);
    }
    generalGrid->addWidget(new QLabel(QStringLiteral("%")), 2, 5);
    generalGrid->setColumnMinimumWidth(2, 18);
    for (NumberEdit* edit : {aadt_, percentTrucks_, designLane_, directional_}) {
        connect(edit, &NumberEdit::committed, this,
                [this] { run([&] { dialog_.trafficEdited(); }); });
    }

    // Loading Configurations.
    auto* configurations =
        new QGroupBox(QStringLiteral("Loading Configurations (Check All That Apply)"));
    auto* configurationGrid = new QGridLayout(configurations);
    for (int c = 0; c < kConfigurationCount; ++c) {
        const std::size_t i = static_cast<std::size_t>(c);
        checks_[i] = bound(CLoadingConditionsDlg::checkBox(c),
                           new QCheckBox(toQString(kConfigurationNames[i])));
        percents_[i] = numberEdit(CLoadingConditionsDlg::percentEdit(c));
        percents_[i]->setMaximumWidth(90);
        configurationGrid->addWidget(checks_[i], 0, c * 2, 1, 2);
        configurationGrid->addWidget(percents_[i], 1, c * 2);
        configurationGrid->addWidget(new QLabel(QStringLiteral("%")), 1, c * 2 + 1);
        connect(checks_[i], &QCheckBox::clicked, this,
                [this, c] { run([&] { dialog_.toggleConfiguration(host(), c); }); });
        connect(percents_[i], &NumberEdit::entered, this,
                [this, c] { run([&] { dialog_.percentEditFocused(host(), c); }); });
    }
    auto* currentRow = new QHBoxLayout;
    currentRow->addWidget(new QLabel(QStringLiteral("Current Configuration")));
    current_ = bound(Control::CurrentConfiguration, new QComboBox);
    for (auto name : kConfigurationNames)
        current_->addItem(toQString(name));
    currentRow->addWidget(current_);
    currentRow->addStretch();
    configurationGrid->addLayout(currentRow, 2, 0, 1, 8);
    connect(current_, &QComboBox::activated, this,
            [this] { run([&] { dialog_.selectConfiguration(host()); }); });

    // Current Axle Load Distribution: five columns of label and edit.
    auto* distribution = new QGroupBox(QStringLiteral("Current Axle Load Distribution"));
    auto* binGrid = new QGridLayout(distribution);
    binGrid->setVerticalSpacing(3);
    binGrid->setHorizontalSpacing(6);
    for (int column = 0; column < 5; ++column) {
        auto* weight = new QLabel(toQString(CLoadingConditionsDlg::binHeading(dialog.unitSystem)));
        auto* axles = new QLabel(QStringLiteral("% Axles"));
        binGrid->addWidget(weight, 0, column * 3);
        binGrid->addWidget(axles, 0, column * 3 + 1);
        if (column < 4)
            binGrid->setColumnMinimumWidth(column * 3 + 2, 14);
    }
    for (int k = 0; k < kBinCount; ++k) {
        const std::size_t i = static_cast<std::size_t>(k);
        const int column = k / kBinsPerColumn;
        const int row = k % kBinsPerColumn + 1;
        binLabels_[i] = readOnlyField(64);
        bins_[i] = numberEdit(CLoadingConditionsDlg::binEdit(k));
        bins_[i]->setMaximumWidth(80);
        bins_[i]->setAlignment(Qt::AlignRight);
        binGrid->addWidget(binLabels_[i], row, column * 3);
        binGrid->addWidget(bins_[i], row, column * 3 + 1);
        connect(bins_[i], &NumberEdit::committed, this,
                [this, k] { run([&] { dialog_.binEdited(host(), k); }); });
    }
    total_ = bound(Control::Total, readOnlyField(64));
    const int totalRow = kBinCount % kBinsPerColumn + 2;
    binGrid->addWidget(new QLabel(QStringLiteral("Total")), totalRow, 4 * 3);
    binGrid->addWidget(total_, totalRow, 4 * 3 + 1);

    // Buttons.
    auto* importButton =
        bound(Control::ImportLoadSpectra, new QPushButton(QStringLiteral("Import Load Spectra")));
    auto* saveButton =
        bound(Control::SaveLoadSpectra, new QPushButton(QStringLiteral("Save Load Spectra")));
    auto* vehicleButton =
        bound(Control::InputByVehicleType,
              new QPushButton(QStringLiteral("Input Load Spectra by Vehicle Type")));
    auto* tableButton =
        bound(Control::ImportAxleLoadTable,
              new QPushButton(toQString(CLoadingConditionsDlg::kAxleLoadTableButton)));
    connect(importButton, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.importLoadSpectra(host()); }); });
    connect(tableButton, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.importAxleLoadTable(host()); }); });
    connect(saveButton, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.saveLoadSpectra(host()); }); });
    connect(vehicleButton, &QPushButton::clicked, this,
            [this] { run([&] { dialog_.inputByVehicleType(host()); }); });
    accept_ = bound(Control::AcceptChanges, new QPushButton(QStringLiteral("Accept Changes")));
    accept_->setDefault(true);
    connect(accept_, &QPushButton::clicked, this, &LoadSpectraForm::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(importButton);
    buttons->addWidget(saveButton);
    buttons->addWidget(vehicleButton);
    buttons->addWidget(tableButton);
    buttons->addStretch();
    buttons->addWidget(accept_);
    buttons->addWidget(
        bound(Control::CancelChanges, cancelButton(QStringLiteral("Cancel Changes"))));

    auto* top = new QHBoxLayout;
    top->addWidget(general, 3);
    top->addWidget(configurations, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    // The spectra chart beside the bins, so that the module still fits a laptop screen.
    spectraChart_ = chartView(new QChart);
    spectraChart_->setMinimumSize(400, 300);
    auto* spectra = new QHBoxLayout;
    spectra->addWidget(distribution);
    spectra->addWidget(spectraChart_, 1);
    layout->addLayout(spectra);
    layout->addLayout(buttons);

    registerTrafficNestedForms();
    // The widgets show the working copy before the opening rule reads them back.
    showMembers();
    run([&] { dialog_.openLoadingConditions(host()); });
    showFieldHints(dialog_);
}

void LoadSpectraForm::showMembers() {
    const CLoadingConditionsDlg& d = dialog_;
    aadt_->setInteger(d.aadt);
    percentTrucks_->setNumber(d.percentTrucks);
    truckGrowth_->setNumber(d.truckGrowthPercent);
    axleGroups_->setInteger(d.axleGroupsPerDay);
    designLane_->setNumber(d.percentTrucksDesignLane);
    directional_->setNumber(d.directionalDistribution);
    for (int c = 0; c < kConfigurationCount; ++c) {
        const std::size_t i = static_cast<std::size_t>(c);
        const QSignalBlocker block(checks_[i]);
        checks_[i]->setChecked(isChecked(d.configurationEnabled, c));
        percents_[i]->setNumber(d.configurationPercent[i]);
    }
    setIndexQuietly(current_, d.currentConfiguration);
    for (std::size_t k = 0; k < bins_.size(); ++k) {
        binLabels_[k]->setText(QString::fromStdString(d.binLabels[k]));
        bins_[k]->setNumber(d.shownLoadPercent[k]);
    }
    total_->setText(numberText(d.total));
    QChart* previous = spectraChart_->chart();
    spectraChart_->setChart(loadSpectraChart(loadSpectraFigure(d), d.unitSystem));
    delete previous;
}

void LoadSpectraForm::readWidgets() {
    CLoadingConditionsDlg& d = dialog_;
    // Text that is not a number leaves its member as it was; the edit itself refuses it.
    if (auto v = aadt_->integer())
        d.aadt = *v;
    if (auto v = percentTrucks_->number())
        d.percentTrucks = *v;
    if (auto v = truckGrowth_->number())
        d.truckGrowthPercent = *v;
    if (auto v = axleGroups_->integer())
        d.axleGroupsPerDay = *v;
    if (auto v = designLane_->number())
        d.percentTrucksDesignLane = *v;
    if (auto v = directional_->number())
        d.directionalDistribution = *v;
    for (int c = 0; c < kConfigurationCount; ++c) {
        const std::size_t i = static_cast<std::size_t>(c);
        d.configurationEnabled[i] = checks_[i]->isChecked() ? 1 : 0;
        if (auto v = percents_[i]->number())
            d.configurationPercent[i] = *v;
    }
    d.currentConfiguration = current_->currentIndex();
    for (std::size_t k = 0; k < bins_.size(); ++k) {
        if (auto v = bins_[k]->number())
            d.shownLoadPercent[k] = *v;
    }
}

void LoadSpectraForm::accept() {
    if (!validateNumberEdits())
        return;
    bool mayClose = false;
    run([&] {
        dialog_.acceptLoading();
        mayClose = dialog_.validateLoadingFields(host());
    });
    if (mayClose)
        QDialog::accept();
}

// ----- ESAL Data --------------------------------------------------------------------------------

EsalDataForm::EsalDataForm(CEsalDataDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    using EControl = CEsalDataDlg::Control;
    setObjectName(QStringLiteral("esalDataForm"));
    setWindowTitle(toQString(CEsalDataDlg::kCaption));
    esals_ = numberEdit(EControl::ExpectedEsals);
    esals_->setNumber(dialog_.expectedEsals);
    esals_->setMinimumWidth(140);
    auto* label =
        new QLabel(QStringLiteral("Expected Number of Equivalent Single Axle Loads, ESALs"));
    label->setBuddy(esals_);

    auto* buttons = new QDialogButtonBox;
    ok_ = bound(EControl::Ok, new QPushButton(QStringLiteral("OK")));
    ok_->setDefault(true);
    buttons->addButton(ok_, QDialogButtonBox::AcceptRole);
    buttons->addButton(bound(EControl::Cancel, cancelButton(QStringLiteral("Cancel"))),
                       QDialogButtonBox::RejectRole);
    connect(ok_, &QPushButton::clicked, this, &EsalDataForm::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(esals_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    showFieldHints(dialog_);
}

void EsalDataForm::accept() {
    if (!validateNumberEdits())
        return;
    dialog_.expectedEsals = *esals_->number();
    if (dialog_.acceptEsalData(host()))
        QDialog::accept();
}

// ----- Vehicle Type Distribution
// ------------------------------------------------------------------

VehicleTypeForm::VehicleTypeForm(CVehicleTypeDlg& dialog, QWidget* parent)
    : FormBase(parent), dialog_(dialog) {
    using VControl = CVehicleTypeDlg::Control;
    setObjectName(QStringLiteral("vehicleTypeForm"));
    setWindowTitle(toQString(CVehicleTypeDlg::kCaption));

    auto* roadRow = new QHBoxLayout;
    roadRow->addWidget(new QLabel(QStringLiteral("Roadway Functional Classification")));
    roadClass_ = bound(VControl::RoadClass, new QComboBox);
    for (auto name : kRoadClassNames)
        roadClass_->addItem(toQString(name));
    roadRow->addWidget(roadClass_, 1);
    connect(roadClass_, &QComboBox::activated, this, [this] {
        readWidgets();
        dialog_.selectRoadClass();
        showMembers();
    });

    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(3);
    auto* axlesHeading = new QLabel(QStringLiteral("Average Number of Axles Per Vehicle"));
    axlesHeading->setAlignment(Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Vehicle Classification")), 0, 0, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("% AADTT")), 0, 1, 2, 1);
    grid->addWidget(axlesHeading, 0, 2, 1, 3);
    const char* groups[] = {"Single", "Tandem", "Tridem"};
    for (int g = 0; g < 3; ++g) {
        auto* heading = new QLabel(QString::fromLatin1(groups[g]));
        heading->setAlignment(Qt::AlignCenter);
        grid->addWidget(heading, 1, g + 2);
    }
    for (int v = 0; v < kVehicleClassCount; ++v) {
        auto* name = new QLabel(QString::number(v + 4));
        name->setAlignment(Qt::AlignCenter);
        grid->addWidget(name, v + 2, 0);
        const int indices[] = {shareIndex(v), singleAxlesIndex(v), tandemAxlesIndex(v),
                               tridemAxlesIndex(v)};
        for (int c = 0; c < 4; ++c) {
            const std::size_t i = static_cast<std::size_t>(indices[c]);
            values_[i] = numberEdit(CVehicleTypeDlg::valueEdit(indices[c]));
            values_[i]->setMaximumWidth(90);
            values_[i]->setAlignment(Qt::AlignRight);
            grid->addWidget(values_[i], v + 2, c + 1);
        }
        connect(values_[static_cast<std::size_t>(shareIndex(v))], &NumberEdit::committed, this,
                [this, v] {
                    readWidgets();
                    dialog_.shareEdited(host(), v);
                    showMembers();
                });
    }
    total_ = bound(VControl::Total, readOnlyField(80));
    grid->addWidget(new QLabel(QStringLiteral("Total")), kVehicleClassCount + 2, 0);
    grid->addWidget(total_, kVehicleClassCount + 2, 1);

    auto* buttons = new QDialogButtonBox;
    accept_ = bound(VControl::AcceptChanges, new QPushButton(QStringLiteral("Accept Changes")));
    accept_->setDefault(true);
    buttons->addButton(accept_, QDialogButtonBox::AcceptRole);
    buttons->addButton(
        bound(VControl::CancelChanges, cancelButton(QStringLiteral("Cancel Changes"))),
        QDialogButtonBox::RejectRole);
    connect(accept_, &QPushButton::clicked, this, &VehicleTypeForm::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(roadRow);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    dialog_.openVehicleTypes();
    showMembers();
    showFieldHints(dialog_);
}

void VehicleTypeForm::showMembers() {
    setIndexQuietly(roadClass_, dialog_.vehicleTypeRoadClass);
    for (std::size_t i = 0; i < values_.size(); ++i) {
        if (values_[i])
            values_[i]->setNumber(dialog_.vehicleTypeValue[i]);
    }
    total_->setText(numberText(dialog_.total));
}

void VehicleTypeForm::readWidgets() {
    dialog_.vehicleTypeRoadClass = roadClass_->currentIndex();
    for (std::size_t i = 0; i < values_.size(); ++i) {
        if (!values_[i])
            continue;
        if (auto v = values_[i]->number())
            dialog_.vehicleTypeValue[i] = *v;
    }
}

void VehicleTypeForm::accept() {
    if (!validateNumberEdits())
        return;
    readWidgets();
    const bool mayClose = dialog_.acceptVehicleTypes(host());
    showMembers();
    if (mayClose)
        QDialog::accept();
}

void registerTrafficNestedForms() {
    static const bool registered =
        registerNestedForms({nestedForm<CVehicleTypeDlg, VehicleTypeForm>()});
    (void)registered;
}

// ----- the commands -----------------------------------------------------------------------------

bool runLoadSpectraModule(QWidget* parent, CStenorDoc& workingCopy) {
    CLoadingConditionsDlg dialog(workingCopy);
    LoadSpectraForm form(dialog, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    dialog.copyToProject(workingCopy);
    return true;
}

bool runEsalData(QWidget* parent, CStenorDoc& workingCopy) {
    CEsalDataDlg dialog(workingCopy);
    EsalDataForm form(dialog, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    dialog.copyToProject(workingCopy);
    return true;
}

}  // namespace ardelon::gui
