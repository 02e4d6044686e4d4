// Fuzz target: an agency's normalised axle load table (CSV) imported into a project.
#include <cmath>

#include "fuzz/FuzzCheck.h"
#include "traffic/AxleLoadTableImport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ardelon;
    const AxleLoadTableParse parse = parseAxleLoadTable(fuzz::textOf(data, size));
    if (!parse.ok()) {
        FUZZ_CHECK(!parse.error.empty(), "a refusal without a message");
        return 0;
    }
    CStenorDoc doc;
    const CStenorDoc before = doc;
    const AxleLoadTableImport imported =
        applyAxleLoadTableRoute(*parse.table, classSharesOf(doc.vehicleTypeValue), doc);
    if (!imported.ok()) {
        FUZZ_CHECK(doc == before, "a refused import changed the project");
        return 0;
    }
    // Accepted: every configuration is a distribution of finite, non-negative percentages that
    // adds up to 100 (or is empty).
    for (const BinArray& bins : doc.loadSpectra) {
        double total = 0.0;
        for (double percent : bins) {
            FUZZ_CHECK(std::isfinite(percent) && percent >= 0.0, "a bin is negative or not finite");
            total += percent;
        }
        FUZZ_CHECK(total == 0.0 || std::fabs(total - 100.0) < 1e-6, "a distribution is not 100 %");
    }
    return 0;
}
