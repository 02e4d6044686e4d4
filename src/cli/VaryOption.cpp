#include "cli/VaryOption.h"

#include <cmath>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/CommandLineNumbers.h"
#include "project/SafeText.h"

namespace ardelon::cli {

VaryRange parseVary(const std::string& text, const CStenorDoc& project) {
    const std::string option = "--vary " + echoedText(text);
    const auto equals = text.find('=');
    const auto expected = [&] {
        return CommandError(kBadInput, option + ": expected LAYER=MIN:MAX[:STEP].");
    };
    if (equals == std::string::npos)
        throw expected();
    std::vector<std::string> parts(1);
    for (char ch : text.substr(equals + 1)) {
        if (ch == ':')
            parts.emplace_back();
        else
            parts.back() += ch;
    }
    if (parts.size() < 2 || parts.size() > 3)
        throw expected();
    const auto number = [&](const std::string& part) {
        if (part.empty())
            throw expected();
        const std::optional<double> value = decimalNumber(part);
        if (!value)
            throw CommandError(kBadInput, option + ": '" + echoedText(part) + "' is not a number.");
        return *value;
    };
    const double layer = number(text.substr(0, equals));
    if (layer != std::floor(layer) || layer < 1 || layer > kLayerCount)
        throw CommandError(kBadInput, option + ": the layer must be a whole number 1 to 5.");
    VaryRange r;
    r.layer = static_cast<int>(layer);
    r.minThickness = number(parts[0]);
    r.maxThickness = number(parts[1]);
    r.step = parts.size() == 3 ? number(parts[2]) : defaultThicknessStep(project);
    return r;
}

}  // namespace ardelon::cli
