#include <gtest/gtest.h>

#include "project/FileExtension.h"

namespace ardelon {
namespace {

TEST(FileExtension, ChooserFilterGivesTheExtensionOfItsFirstEntry) {
    const std::pair<const char*, const char*> filters[] = {
        {"Ardelon Raw Data (*.xls) |*.ad|All Files (*.*) |*.*||", ".ad"},
        {"Excel Files (*.xlsx) |*.xlsx|All Files (*.*) |*.*||", ".xlsx"},
        {"Load Spectra Files (*.lsf);;All Files (*.*)", ".lsf"},
        {"Ardelon Files (*.ard)", ".ard"},
        {"All Files (*.*)", ""},
        {"No pattern", ""},
    };
    for (const auto& [filter, extension] : filters)
        EXPECT_EQ(chooserExtension(filter), extension) << filter;
}

TEST(FileExtension, NameTypedWithoutOneGetsIt) {
    const std::tuple<const char*, const char*, const char*> names[] = {
        {"/tmp/report1", ".xlsx", "/tmp/report1.xlsx"},
        {"/tmp/report1.xlsx", ".xlsx", "/tmp/report1.xlsx"},
        {"/tmp/report1.csv", ".xlsx", "/tmp/report1.csv"},  // the engineer's own extension
        {"/tmp/v1.2/report1", ".xlsx", "/tmp/v1.2/report1.xlsx"},
        {"/tmp/report1", "", "/tmp/report1"},
        {"", ".xlsx", ""},
    };
    for (const auto& [path, extension, expected] : names)
        EXPECT_EQ(withDefaultExtension(path, extension), expected) << path;
}

}  // namespace
}  // namespace ardelon
