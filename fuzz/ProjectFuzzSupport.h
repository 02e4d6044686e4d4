#pragma once
// The properties both project readers must keep, whatever the bytes they are given.

#include "cli/ProjectSummary.h"
#include "fuzz/FuzzCheck.h"
#include "project/ProjectFile.h"
#include "project/ProjectJson.h"

namespace ardelon::fuzz {

// A project that is not the default, standing for the one open in the program: a refused read
// must leave it bit for bit as it was.
inline CStenorDoc openProject() {
    CStenorDoc doc;
    doc.layerCountIndex = 2;
    doc.aadt = 4321;
    doc.thickness[1] = 7.25;
    doc.criteria[4].active = 1;
    doc.criteria[4].responseType = 0;
    return doc;
}

// `before` is the project before the read, `after` the project the reader left.
inline void checkRead(const FileResult& result, const CStenorDoc& before, const CStenorDoc& after) {
    const std::vector<std::uint8_t> beforeBytes = encodeProject(before);
    const std::vector<std::uint8_t> afterBytes = encodeProject(after);
    if (!result.ok()) {
        FUZZ_CHECK(afterBytes == beforeBytes, "a refused read changed the project");
        return;
    }
    // Accepted: both files write it back and read it again identically.
    CStenorDoc fromArd = before;
    FUZZ_CHECK(decodeProject(afterBytes, fromArd).ok(), "the written project file is refused");
    FUZZ_CHECK(encodeProject(fromArd) == afterBytes, "the project file does not round-trip");
    const std::string text = projectToJson(after);
    CStenorDoc fromJson = before;
    const FileResult json = projectFromJson(text, fromJson);
    FUZZ_CHECK(json.ok(), "the written project document is refused");
    FUZZ_CHECK(encodeProject(fromJson) == afterBytes, "the project document does not round-trip");
    FUZZ_CHECK(projectToJson(fromJson) == text, "the project document is not written alike");
    // Every consumer may index its tables with what was read.
    FUZZ_CHECK(!cli::projectSummary(after).empty(), "no summary");
}

}  // namespace ardelon::fuzz
