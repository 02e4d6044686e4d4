#include "project/ProjectJson.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>

#include "project/JsonText.h"
#include "project/ProjectValidation.h"

namespace ardelon {
namespace {

using nlohmann::json;

constexpr const char* kFormatName = "ardelon-project";
constexpr int kFormatVersion = 1;

// Visits every saved field with its name. The writer and the reader share this one list.
template <typename Visitor, typename Doc>
void visitSavedFields(Visitor& v, Doc& doc) {
    v.field("unitSystem", doc.unitSystem);
    v.field("valuesInEnglish", doc.valuesInEnglish);
    v.field("layerModulus", doc.layerModulus);
    v.field("minModulus", doc.minModulus);
    v.field("maxModulus", doc.maxModulus);
    v.field("minPoisson", doc.minPoisson);
    v.field("maxPoisson", doc.maxPoisson);
    v.field("materialIndex", doc.materialIndex);
    v.field("thickness", doc.thickness);
    v.field("slipValue", doc.slipValue);
    v.field("poisson", doc.poisson);
    v.field("layerCountIndex", doc.layerCountIndex);
    v.seasonFlags("seasonEnabled", doc.seasonEnabled);
    v.field("seasonWeeks", doc.seasonWeeks);
    v.field("currentSeason", doc.currentSeason);
    v.field("acSurfaceTemperature", doc.acSurfaceTemperature);
    v.field("modulusDistribution", doc.modulusDistribution);
    v.field("modulusCov", doc.modulusCov);
    v.field("thicknessDistribution", doc.thicknessDistribution);
    v.field("thicknessCov", doc.thicknessCov);
    v.field("meanAirTemperature", doc.meanAirTemperature);
    v.field("temperatureCorrection", doc.temperatureCorrection);
    v.field("pgHighIndex", doc.pgHighIndex);
    v.field("pgLowIndex", doc.pgLowIndex);
    v.field("interfaceBond", doc.interfaceBond);
    v.field("seasonalModulus", doc.seasonalModulus);
    v.field("seasonAcTemperature", doc.seasonAcTemperature);
    v.field("configurationEnabled", doc.configurationEnabled);
    v.field("currentConfiguration", doc.currentConfiguration);
    v.field("shownLoadPercent", doc.shownLoadPercent);
    v.field("aadt", doc.aadt);
    v.field("percentTrucks", doc.percentTrucks);
    v.field("percentTrucksDesignLane", doc.percentTrucksDesignLane);
    v.field("directionalDistribution", doc.directionalDistribution);
    v.field("configurationPercent", doc.configurationPercent);
    v.field("vehicleTypeRoadClass", doc.vehicleTypeRoadClass);
    v.field("vehicleTypeValue", doc.vehicleTypeValue);
    v.field("loadCdf", doc.loadCdf);
    v.field("loadSpectra", doc.loadSpectra);
    v.criteria("criteria", doc.criteria);
    v.field("enduranceLimit", doc.enduranceLimit);
    v.field("axleGroupsPerDay", doc.axleGroupsPerDay);
    v.field("truckGrowthPercent", doc.truckGrowthPercent);
    v.field("fatigueLayer", doc.fatigueLayer);
    v.field("expectedEsals", doc.expectedEsals);
    v.field("axlesPerTruck", doc.axlesPerTruck);
    v.field("totalAxlePercent", doc.totalAxlePercent);
    v.field("transferCoefficient", doc.transferCoefficient);
    v.field("acTempCoefficient", doc.acTempCoefficient);
    v.field("costPerTon", doc.costPerTon);
    v.field("density", doc.density);
    v.field("laneWidth", doc.laneWidth);
    v.field("layerCost", doc.layerCost);
}

template <typename Visitor, typename Slot>
void visitSlotFields(Visitor& v, Slot& slot) {
    v.field("active", slot.active);
    v.field("responseType", slot.responseType);
    v.field("threshold", slot.threshold);
    v.field("k1", slot.k1);
    v.field("k2", slot.k2);
    v.field("useTransferFunction", slot.useTransferFunction);
    v.field("distribution", slot.distribution);
    v.field("targetPercentile", slot.targetPercentile);
}

class JsonWriter {
  public:
    json out = json::object();

    void field(const char* name, const int& value) { out[name] = value; }
    void field(const char* name, const double& value) { out[name] = realToJson(value); }
    template <typename T, std::size_t N>
    void field(const char* name, const std::array<T, N>& values) {
        out[name] = toJson(values);
    }
    // Summer is always in use and its flag is not saved: the array holds Fall to Spring 2.
    void seasonFlags(const char* name, const std::array<int, kSeasonCount>& flags) {
        out[name] = json::array({flags[1], flags[2], flags[3], flags[4]});
    }
    void criteria(const char* name, const CriterionSlots& slots) {
        json array = json::array();
        for (const auto& slot : slots) {
            JsonWriter slotWriter;
            visitSlotFields(slotWriter, slot);
            array.push_back(std::move(slotWriter.out));
        }
        out[name] = std::move(array);
    }

