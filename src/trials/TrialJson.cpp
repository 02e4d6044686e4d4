#include "trials/TrialJson.h"

#include <limits>
#include <nlohmann/json.hpp>
#include <set>

#include "project/JsonText.h"
#include "project/ProjectJson.h"

namespace ardelon {
namespace {

using nlohmann::json;

constexpr const char* kFileFormat = "ardelon-trials";
constexpr int kFileVersion = 1;

json intervalJson(const SettledInterval& s) {
    return {realToJson(s.low), realToJson(s.high)};
}

template <std::size_t N>
json textsJson(const std::array<std::string, N>& cells) {
    return json(cells);
}

json rowJson(const TransferFunctionRow& r) {
    return {{"slot", r.slot},
            {"threshold", realToJson(r.threshold)},
            {"exceedances", r.exceedCount},
            {"percentBelowCritical", realToJson(r.percentBelowCritical)},
            {"damageShown", r.damageShown},
            {"damagePerMillion", realToJson(r.damagePerMillion)},
            {"yearsToDamage0_1", realToJson(r.yearsToDamage01)},
            {"yearsToDamage1_0", realToJson(r.yearsToDamage10)},
            {"yearsToDamage1_0Interval", intervalJson(r.settledYears)},
            {"verdict", verdictWord(r.settledYears.verdict)},
            {"lifeChecked", r.lifeChecked},
            {"texts", textsJson(r.cells)}};
}

json rowJson(const PercentileRow& r) {
    return {{"slot", r.slot},
            {"level", r.level},
            {"targetValue", realToJson(r.targetValue)},
            {"targetPercentile", realToJson(r.targetPercentile)},
            {"exceedances", r.exceedCount},
            {"actualPercentile", realToJson(r.actualPercentile)},
            {"pass", r.pass},
            {"actualPercentileInterval", intervalJson(r.settled)},
            {"verdict", verdictWord(r.settled.verdict)},
            {"texts", textsJson(r.cells)}};
}

json trialJson(const Trial& t) {
    json conventional = json::array(), percentile = json::array();
    for (const auto& r : t.lists.transferFunction)
        conventional.push_back(rowJson(r));
    for (const auto& r : t.lists.percentile)
        percentile.push_back(rowJson(r));
    json verdicts = {{"confidence", realToJson(t.lists.rules.confidence)}};
    if (t.lists.rules.designLifeYears)
        verdicts["designLifeYears"] = realToJson(*t.lists.rules.designLifeYears);
    return {{"name", t.name},
            {"inputs", projectJsonObject(t.inputs)},
            {"run",
             {{"seed", t.run.seed},
              {"cycles", t.run.cycles},
              {"date", t.run.date},
              {"version", t.run.version}}},
            {"costPerLane", realToJson(t.costPerLane)},
            {"priced", t.priced},
            {"asphaltThickness", realToJson(t.asphaltThickness)},
            {"verdicts", std::move(verdicts)},
            {"conventionalDesign", std::move(conventional)},
            {"percentileResponses", std::move(percentile)}};
}

json trialsJson(const std::vector<Trial>& trials) {
    json array = json::array();
    for (const Trial& t : trials)
        array.push_back(trialJson(t));
    return array;
}

// Reads the fields of one object; the first problem is kept and stops the rest. Unknown
// fields are refused when the object is done.
class ObjectReader {
  public:
    ObjectReader(const json& node, std::string where, std::string& error)
        : node_(node), where_(std::move(where)), error_(error) {
        if (error_.empty() && !node_.is_object())
            error_ = where_ + ": expected an object";
    }
    ~ObjectReader() = default;

    const json* take(const char* name) {
        seen_.insert(name);
        if (!error_.empty())
            return nullptr;
        const auto it = node_.find(name);
        if (it == node_.end()) {
            error_ = where_ + ": missing field \"" + name + "\"";
            return nullptr;
        }
        return &*it;
    }
    bool has(const char* name) const { return node_.is_object() && node_.contains(name); }
    void fail(const char* name, const std::string& what) {
        if (error_.empty())
            error_ = path(name) + ": " + what;
    }
    std::string path(const char* name) const { return where_ + "." + name; }

