#include "sensitivity/Sensitivity.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "reliability/CycleGeometry.h"

namespace ardelon {
namespace {

constexpr size_t at(int index) {
    return static_cast<size_t>(index);
}

double mean(const std::vector<double>& v) {
    return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

// Ranks from 1, ties sharing the mean of the ranks they span.
std::vector<double> ranks(const std::vector<double>& v) {
    std::vector<size_t> order(v.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return v[a] < v[b]; });
    std::vector<double> rank(v.size());
    for (size_t i = 0; i < order.size();) {
        size_t j = i;
        while (j + 1 < order.size() && v[order[j + 1]] == v[order[i]])
            ++j;
        const double shared = (static_cast<double>(i + j) + 2.0) / 2.0;
        for (size_t k = i; k <= j; ++k)
            rank[order[k]] = shared;
        i = j + 1;
    }
    return rank;
}

double pearson(const std::vector<double>& x, const std::vector<double>& y) {
    const double mx = mean(x), my = mean(y);
    double sxy = 0, sxx = 0, syy = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        sxy += (x[i] - mx) * (y[i] - my);
        sxx += (x[i] - mx) * (x[i] - mx);
        syy += (y[i] - my) * (y[i] - my);
    }
    if (!(sxx > 0 && syy > 0))
        return 0.0;
    return std::clamp(sxy / std::sqrt(sxx * syy), -1.0, 1.0);
}

// The input series of one cycle's draws.
struct InputSeries {
    std::string name;
    bool categorical = false;
    std::vector<double> values;
};

// Moduli standardised within their season: (E - season mean) / season standard deviation, 0
// where a season's modulus does not vary.
std::vector<double> standardisedModulus(const std::vector<CycleRecord>& records, int layer) {
    std::array<double, kSeasonCount> sum{};
    std::array<int, kSeasonCount> count{};
    for (const CycleRecord& r : records) {
        const size_t s = at(r.sample.season);
        const double e = r.sample.modulus[at(layer)];
        sum[s] += e;
        ++count[s];
    }
    std::array<double, kSeasonCount> seasonMean{}, seasonSd{};
    for (size_t s = 0; s < at(kSeasonCount); ++s) {
        if (count[s] == 0)
            continue;
        seasonMean[s] = sum[s] / count[s];
        double squares = 0;  // two-pass for accuracy: moduli of 1e6 psi vary by thousands
        for (const CycleRecord& r : records) {
            if (at(r.sample.season) == s) {
                const double d = r.sample.modulus[at(layer)] - seasonMean[s];
                squares += d * d;
            }
        }
        seasonSd[s] = std::sqrt(squares / count[s]);
    }
    std::vector<double> z;
    z.reserve(records.size());
    for (const CycleRecord& r : records) {
        const size_t s = at(r.sample.season);
        z.push_back(seasonSd[s] > 0 ? (r.sample.modulus[at(layer)] - seasonMean[s]) / seasonSd[s]
                                    : 0.0);
    }
    return z;
}

std::vector<InputSeries> inputSeries(const CStenorDoc& work,
                                     const std::vector<CycleRecord>& records) {
    const int layers = work.layerCountIndex + 2;
    std::vector<InputSeries> series;
    for (int l = 0; l < layers; ++l)
        series.push_back({"E" + std::to_string(l + 1), false, standardisedModulus(records, l)});
    auto fromSample = [&](std::string name, bool categorical, auto value) {
        InputSeries s{std::move(name), categorical, {}};
        s.values.reserve(records.size());
        for (const CycleRecord& r : records)
            s.values.push_back(value(r.sample));
        series.push_back(std::move(s));
    };
    for (int h = 0; h + 1 < layers; ++h) {
        fromSample("H" + std::to_string(h + 1), false,
                   [h](const CycleSample& s) { return s.thickness[at(h)]; });
    }
    fromSample("Season", true, [](const CycleSample& s) { return double(s.season); });
    fromSample("Configuration", true, [](const CycleSample& s) { return double(s.configuration); });
    fromSample("WheelLoad", false, [](const CycleSample& s) { return s.loadPerTire; });
    return series;
}

}  // namespace