  private:
    static json toJson(int value) { return value; }
    static json toJson(double value) { return realToJson(value); }
    template <typename T, std::size_t N>
    static json toJson(const std::array<T, N>& values) {
        json array = json::array();
        for (const auto& v : values)
            array.push_back(toJson(v));
        return array;
    }
};

// Reads fields from one JSON object into a scratch copy; the first problem stops the walk.
class JsonReader {
  public:
    JsonReader(const json& object, std::string path) : in(object), prefix(std::move(path)) {}

    std::string error;

    void field(const char* name, int& value) {
        if (const json* node = take(name))
            readInt(*node, qualified(name), value);
    }
    void field(const char* name, double& value) {
        if (const json* node = take(name))
            readReal(*node, qualified(name), value);
    }
    template <typename T, std::size_t N>
    void field(const char* name, std::array<T, N>& values) {
        if (const json* node = take(name))
            readArray(*node, qualified(name), values);
    }
    void seasonFlags(const char* name, std::array<int, kSeasonCount>& flags) {
        std::array<int, 4> optional{};
        if (const json* node = take(name)) {
            readArray(*node, qualified(name), optional);
            if (error.empty())
                std::copy(optional.begin(), optional.end(), flags.begin() + 1);
        }
    }
    void criteria(const char* name, CriterionSlots& slots) {
        const json* node = take(name);
        if (!node)
            return;
        const std::string where = qualified(name);
        if (!node->is_array() || node->size() != slots.size()) {
            fail(where, "expected an array of " + std::to_string(slots.size()) + " objects");
            return;
        }
        for (std::size_t i = 0; i < slots.size() && error.empty(); ++i) {
            const std::string slotPath = where + "[" + std::to_string(i) + "]";
            if (!(*node)[i].is_object()) {
                fail(slotPath, "expected an object");
                return;
            }
            JsonReader slotReader((*node)[i], slotPath);
            visitSlotFields(slotReader, slots[i]);
            slotReader.refuseUnknownFields();
            error = slotReader.error;
        }
    }

    void refuseUnknownFields() {
        if (!error.empty())
            return;
        for (const auto& item : in.items()) {
            if (!seen.count(item.key())) {
                error = "unknown field \"" + qualified(item.key().c_str()) + "\"";
                return;
            }
        }
    }
    void markKnown(const char* name) { seen.insert(name); }

  private:
    const json& in;
    std::string prefix;
    std::set<std::string> seen;

    std::string qualified(const char* name) const {
        return prefix.empty() ? std::string(name) : prefix + "." + name;
    }
    void fail(const std::string& where, const std::string& what) {
        if (error.empty())
            error = "field \"" + where + "\": " + what;
    }
    const json* take(const char* name) {
        seen.insert(name);
        if (!error.empty())
            return nullptr;
        auto it = in.find(name);
        if (it == in.end()) {
            error = "missing field \"" + qualified(name) + "\"";
            return nullptr;
        }
        return &*it;
    }
    void readInt(const json& node, const std::string& where, int& value) {
        if (node.is_number_unsigned()) {
            const auto v = node.get<std::uint64_t>();
            if (v > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) {
                fail(where, std::to_string(v) + " is outside the 32-bit integer range");
                return;
            }
            value = static_cast<int>(v);
        } else if (node.is_number_integer()) {
            const auto v = node.get<std::int64_t>();
            if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) {
                fail(where, std::to_string(v) + " is outside the 32-bit integer range");
                return;
            }
            value = static_cast<int>(v);
        } else {
            fail(where, "expected an integer");
        }
    }
    void readReal(const json& node, const std::string& where, double& value) {
        if (!realFromJson(node, value))
            fail(where, "expected a number");
    }
    void readElement(const json& node, const std::string& where, int& value) {
        readInt(node, where, value);
    }
    void readElement(const json& node, const std::string& where, double& value) {
        readReal(node, where, value);
    }
    template <typename T, std::size_t N>
    void readElement(const json& node, const std::string& where, std::array<T, N>& values) {
        readArray(node, where, values);
    }
    template <typename T, std::size_t N>
    void readArray(const json& node, const std::string& where, std::array<T, N>& values) {
        if (!node.is_array()) {
            fail(where, "expected an array of " + std::to_string(N) + " elements");
            return;
        }
        if (node.size() != N) {
            fail(where, "expected " + std::to_string(N) + " elements, found " +
                            std::to_string(node.size()));
            return;
        }
        for (std::size_t i = 0; i < N && error.empty(); ++i) {
            readElement(node[i], where + "[" + std::to_string(i) + "]", values[i]);
        }
    }
};

constexpr const char* kReportField = "report";

// The optional "report" object: texts only, each optional, nothing else.
std::string readReportDetails(const json& root, ReportDetails& details) {
    const auto found = root.find(kReportField);
    details = {};
    if (found == root.end())
        return {};
    if (!found->is_object())
        return "field \"report\": expected an object";
    const std::pair<const char*, std::string*> fields[] = {{"title", &details.title},
                                                           {"description", &details.description},
                                                           {"client", &details.client},
                                                           {"engineer", &details.engineer}};
    for (const auto& item : found->items()) {
        std::string* target = nullptr;
        for (const auto& [name, text] : fields) {
            if (item.key() == name)
                target = text;
        }
        if (!target)
            return "unknown field \"report." + item.key() + "\"";
        if (!item.value().is_string())
            return "field \"report." + item.key() + "\": expected a text";
        *target = item.value().get<std::string>();
    }
    return {};
}

constexpr const char* kTrialsField = "trials";

}  // namespace