    void integer(const char* name, int& value, int low, int high) {
        if (const json* n = take(name)) {
            if (!n->is_number_integer() || n->get<std::int64_t>() < low ||
                n->get<std::int64_t>() > high) {
                fail(name, "expected an integer from " + std::to_string(low) + " to " +
                               std::to_string(high));
            } else {
                value = static_cast<int>(n->get<std::int64_t>());
            }
        }
    }
    void seed(const char* name, std::uint32_t& value) {
        if (const json* n = take(name)) {
            if (!n->is_number_unsigned() ||
                n->get<std::uint64_t>() > std::numeric_limits<std::uint32_t>::max()) {
                fail(name, "expected an integer from 0 to 4294967295");
            } else {
                value = static_cast<std::uint32_t>(n->get<std::uint64_t>());
            }
        }
    }
    void real(const char* name, double& value) {
        if (const json* n = take(name); n && !realFromJson(*n, value))
            fail(name, "expected a number");
    }
    void boolean(const char* name, bool& value) {
        if (const json* n = take(name)) {
            if (!n->is_boolean())
                fail(name, "expected true or false");
            else
                value = n->get<bool>();
        }
    }
    void text(const char* name, std::string& value) {
        if (const json* n = take(name)) {
            if (!n->is_string())
                fail(name, "expected a text");
            else
                value = n->get<std::string>();
        }
    }
    template <std::size_t N>
    void texts(const char* name, std::array<std::string, N>& cells) {
        const json* n = take(name);
        if (!n)
            return;
        if (!n->is_array() || n->size() != N) {
            fail(name, "expected " + std::to_string(N) + " texts");
            return;
        }
        for (std::size_t i = 0; i < N; ++i) {
            if (!(*n)[i].is_string()) {
                fail(name, "expected " + std::to_string(N) + " texts");
                return;
            }
            cells[i] = (*n)[i].get<std::string>();
        }
    }
    void interval(const char* name, SettledInterval& s) {
        const json* n = take(name);
        if (!n)
            return;
        if (!n->is_array() || n->size() != 2 || !realFromJson((*n)[0], s.low) ||
            !realFromJson((*n)[1], s.high)) {
            fail(name, "expected two numbers");
        }
    }
    void verdict(const char* name, Verdict& v) {
        std::string word;
        text(name, word);
        if (!error_.empty())
            return;
        for (Verdict candidate : {Verdict::Pass, Verdict::Fail, Verdict::Undecided}) {
            if (word == verdictWord(candidate)) {
                v = candidate;
                return;
            }
        }
        fail(name, "expected \"pass\", \"fail\" or \"undecided\"");
    }
    void refuseUnknown() {
        if (!error_.empty())
            return;
        for (const auto& item : node_.items()) {
            if (!seen_.count(item.key())) {
                error_ = where_ + ": unknown field \"" + item.key() + "\"";
                return;
            }
        }
    }

