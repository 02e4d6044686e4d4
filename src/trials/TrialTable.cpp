#include "trials/TrialTable.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

#include "criteria/ResponseType.h"
#include "project/CriterionSlot.h"

namespace ardelon {
namespace {

constexpr const char* kPositionNames[] = {"Top", "Middle", "Bottom"};

std::string fixed(double value, int decimals, bool sign = false) {
    char text[64];
    std::snprintf(text, sizeof text, sign ? "%+.*f" : "%.*f", decimals, value);
    return text;
}

std::string verdictCounts(const Trial& t) {
    int count[3] = {0, 0, 0};
    for (const auto& r : t.lists.percentile)
        ++count[static_cast<int>(r.settled.verdict)];
    for (const auto& r : t.lists.transferFunction) {
        if (r.lifeChecked)
            ++count[static_cast<int>(r.settledYears.verdict)];
    }
    return std::to_string(count[0]) + " Pass, " + std::to_string(count[1]) + " Fail, " +
           std::to_string(count[2]) + " Undecided";
}

// A result row of any trial: which list, slot and level.
using RowKey = std::tuple<int, int, int>;

}  // namespace

std::string groupedMoney(double value) {
    std::string s = fixed(value, 2);
    const std::size_t point = s.find('.');
    const std::size_t firstDigit = s[0] == '-' ? 1 : 0;
    for (std::size_t i = point; i > firstDigit + 3; i -= 3)
        s.insert(i - 3, ",");
    return s;
}

std::string resultRowName(const CStenorDoc& inputs, int slot, int level) {
    const int type = inputs.criteria[static_cast<std::size_t>(slot)].responseType;
    std::string name =
        "Layer " + std::to_string(slotLayer(slot)) + " " + kPositionNames[slotPosition(slot)] +
        ", " + std::string(type >= 0 && type < kResponseTypeCount ? kResponseTypeNames[type] : "");
    if (level >= 0 && level < kDistributionLevels)
        name += std::string(" (") + kDistributionLevelNames[static_cast<std::size_t>(level)] + ")";
    return name;
}

bool trialPasses(const Trial& t) {
    for (const auto& r : t.lists.percentile) {
        if (r.settled.verdict != Verdict::Pass)
            return false;
    }
    for (const auto& r : t.lists.transferFunction) {
        if (r.lifeChecked && r.settledYears.verdict != Verdict::Pass)
            return false;
    }
    return true;
}

int cheapestPassingTrial(const std::vector<Trial>& trials) {
    int best = -1;
    for (std::size_t i = 0; i < trials.size(); ++i) {
        const Trial& t = trials[i];
        if (!trialPasses(t))
            continue;
        // Unpriced trials compare by their asphalt thickness, as the design search does.
        const double cost = t.priced ? t.costPerLane : t.asphaltThickness;
        const Trial* b = best < 0 ? nullptr : &trials[static_cast<std::size_t>(best)];
        if (!b || cost < (b->priced ? b->costPerLane : b->asphaltThickness))
            best = static_cast<int>(i);
    }
    return best;
}

TrialTable sideBySide(const std::vector<Trial>& trials) {
    TrialTable table;
    table.headings.push_back("Result");
    for (const Trial& t : trials)
        table.headings.push_back(t.name);
    table.cheapestPassing = cheapestPassingTrial(trials);
    if (trials.empty())
        return table;
    const CStenorDoc& units = trials.front().inputs;
    auto addRow = [&](std::string name, auto cell) {
        std::vector<std::string> row{std::move(name)};
        for (const Trial& t : trials)
            row.push_back(cell(t));
        table.rows.push_back(std::move(row));
    };
    addRow(std::string("Cost (") + trialCostUnit(units) + ")", [](const Trial& t) {
        return t.priced ? groupedMoney(t.costPerLane) : std::string("not priced");
    });
    addRow(std::string("Total asphalt thickness (") + trialThicknessUnit(units) + ")",
           [](const Trial& t) { return thicknessText(t.asphaltThickness); });
    addRow("Settled verdicts", verdictCounts);
    addRow("Cheapest passing", [&](const Trial& t) {
        return table.cheapestPassing >= 0 &&
                       &t == &trials[static_cast<std::size_t>(table.cheapestPassing)]
                   ? std::string("yes")
                   : std::string();
    });
    addRow("Cycles (seed)", [](const Trial& t) {
        return std::to_string(t.run.cycles) + " (" + std::to_string(t.run.seed) + ")";
    });

    // Every result row of any trial, in the order the trials list them.
    // Each named after the criterion of the first trial that has it.
    std::vector<RowKey> keys;
    std::vector<std::string> names;
    auto note = [&](RowKey key, const Trial& t) {
        if (std::find(keys.begin(), keys.end(), key) != keys.end())
            return;
        keys.push_back(key);
        names.push_back(resultRowName(t.inputs, std::get<1>(key), std::get<2>(key)));
    };
    for (const Trial& t : trials) {
        for (const auto& r : t.lists.transferFunction)
            note({0, r.slot, -1}, t);
        for (const auto& r : t.lists.percentile)
            note({1, r.slot, r.level}, t);
    }
    for (std::size_t k = 0; k < keys.size(); ++k) {
        // Plain copies, not a structured binding: clang before 16 cannot capture bindings.
        const int list = std::get<0>(keys[k]), slot = std::get<1>(keys[k]);
        const int level = std::get<2>(keys[k]);
        const std::string& name = names[k];
        if (list == 0) {
            auto find = [slot](const Trial& t) -> const TransferFunctionRow* {
                for (const auto& r : t.lists.transferFunction) {
                    if (r.slot == slot)
                        return &r;
                }
                return nullptr;
            };
            addRow(name + ": Percent Below Critical", [&](const Trial& t) {
                const auto* r = find(t);
                return r ? r->cells[5] : std::string("-");
            });
            addRow(name + ": Years to D=1.0", [&](const Trial& t) {
                const auto* r = find(t);
                return r ? r->cells[8] + " " + verdictCell(*r) : std::string("-");
            });
        } else {
            addRow(name + ": Actual Percentile", [&](const Trial& t) {
                for (const auto& r : t.lists.percentile) {
                    if (r.slot == slot && r.level == level)
                        return r.cells[6] + " " + verdictCell(r);
                }
                return std::string("-");
            });
        }
    }
    return table;
}

TrialTable differenceTable(const Trial& first, const Trial& second,
                           const std::vector<RowDifference>& differences, double confidence) {
    TrialTable table;
    table.headings = {
        "Result", first.name, second.name, "Difference", confidenceText(confidence) + " Interval",
        "Better"};
    for (const RowDifference& d : differences) {
        table.rows.push_back(
            {resultRowName(second.inputs, d.slot, d.level) +
                 (d.list == 0 ? ": Percent Below Critical" : ": Actual Percentile"),
             fixed(d.first, 2), fixed(d.second, 2), fixed(d.paired.difference, 2, true),
             "[" + fixed(d.paired.low, 2, true) + ", " + fixed(d.paired.high, 2, true) + "]",
             pairedVerdictText(d.paired.verdict, first.name, second.name)});
    }
    return table;
}

}  // namespace ardelon
