// ardelon-cli analyze --pdf: the design report read back with poppler's pdftotext and rendered
// with pdftoppm.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/CliTestSupport.h"

namespace ardelon::testing {
namespace {

namespace fs = std::filesystem;

using PdfReport = CliTest;

// Whether `label`, then blanks, then `value` (ending at a blank or the line's end) appear.
bool labelled(const std::string& text, const std::string& label, const std::string& value) {
    for (auto at = text.find(label); at != std::string::npos; at = text.find(label, at + 1)) {
        auto v = at + label.size();
        while (v < text.size() && text[v] == ' ')
            ++v;
        const auto end = v + value.size();
        if (text.compare(v, value.size(), value) == 0 &&
            (end == text.size() || text[end] == ' ' || text[end] == '\n'))
            return true;
    }
    return false;
}

std::string shell(const std::string& command, const fs::path& output) {
    const std::string line = command + " > '" + output.string() + "' 2>&1";
    EXPECT_EQ(std::system(line.c_str()), 0) << line << "\n" << readBytes(output);
    return readBytes(output);
}

// The "Actual Percentile" cells of the percentile table as analyze prints it.
std::vector<std::string> printedActualPercentiles(const std::string& out) {
    const auto title = out.find("Perpetual Pavement Design Results: Percentile Responses\n");
    const auto headingStart = out.find('\n', title) + 1;
    const auto headingEnd = out.find('\n', headingStart);
    const std::string heading = out.substr(headingStart, headingEnd - headingStart);
    const auto column = heading.find("Actual Percentile");
    std::vector<std::string> cells;
    std::size_t line = headingEnd + 1;
    while (line < out.size() && out[line] != '\n') {
        const auto end = out.find('\n', line);
        const std::string row = out.substr(line, end - line);
        if (row.size() > column && row[0] != '-')  // the rule under the headings
            cells.push_back(row.substr(column, row.find(' ', column) - column));
        line = end + 1;
    }
    return cells;
}

// How many verdict cells `verdict` followed by their interval ("Pass   91.87 to 93.29 %",
// "Fail   21.307 to 31.258 years") `text` holds.
int settledCells(const std::string& text, const std::string& verdict) {
    int n = 0;
    for (auto at = text.find(verdict); at != std::string::npos; at = text.find(verdict, at + 1)) {
        const auto after = at + verdict.size();
        if ((at > 0 && std::isalnum(static_cast<unsigned char>(text[at - 1]))) ||
            after >= text.size() || text[after] != ' ')
            continue;
        double low = 0;
        char high[32] = "", unit[16] = "";
        if (std::sscanf(text.c_str() + after, " %lf to %31s %15s", &low, high, unit) == 3 &&
            (std::string(unit) == "%" || std::string(unit) == "years"))
            ++n;
    }
    return n;
}

// The counts of "Settled verdicts at 95 % confidence: 4 Pass, 0 Fail, 1 Undecided".
std::vector<int> settledCounts(const std::string& out) {
    const auto line = out.find("Settled verdicts at 95 % confidence: ");
    int pass = -1, fail = -1, undecided = -1;
    if (line != std::string::npos) {
        std::sscanf(out.c_str() + line,
                    "Settled verdicts at 95 %% confidence: %d Pass, %d Fail, %d", &pass, &fail,
                    &undecided);
    }
    return {pass, fail, undecided};
}

// Share of the pixels of a binary PPM (P6) picture that are not white.
double inkedShare(const fs::path& ppm) {
    std::ifstream in(ppm, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxValue = 0;
    in >> magic >> width >> height >> maxValue;
    in.get();
    std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 3);
    in.read(reinterpret_cast<char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    std::size_t inked = 0;
    for (std::size_t i = 0; i + 2 < pixels.size(); i += 3)
        inked += pixels[i] < 200 || pixels[i + 1] < 200 || pixels[i + 2] < 200;
    return pixels.empty() ? 0.0 : static_cast<double>(inked) / (pixels.size() / 3);
}

TEST_F(PdfReport, FirstPageCarriesTheVerdictCostAndRunRecordAndEveryPageRenders) {
    const fs::path project = example("perpetual-interstate.json");
    const CliRun run = runCliOk("analyze " + quoted(project) +
                                    " --seed 1 --cycles 300 --threads 2 --pdf r.pdf"
                                    " --title 'I-99 Section 4' --engineer 'Pavement Design Unit'"
                                    " --client 'State DOT' --life 40",
                                dir);
    // The cells keep their words together with no-break spaces; read them as spaces.
    std::string first =
        shell("pdftotext -layout -f 1 -l 1 '" + (dir / "r.pdf").string() + "' -", dir / "p1.txt");
    for (auto at = first.find("\xC2\xA0"); at != std::string::npos; at = first.find("\xC2\xA0"))
        first.replace(at, 2, " ");
    const std::string all =
        shell("pdftotext -layout '" + (dir / "r.pdf").string() + "' -", dir / "all.txt");
    for (const std::string& expected : std::vector<std::string>{
             "I-99 Section 4", "Pavement Design Unit", "State DOT", "Overall: ", "per lane-mile",
             fs::weakly_canonical(project).string(), "95 % interval", "Against 40 years"})
        EXPECT_NE(first.find(expected), std::string::npos) << expected << "\n" << first;
    for (const auto& [label, value] : {std::pair{"Seed", "1"},
                                       {"Monte Carlo Cycles", "300"},
                                       {"Program Version", "Ardelon " ARDELON_VERSION_TEXT}})
        EXPECT_TRUE(labelled(first, label, value)) << label << "\n" << first;
    // The first page states the settled verdicts the command prints, each with its interval
    // (percentile rows and, against the life, the transfer-function rows), and the overall verdict
    // they give.
    const std::vector<int> counts = settledCounts(run.out);
    ASSERT_GE(counts[0], 0) << run.out;
    EXPECT_EQ(settledCells(first, "Pass"), counts[0]) << first;
    EXPECT_EQ(settledCells(first, "Fail"), counts[1]) << first;
    EXPECT_EQ(settledCells(first, "Undecided"), counts[2]) << first;
    const char* overall = counts[1] > 0 ? "Fail" : counts[2] > 0 ? "Undecided" : "Pass";
    EXPECT_TRUE(labelled(first, "Overall:", overall)) << first;
    const std::vector<std::string> actual = printedActualPercentiles(run.out);
    ASSERT_EQ(actual.size(), 7u) << run.out;  // deflection, five levels, vertical strain
    for (const std::string& cell : actual)
        EXPECT_NE(all.find(cell), std::string::npos) << cell;

    // "Page n of N" on every page, and every page renders; the chart pages carry drawings.
    const auto pages = all.find("Page 1 of ");
    ASSERT_NE(pages, std::string::npos);
    const int count = std::atoi(all.c_str() + pages + 10);
    EXPECT_GE(count, 6);
    EXPECT_NE(all.find("Page " + std::to_string(count) + " of " + std::to_string(count)),
              std::string::npos);
    shell("pdftoppm -r 24 '" + (dir / "r.pdf").string() + "' '" + (dir / "page").string() + "'",
          dir / "render.txt");
    std::vector<fs::path> rendered;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() == ".ppm")
            rendered.push_back(entry.path());
    }
    ASSERT_EQ(rendered.size(), static_cast<std::size_t>(count));
    // A page with nothing but its footer inks about 0.3 % of its pixels; a chart page ten times
    // that.
    int drawn = 0;
    for (const fs::path& page : rendered) {
        const double ink = inkedShare(page);
        EXPECT_GT(ink, 0.006) << page;
        drawn += ink > 0.02;
    }
    EXPECT_GE(drawn, count / 2);  // the charts take most of the pages
}

TEST_F(PdfReport, ReportTextsBelongToThePdfAndItsPathIsChecked) {
    const std::string project = quoted(example("two-layer-esal.json"));
    const CliRun stray = runCli("analyze " + project + " --seed 1 --cycles 20 --title T", dir);
    EXPECT_EQ(stray.status, 2);
    EXPECT_NE(stray.err.find("--title belongs to the PDF report: add --pdf OUT.pdf."),
              std::string::npos)
        << stray.err;
    const CliRun missing =
        runCli("analyze " + project + " --seed 1 --cycles 20 --pdf no-such-folder/r.pdf", dir);
    // A missing folder is bad input, refused before the run like every other output.
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err,
              "ardelon-cli: --pdf \"no-such-folder/r.pdf\": the folder "
              "\"no-such-folder\" does not exist; nothing was written.\n");
    EXPECT_FALSE(fs::exists(dir / "no-such-folder"));

    // The ESAL route's axle counts print as percentages, and an unpriced project says so.
    const CliRun esal = runCliOk("analyze " + project + " --seed 1 --cycles 40 --pdf e.pdf", dir);
    const std::string text =
        shell("pdftotext -layout '" + (dir / "e.pdf").string() + "' -", dir / "e.txt");
    EXPECT_NE(text.find("not priced"), std::string::npos);
    EXPECT_TRUE(labelled(text, "16-18", "50.00")) << text;
    EXPECT_EQ(text.find("1000000"), std::string::npos);
}

}  // namespace
}  // namespace ardelon::testing
