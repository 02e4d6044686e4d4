#pragma once
// The design project: every input of one pavement design, the values the input modules derive
// from them, and the fixed tables the analysis reads. It does no engineering itself; the modules
// copy what they need in and out.
//
// Arrays are indexed from 0: layer 1 is index 0, seasons run Summer to Spring 2, configurations
// Single, Tandem, Tridem, Steer, weight bin k stands for 1000 + 2000·k lb.

#include <array>
#include <string>

#include "project/CriterionSlot.h"
#include "project/Enumerations.h"
#include "solver/ResponseTable.h"

namespace ardelon {

template <std::size_t Rows, std::size_t Cols>
using Table = std::array<std::array<double, Cols>, Rows>;

using BinArray = std::array<double, kBinCount>;

// What the Output and Design module leaves behind after its last run: the evaluation points and
// responses of the last cycle. Not saved.
struct OutputModuleState {
    std::array<double, kMaxPoints> pointX{};
    std::array<double, kMaxPoints> pointY{};
    std::array<double, kMaxPoints> pointDepth{};
    std::array<int, kMaxPoints> pointLayer{};
    ResponseTable responses{};
    int loadCount = 0;
    int pointCount = 0;
    int doNotWarn = 0;  // 1 = skip the "Please Note..." confirmation

    bool operator==(const OutputModuleState&) const = default;
};

// The texts of a design report's first page. Kept in JSON projects (when any is given), never
// in .ard files.
struct ReportDetails {
    std::string title;
    std::string description;
    std::string client;
    std::string engineer;

    bool empty() const {
        return title.empty() && description.empty() && client.empty() && engineer.empty();
    }
    bool operator==(const ReportDetails&) const = default;
};

class CStenorDoc {
  public:
    CStenorDoc();  // every field at its default

    // Units.
    int unitSystem = English;
    int valuesInEnglish = 1;  // 1: the display-unit fields hold English values

    // Pavement structure. Fields marked "display units" follow valuesInEnglish.
    int layerCountIndex = 0;  // number of layers minus 2
    std::array<int, kLayerCount> materialIndex{0, 7, 7, 7, 1};
    std::array<double, kThicknessCount> thickness{10, 999, 999, 999};  // display units
    std::array<double, kLayerCount> layerModulus{522958, 12000, 12000, 12000, 12000};  // display
    Table<kLayerCount, kSeasonCount> seasonalModulus{};  // psi, [layer][season]
    std::array<double, kLayerCount> minModulus{50000, 3000, 3000, 3000, 3000};        // display
    std::array<double, kLayerCount> maxModulus{4000000, 40000, 40000, 40000, 40000};  // display
    std::array<double, kLayerCount> poisson{0.35, 0.45, 0.45, 0.45, 0.45};
    std::array<double, kLayerCount> minPoisson{0.15, 0.2, 0.2, 0.2, 0.2};
    std::array<double, kLayerCount> maxPoisson{0.4, 0.5, 0.5, 0.5, 0.5};
    std::array<int, kThicknessCount> pgHighIndex{2, 2, 2, 2};
    std::array<int, kThicknessCount> pgLowIndex{2, 2, 2, 2};
    int fatigueLayer = 1;

    // Interfaces (index 0: between layers 1 and 2).
    std::array<double, kInterfaceCount> slipValue{1, 1, 1, 1};
    std::array<int, kInterfaceCount> interfaceBond{1, 1, 1, 1};

    // Seasons and temperature.
    std::array<int, kSeasonCount> seasonEnabled{1, 1, 1, 1, 0};
    std::array<int, kSeasonCount> seasonWeeks{26, 8, 12, 6, 0};
    int currentSeason = Summer;
    std::array<double, kSeasonCount> meanAirTemperature{70, 70, 70, 70, 70};  // degrees F
    int temperatureCorrection = 1;
    std::array<double, kSeasonCount> seasonAcTemperature{85, 50, 32, 50, 58};  // degrees F
    double acSurfaceTemperature = 85;                                          // display units
    std::array<double, 3> acTempCoefficient{16693.4, 26.2, -1459.7};

    // Input variability.
    std::array<int, kLayerCount> modulusDistribution{1, 1, 1, 1, 1};
    std::array<double, kLayerCount> modulusCov{30, 50, 50, 50, 50};  // percent
    std::array<int, kThicknessCount> thicknessDistribution{0, 0, 0, 0};
    std::array<double, kThicknessCount> thicknessCov{5, 0, 0, 0};  // percent

    // Traffic.
    int aadt = 1000;
    double percentTrucks = 10;
    double percentTrucksDesignLane = 90;
    double directionalDistribution = 50;
    int axleGroupsPerDay = 1000;
    double truckGrowthPercent = 4;
    std::array<int, kConfigurationCount> configurationEnabled{1, 0, 0, 0};
    std::array<double, kConfigurationCount> configurationPercent{100, 0, 0, 0};
    int currentConfiguration = Single;
    Table<kConfigurationCount, kBinCount> loadSpectra{};  // percent of axle groups per bin
    Table<kConfigurationCount, kBinCount> loadCdf{};      // cumulative fraction per bin
    BinArray shownLoadPercent{};
    double totalAxlePercent = 0;
    double esalFactor = 0;   // not saved
    int useLoadSpectra = 1;  // not saved
    double expectedEsals = 1000000;
    std::array<double, kConfigurationCount> axlesPerTruck{1, 0, 0, 0};
    int vehicleTypeRoadClass = 0;
    std::array<double, kVehicleTypeValueCount> vehicleTypeValue{};
    std::array<double, kConfigurationCount> axleTypeFraction{};  // not saved

    // Fixed traffic tables, filled by the constructor and never saved.
    BinArray binAxleWeight{};                                // lb
    Table<kConfigurationCount, kBinCount> contactRadius{};   // in., tire contact at 100 psi
    Table<kSpectraLibrarySize, kBinCount> spectraLibrary{};  // percent

    // Performance criteria.
    CriterionSlots criteria{};
    double enduranceLimit = 0;  // microstrain
    std::array<double, 4> transferCoefficient{2.83e-06, 3.20596, 5.5e15, 3.929};

    // Cost analysis, layers 1 to 4.
    std::array<double, kThicknessCount> costPerTon{};
    std::array<double, kThicknessCount> density{};
    std::array<double, kThicknessCount> layerCost{};
    double totalCost = 0;   // not saved
    double laneWidth = 12;  // ft

    ReportDetails reportDetails{};
    // The trial designs kept with the project, as the JSON text of their array (empty: none).
    // The project carries it unread, so a file it cannot read is never rewritten (trials/).
    std::string trials{};

    // Results of the last analysis, kept while the program runs.
    OutputModuleState output{};

    bool operator==(const CStenorDoc&) const = default;
};

// The thirty built-in axle load distributions, row j = 10 × group + vehicle class − 4.
const Table<kSpectraLibrarySize, kBinCount>& builtInSpectraLibrary();

// The fields the Load Spectra module keeps consistent: tires per axle group of a configuration.
inline constexpr std::array<int, kConfigurationCount> kTiresPerConfiguration{4, 8, 12, 2};

}  // namespace ardelon
