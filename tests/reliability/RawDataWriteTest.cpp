// A raw-data file whose close fails is reported and never moved into place.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "project/ReplacingFile.h"
#include "reliability/RawDataFile.h"

namespace ardelon {
namespace {

int failingClose(std::FILE* stream) {
    std::fclose(stream);
    errno = EIO;
    return EOF;
}

TEST(RawDataWrite, CloseErrorKeepsThePreviousFile) {
    const auto dir = std::filesystem::temp_directory_path() / "ardelon-raw-close";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "run.ad").string();
    std::ofstream(path) << "earlier run";

    RawDataFile raw;
    ASSERT_EQ(raw.open(path, 1, 0), "");
    raw.writeCycleSamples(1, {});
    raw.writeCycleValues(std::vector<double>{1.0});
    const StreamCloser previous = setStreamCloserForTesting(&failingClose);
    const std::string error = raw.commit();
    setStreamCloserForTesting(previous);

    EXPECT_EQ(error, "Cannot write the raw data file \"" + path + "\": Input/output error.");
    std::ostringstream kept;
    kept << std::ifstream(path).rdbuf();
    EXPECT_EQ(kept.str(), "earlier run");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ardelon
