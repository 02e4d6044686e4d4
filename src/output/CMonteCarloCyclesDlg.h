#pragma once
// The Monte Carlo Cycles dialog of the Output and Design module.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "project/DialogHost.h"
#include "project/FieldHint.h"
#include "reliability/SequentialStopping.h"

namespace ardelon {

// The number of cycles and the seed of the sampling: blank draws the seed from the clock, a
// seed typed in repeats a run exactly.
class CMonteCarloCyclesDlg : public ModalDialog {
  public:
    enum class Control : int { Cycles = 1, Seed, UntilSettled, MaxCycles };
    static constexpr std::string_view kCaption = "Monte Carlo Cycles";
    static constexpr std::string_view kUntilSettledText = "Run until every row is settled";
    static constexpr std::string_view kMaxCyclesLabel = "Most cycles";
    static constexpr std::string_view kMaxCyclesText =
        "Please enter a most number of cycles from 1 to 1000000.";
    static constexpr std::string_view kLabel = "Number of Monte Carlo Cycles";
    static constexpr std::string_view kSeedLabel = "Seed (blank: from the clock)";
    static constexpr std::string_view kSeedCaption = "Seed Out of Range";
    static constexpr std::string_view kSeedText =
        "Please enter a whole number from 0 to 4294967295 as the seed, or leave it blank to "
        "seed from the clock.";
    std::string_view caption() const override { return kCaption; }
    int cycles = 5000;
    std::string seedText;               // the seed field
    std::optional<std::uint32_t> seed;  // after OK: the seed typed in, or none for the clock
    // Run in blocks until every row's verdict is settled, at most maxCycles cycles (the number
    // of cycles is then not used).
    bool untilSettled = false;
    int maxCycles = kDefaultMaxSettleCycles;

    // OK: reads the seed field; false (with the message and the focus on the field) when it
    // holds anything but blank or a whole number that fits a seed.
    bool onOk(DialogHost& host);
    // The tooltip of the cycles edit (the seed edit takes text: blank is allowed).
    static FieldHint hint(Control control);
};

}  // namespace ardelon
