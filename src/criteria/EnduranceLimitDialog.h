#pragma once
// "Endurance Limit": the laboratory endurance limit of the asphalt, in microstrain, from which the
// criteria dialog builds a default allowable-strain distribution.

#include <string_view>

#include "project/DialogHost.h"
#include "project/FieldHint.h"

namespace ardelon {

class EnduranceLimitDialog : public ModalDialog {
  public:
    enum class Control : int { EnduranceLimit = 1, Accept, Cancel };

    static constexpr std::string_view kCaption = "Endurance Limit";
    static constexpr std::string_view kFieldLabel = "Endurance Limit:";
    static constexpr std::string_view kUnitLabel = "microstrain";
    static constexpr std::string_view kTensionNote = "Negative = Tension";
    static constexpr std::string_view kCompressionNote = "Positive = Compression";
    static constexpr std::string_view kAcceptButton = "Accept Changes";
    static constexpr std::string_view kCancelButton = "Cancel Changes";

    explicit EnduranceLimitDialog(double value) : enduranceLimit(value) {}
    std::string_view caption() const override { return kCaption; }

    static FieldHint hint(Control control);

    // Working copy, microstrain; accepted as typed.
    double enduranceLimit = 0.0;
};

}  // namespace ardelon
