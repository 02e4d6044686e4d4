#include "project/ProjectFile.h"

#include "project/ReplacingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "project/ProjectValidation.h"

namespace ardelon {
namespace {

// Walks the saved fields in file order. The writer and the reader share this one list, so the
// order is stated once. `Io` provides integer(int&) and real(double&) (const for the writer).
template <typename Io, typename Doc>
void walkSavedFields(Io& io, Doc& doc) {
    auto ints = [&io](auto& array) {
        for (auto& v : array)
            io.integer(v);
    };
    auto reals = [&io](auto& array) {
        for (auto& v : array)
            io.real(v);
    };

    io.integer(doc.unitSystem);                  // 1
    io.integer(doc.valuesInEnglish);             // 2
    reals(doc.layerModulus);                     // 3
    reals(doc.minModulus);                       // 4
    reals(doc.maxModulus);                       // 5
    reals(doc.minPoisson);                       // 6
    reals(doc.maxPoisson);                       // 7
    ints(doc.materialIndex);                     // 8
    reals(doc.thickness);                        // 9
    reals(doc.slipValue);                        // 10
    reals(doc.poisson);                          // 11
    io.integer(doc.layerCountIndex);             // 12
    for (int s = Fall; s < kSeasonCount; ++s) {  // 13: Summer's flag is not written
        io.integer(doc.seasonEnabled[static_cast<size_t>(s)]);
    }
    ints(doc.seasonWeeks);                               // 14
    io.integer(doc.currentSeason);                       // 15
    io.real(doc.acSurfaceTemperature);                   // 16
    for (int layer = 0; layer < kLayerCount; ++layer) {  // 17: (distribution, COV) pairs
        io.integer(doc.modulusDistribution[static_cast<size_t>(layer)]);
        io.real(doc.modulusCov[static_cast<size_t>(layer)]);
    }
    for (int layer = 0; layer < kThicknessCount; ++layer) {
        io.integer(doc.thicknessDistribution[static_cast<size_t>(layer)]);
        io.real(doc.thicknessCov[static_cast<size_t>(layer)]);
    }
    reals(doc.meanAirTemperature);          // 18
    io.integer(doc.temperatureCorrection);  // 19
    ints(doc.pgHighIndex);                  // 20
    ints(doc.pgLowIndex);
    ints(doc.interfaceBond);                  // 21
    for (int s = 0; s < kSeasonCount; ++s) {  // 22: per season, five moduli then the AC temperature
        for (int layer = 0; layer < kLayerCount; ++layer) {
            io.real(doc.seasonalModulus[static_cast<size_t>(layer)][static_cast<size_t>(s)]);
        }
        io.real(doc.seasonAcTemperature[static_cast<size_t>(s)]);
    }
    ints(doc.configurationEnabled);  // 23
    io.integer(doc.currentConfiguration);
    for (int k = 0; k < kBinCount; ++k) {  // 24: bin 15 is stored before bin 14
        const int bin = k == 14 ? 15 : k == 15 ? 14 : k;
        io.real(doc.shownLoadPercent[static_cast<size_t>(bin)]);
    }
    io.integer(doc.aadt);        // 25
    io.real(doc.percentTrucks);  // 26
    io.real(doc.percentTrucksDesignLane);
    io.real(doc.directionalDistribution);
    reals(doc.configurationPercent);
    io.integer(doc.vehicleTypeRoadClass);  // 27
    reals(doc.vehicleTypeValue);           // 28
    for (int k = 0; k < kBinCount; ++k) {  // 29: interleaved by bin
        for (int c = 0; c < kConfigurationCount; ++c) {
            io.real(doc.loadCdf[static_cast<size_t>(c)][static_cast<size_t>(k)]);
        }
    }
    for (auto& row : doc.loadSpectra)
        reals(row);                    // 30: grouped by configuration
    for (auto& slot : doc.criteria) {  // 31: 84 bytes a slot
        io.integer(slot.active);
        io.integer(slot.responseType);
        io.real(slot.threshold);
        io.real(slot.k1);
        io.real(slot.k2);
        io.integer(slot.useTransferFunction);
        reals(slot.distribution);
        io.real(slot.targetPercentile);
    }
    io.real(doc.enduranceLimit);       // 32
    io.integer(doc.axleGroupsPerDay);  // 33
    io.real(doc.truckGrowthPercent);   // 34
    io.integer(doc.fatigueLayer);      // 35
    io.real(doc.expectedEsals);        // 36
    reals(doc.axlesPerTruck);          // 37
    io.real(doc.totalAxlePercent);     // 38
    reals(doc.transferCoefficient);    // 39
    reals(doc.acTempCoefficient);      // 40
    reals(doc.costPerTon);             // 41
    reals(doc.density);
    io.real(doc.laneWidth);  // 42
    reals(doc.layerCost);    // 43
}

class ByteWriter {
  public:
    void integer(const int& value) {
        const auto bits = static_cast<std::uint32_t>(value);
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    void real(const double& value) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        for (int i = 0; i < 8; ++i)
            bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    }
    std::vector<std::uint8_t> bytes;
};

class ByteReader {
  public:
    explicit ByteReader(const std::vector<std::uint8_t>& source) : bytes(source) {}
    void integer(int& value) {
        std::uint32_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits |= std::uint32_t{bytes[offset++]} << (8 * i);
        value = static_cast<int>(bits);
    }
    void real(double& value) {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i)
            bits |= std::uint64_t{bytes[offset++]} << (8 * i);
        std::memcpy(&value, &bits, sizeof value);
    }