nlohmann::json projectJsonObject(const CStenorDoc& doc) {
    JsonWriter writer;
    writer.out["format"] = kFormatName;
    writer.out["version"] = kFormatVersion;
    visitSavedFields(writer, doc);
    if (!doc.reportDetails.empty()) {
        writer.out[kReportField] = {{"title", doc.reportDetails.title},
                                    {"description", doc.reportDetails.description},
                                    {"client", doc.reportDetails.client},
                                    {"engineer", doc.reportDetails.engineer}};
    }
    // The trials the project was read with go back as they came; a project without any writes
    // no field, so its file stays as it was.
    if (!doc.trials.empty()) {
        json trials;
        if (parseJsonText(doc.trials, trials).empty())
            writer.out[kTrialsField] = std::move(trials);
    }
    return std::move(writer.out);
}

std::string projectToJson(const CStenorDoc& doc) {
    return projectJsonObject(doc).dump(2) + "\n";
}

FileResult projectFromJson(const std::string& text, CStenorDoc& doc) {
    json root;
    if (std::string problem = parseJsonText(text, root); !problem.empty())
        return {problem};
    return projectFromJsonObject(root, doc);
}

FileResult projectFromJsonObject(const nlohmann::json& root, CStenorDoc& doc) {
    if (!root.is_object())
        return {"the document is not a JSON object"};
    auto format = root.find("format");
    if (format == root.end() || *format != kFormatName) {
        return {"field \"format\": expected \"ardelon-project\""};
    }
    auto version = root.find("version");
    if (version == root.end() || !version->is_number_integer() || *version != kFormatVersion) {
        return {"field \"version\": expected 1"};
    }

    CStenorDoc scratch = doc;
    JsonReader reader(root, "");
    reader.markKnown("format");
    reader.markKnown("version");
    reader.markKnown(kReportField);
    reader.markKnown(kTrialsField);
    visitSavedFields(reader, scratch);
    reader.refuseUnknownFields();
    if (!reader.error.empty())
        return {reader.error};
    if (std::string problem = readReportDetails(root, scratch.reportDetails); !problem.empty())
        return {problem};
    scratch.trials.clear();
    if (const auto trials = root.find(kTrialsField); trials != root.end()) {
        if (!trials->is_array())
            return {"field \"trials\": expected an array"};
        scratch.trials = trials->dump();
    }
    if (std::string problem = normalizeReadProject(scratch); !problem.empty())
        return {problem};
    doc = scratch;
    return {};
}

bool hasJsonExtension(const std::string& path) {
    return path.size() >= 5 && (path.compare(path.size() - 5, 5, ".json") == 0 ||
                                path.compare(path.size() - 5, 5, ".JSON") == 0);
}

FileResult loadProject(const std::string& path, CStenorDoc& doc) {
    if (!hasJsonExtension(path))
        return openProjectFile(path, doc);
    std::vector<std::uint8_t> bytes;
    if (FileResult read = readWholeFile(path, bytes); !read.ok())
        return read;
    FileResult parsed = projectFromJson(std::string(bytes.begin(), bytes.end()), doc);
    if (!parsed.ok())
        parsed.error = path + ": " + parsed.error;
    return parsed;
}

FileResult storeProject(const CStenorDoc& doc, const std::string& path) {
    if (!hasJsonExtension(path))
        return saveProjectFile(doc, path);
    const std::string text = projectToJson(doc);
    return writeFileReplacing(path, text.data(), text.size());
}

}  // namespace ardelon