std::string plainInputName(const CStenorDoc& work, const std::string& input) {
    if (input == "WheelLoad")
        return "Wheel load";
    if (input == "Configuration")
        return "Axle configuration";
    if (input.size() != 2 || (input[0] != 'E' && input[0] != 'H'))
        return input;
    const int layer = input[1] - '0';
    if (layer < 1 || layer > kLayerCount)
        return input;
    const std::string quantity = input[0] == 'E' ? " modulus " : " thickness ";
    if (layer == work.layerCountIndex + 2)
        return "Subgrade" + quantity + input;
    const int index = work.materialIndex[at(layer - 1)];
    const bool named = index >= 0 && index < materialListSize(layer);
    return (named ? std::string(materialName(materialOf(layer, index)))
                  : "Layer " + std::to_string(layer)) +
           quantity + input;
}

double rankCorrelation(const std::vector<double>& x, const std::vector<double>& y) {
    if (x.size() < 2 || x.size() != y.size())
        return 0.0;
    return pearson(ranks(x), ranks(y));
}

double firstOrderShare(const std::vector<double>& x, const std::vector<double>& y,
                       bool categorical) {
    const size_t n = x.size();
    if (n < 2 || n != y.size())
        return 0.0;
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return x[a] < x[b]; });
    const int binCount =
        std::clamp(static_cast<int>(n) / kMinCyclesPerSensitivityBin, 1, kMaxSensitivityBins);
    const double target = static_cast<double>(n) / binCount;

    const double grandMean = mean(y);
    double total = 0;
    for (double v : y)
        total += (v - grandMean) * (v - grandMean);
    if (!(total > 0))
        return 0.0;

    double between = 0;
    int bins = 0;
    for (size_t i = 0; i < n;) {
        // A bin ends at the target size (continuous) or where the value changes (categories);
        // equal values always stay together.
        size_t j = i + 1;
        while (j < n && (x[order[j]] == x[order[j - 1]] ||
                         (!categorical && static_cast<double>(j - i) < target))) {
            ++j;
        }
        double binSum = 0;
        for (size_t k = i; k < j; ++k)
            binSum += y[order[k]];
        const double binMean = binSum / static_cast<double>(j - i);
        between += static_cast<double>(j - i) * (binMean - grandMean) * (binMean - grandMean);
        ++bins;
        i = j;
    }
    if (static_cast<size_t>(bins) >= n)
        return std::clamp(between / total, 0.0, 1.0);
    const double within = total - between;
    const double corrected =
        (between - (bins - 1) * within / static_cast<double>(n - static_cast<size_t>(bins))) /
        total;
    return std::clamp(corrected, 0.0, 1.0);
}

std::vector<CriterionSensitivity> runSensitivity(const CStenorDoc& work,
                                                 const AnalysisResults& results) {
    const std::vector<CycleRecord>& records = results.cycleRecords;
    const EvaluatedSlots slots = evaluatedSlots(work.criteria);
    const std::vector<InputSeries> inputs = inputSeries(work, records);
    std::vector<CriterionSensitivity> measures;
    for (int i = 0; i < slots.count; ++i) {
        std::vector<size_t> kept;
        std::vector<double> y;
        for (size_t c = 0; c < records.size(); ++c) {
            const double value = records[c].criticalValue[at(i)];
            if (std::isfinite(value))
                kept.push_back(c), y.push_back(value);
        }
        CriterionSensitivity criterion{slots.slot[at(i)], {}};
        for (const InputSeries& input : inputs) {
            std::vector<double> x;
            x.reserve(kept.size());
            for (size_t c : kept)
                x.push_back(input.values[c]);
            InputSensitivity measure{input.name, std::nullopt,
                                     firstOrderShare(x, y, input.categorical)};
            if (!input.categorical)
                measure.rankCorrelation = rankCorrelation(x, y);
            criterion.inputs.push_back(std::move(measure));
        }
        std::stable_sort(
            criterion.inputs.begin(), criterion.inputs.end(),
            [](const InputSensitivity& a, const InputSensitivity& b) { return a.share > b.share; });
        measures.push_back(std::move(criterion));
    }
    return measures;
}

}  // namespace ardelon
