#include "support/ProjectCompare.h"

#include "project/ProjectFields.h"

namespace ardelon::testing {

std::string projectDifferences(const CStenorDoc& actual, const CStenorDoc& expected) {
    std::string text;
    for (const std::string& name : differingFields(actual, expected))
        text += (text.empty() ? "differs in " : ", ") + name;
    return text;
}

}  // namespace ardelon::testing