  private:
    const std::vector<std::uint8_t>& bytes;
    std::size_t offset = 0;
};

std::string systemReason(int error) {
    return std::generic_category().message(error);
}

}  // namespace

std::vector<std::uint8_t> encodeProject(const CStenorDoc& doc) {
    ByteWriter writer;
    writer.bytes.reserve(kProjectFileSize);
    walkSavedFields(writer, doc);
    return std::move(writer.bytes);
}

FileResult decodeProject(const std::vector<std::uint8_t>& bytes, CStenorDoc& doc) {
    if (bytes.empty())
        return {};
    if (bytes.size() < kProjectFileSize)
        return {kUnexpectedFileFormat};
    CStenorDoc scratch = doc;
    ByteReader reader(bytes);
    walkSavedFields(reader, scratch);
    if (std::string problem = normalizeReadProject(scratch); !problem.empty())
        return {problem};
    doc = std::move(scratch);
    return {};
}

FileResult readWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                         std::size_t maxBytes) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return {"Cannot open \"" + path + "\": " + systemReason(errno) + "."};
    std::vector<std::uint8_t> content;
    std::uint8_t buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        // Stops at the limit rather than reading a huge file or a device like /dev/zero.
        if (got > maxBytes - content.size()) {
            std::fclose(file);
            return {"Cannot read \"" + path + "\": the file is larger than " +
                    std::to_string(maxBytes) + " bytes."};
        }
        content.insert(content.end(), buffer, buffer + got);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed)
        return {"Cannot read \"" + path + "\": " + systemReason(error) + "."};
    bytes = std::move(content);
    return {};
}

FileResult writeFileReplacing(const std::string& path, const void* data, std::size_t size) {
    if (std::string reason = replaceFileContents(path, data, size); !reason.empty())
        return {"Cannot save \"" + path + "\": " + reason + "."};
    return {};
}

FileResult saveProjectFile(const CStenorDoc& doc, const std::string& path) {
    const std::vector<std::uint8_t> bytes = encodeProject(doc);
    return writeFileReplacing(path, bytes.data(), bytes.size());
}

FileResult openProjectFile(const std::string& path, CStenorDoc& doc) {
    std::vector<std::uint8_t> bytes;
    if (FileResult read = readWholeFile(path, bytes); !read.ok())
        return read;
    FileResult decoded = decodeProject(bytes, doc);
    if (!decoded.ok() && decoded.error != kUnexpectedFileFormat)
        decoded.error = path + ": " + decoded.error;
    return decoded;
}

}  // namespace ardelon
