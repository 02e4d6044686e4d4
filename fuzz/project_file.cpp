// Fuzz target: the bytes of a project file (.ard).
#include "fuzz/ProjectFuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ardelon;
    const CStenorDoc before = fuzz::openProject();
    CStenorDoc after = before;
    const FileResult result = decodeProject(std::vector<std::uint8_t>(data, data + size), after);
    FUZZ_CHECK(size == 0 || size >= kProjectFileSize || result.error == kUnexpectedFileFormat,
               "a short file is not refused as an unexpected format");
    fuzz::checkRead(result, before, after);
    return 0;
}