  private:
    const json& node_;
    std::string where_;
    std::string& error_;
    std::set<std::string> seen_;
};

void readRow(ObjectReader& in, TransferFunctionRow& r) {
    in.integer("slot", r.slot, 0, kSlotCount - 1);
    in.real("threshold", r.threshold);
    in.integer("exceedances", r.exceedCount, 0, std::numeric_limits<int>::max());
    in.real("percentBelowCritical", r.percentBelowCritical);
    in.boolean("damageShown", r.damageShown);
    in.real("damagePerMillion", r.damagePerMillion);
    in.real("yearsToDamage0_1", r.yearsToDamage01);
    in.real("yearsToDamage1_0", r.yearsToDamage10);
    in.interval("yearsToDamage1_0Interval", r.settledYears);
    in.verdict("verdict", r.settledYears.verdict);
    in.boolean("lifeChecked", r.lifeChecked);
    in.texts("texts", r.cells);
}

void readRow(ObjectReader& in, PercentileRow& r) {
    in.integer("slot", r.slot, 0, kSlotCount - 1);
    in.integer("level", r.level, -1, kDistributionLevels - 1);
    in.real("targetValue", r.targetValue);
    in.real("targetPercentile", r.targetPercentile);
    in.integer("exceedances", r.exceedCount, 0, std::numeric_limits<int>::max());
    in.real("actualPercentile", r.actualPercentile);
    in.boolean("pass", r.pass);
    in.interval("actualPercentileInterval", r.settled);
    in.verdict("verdict", r.settled.verdict);
    in.texts("texts", r.cells);
}

template <typename Row>
void readRows(ObjectReader& in, const char* name, std::vector<Row>& rows, std::string& error) {
    const json* list = in.take(name);
    if (!list)
        return;
    if (!list->is_array()) {
        in.fail(name, "expected an array");
        return;
    }
    for (std::size_t i = 0; i < list->size() && error.empty(); ++i) {
        ObjectReader row((*list)[i], in.path(name) + "[" + std::to_string(i) + "]", error);
        Row r;
        readRow(row, r);
        row.refuseUnknown();
        rows.push_back(std::move(r));
    }
}

void readTrial(const json& node, const std::string& where, Trial& t, std::string& error) {
    ObjectReader in(node, where, error);
    in.text("name", t.name);
    if (error.empty() && t.name.empty())
        in.fail("name", "expected a name");
    if (const json* inputs = in.take("inputs")) {
        if (FileResult read = projectFromJsonObject(*inputs, t.inputs); !read.ok())
            in.fail("inputs", read.error);
    }
    if (const json* run = in.take("run")) {
        ObjectReader r(*run, in.path("run"), error);
        r.seed("seed", t.run.seed);
        r.integer("cycles", t.run.cycles, 0, std::numeric_limits<int>::max());
        r.text("date", t.run.date);
        r.text("version", t.run.version);
        r.refuseUnknown();
    }
    in.real("costPerLane", t.costPerLane);
    in.boolean("priced", t.priced);
    in.real("asphaltThickness", t.asphaltThickness);
    if (const json* verdicts = in.take("verdicts")) {
        ObjectReader v(*verdicts, in.path("verdicts"), error);
        v.real("confidence", t.lists.rules.confidence);
        if (v.has("designLifeYears")) {
            double life = 0.0;
            v.real("designLifeYears", life);
            t.lists.rules.designLifeYears = life;
        }
        v.refuseUnknown();
    }
    readRows(in, "conventionalDesign", t.lists.transferFunction, error);
    readRows(in, "percentileResponses", t.lists.percentile, error);
    in.refuseUnknown();
}

FileResult readTrialArray(const json& array, std::vector<Trial>& trials) {
    if (!array.is_array())
        return {"trials: expected an array"};
    std::vector<Trial> read(array.size());
    std::string error;
    for (std::size_t i = 0; i < array.size() && error.empty(); ++i)
        readTrial(array[i], "trials[" + std::to_string(i) + "]", read[i], error);
    if (!error.empty())
        return {error};
    trials = std::move(read);
    return {};
}

}  // namespace

std::string trialsToText(const std::vector<Trial>& trials) {
    return trials.empty() ? std::string() : trialsJson(trials).dump();
}

FileResult trialsFromText(const std::string& text, std::vector<Trial>& trials) {
    if (text.empty()) {
        trials.clear();
        return {};
    }
    json array;
    if (std::string problem = parseJsonText(text, array); !problem.empty())
        return {"trials: " + problem};
    return readTrialArray(array, trials);
}

std::string trialsFileText(const std::vector<Trial>& trials) {
    const json file = {
        {"format", kFileFormat}, {"version", kFileVersion}, {"trials", trialsJson(trials)}};
    return file.dump(2) + "\n";
}

FileResult trialsFromFileText(const std::string& text, std::vector<Trial>& trials) {
    json file;
    if (std::string problem = parseJsonText(text, file); !problem.empty())
        return {problem};
    if (!file.is_object() || file.value("format", json()) != kFileFormat)
        return {"field \"format\": expected \"ardelon-trials\""};
    if (file.value("version", json()) != kFileVersion)
        return {"field \"version\": expected 1"};
    for (const auto& item : file.items()) {
        if (item.key() != "format" && item.key() != "version" && item.key() != "trials")
            return {"unknown field \"" + item.key() + "\""};
    }
    if (!file.contains("trials"))
        return {"missing field \"trials\""};
    return readTrialArray(file["trials"], trials);
}

}  // namespace ardelon
