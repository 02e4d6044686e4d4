// A raw-data file whose close fails is reported and never moved into place.
#include <gtest/gtest.h>

#include <filesystem>

#include "project/ReplacingFile.h"
#include "reliability/RawDataFile.h"
#include "support/TestFiles.h"

namespace ardelon {
namespace {

TEST(RawDataWrite, CloseErrorKeepsThePreviousFile) {
    const auto dir = testing::scratchDir("raw-close");
    const std::string path = (dir / "run.ad").string();
    testing::writeText(path, "earlier run");

    RawDataFile raw;
    ASSERT_EQ(raw.open(path, 1, 0), "");
    raw.writeCycleSamples(1, {});
    raw.writeCycleValues(std::vector<double>{1.0});
    const StreamCloser previous = setStreamCloserForTesting(&testing::failingClose);
    const std::string error = raw.commit();
    setStreamCloserForTesting(previous);

    EXPECT_EQ(error, "Cannot write the raw data file \"" + path + "\": Input/output error.");
    EXPECT_EQ(testing::readBytes(path), "earlier run");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace ardelon
