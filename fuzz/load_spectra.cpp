// Fuzz target: the text of a load spectra file (.lsf).
#include "fuzz/FuzzCheck.h"
#include "traffic/LoadSpectraFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ardelon;
    const LoadSpectraParse parse = parseLoadSpectra(fuzz::textOf(data, size));
    if (!parse.ok()) {
        FUZZ_CHECK(!parse.error.empty(), "a refusal without a message");
        return 0;
    }
    // Accepted: the record can be written, and what is written reads back to the same file.
    FUZZ_CHECK(loadSpectraWriteProblem(*parse.record).empty(),
               "an accepted record cannot be written");
    const std::string written = formatLoadSpectra(*parse.record);
    const LoadSpectraParse again = parseLoadSpectra(written);
    FUZZ_CHECK(again.ok(), "the written file is refused");
    FUZZ_CHECK(formatLoadSpectra(*again.record) == written, "the written file does not round-trip");
    return 0;
}
