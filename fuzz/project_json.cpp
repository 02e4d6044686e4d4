// Fuzz target: the text of a project document (.json).
#include "fuzz/ProjectFuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ardelon;
    const CStenorDoc before = fuzz::openProject();
    CStenorDoc after = before;
    const FileResult result = projectFromJson(fuzz::textOf(data, size), after);
    FUZZ_CHECK(result.ok() || !result.error.empty(), "a refusal without a message");
    fuzz::checkRead(result, before, after);
    return 0;
}
