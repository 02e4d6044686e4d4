#include <gtest/gtest.h>

#include "criteria/TransferFunctionsDialog.h"
#include "support/FakeHost.h"

namespace ardelon {
namespace {

using testing::FakeHost;
using testing::RecordedMessage;

TEST(TransferFunctions, OpeningWarnsFirst) {
    FakeHost host;
    TransferFunctionsDialog d(1, 2, 3, 4);
    d.onInitDialog(host);
    const RecordedMessage warning{
        "The transfer functions must be handled with care.\n"
        "Since they operate on a log scale, seemingly small\n"
        "changes in the coefficients can lead to large\n"
        "differences in damage and reliability calculations.\n"
        "Consult the Help file for further details.",
        "WARNING!", MessageIcon::Exclamation, MessageButtons::Ok};
    EXPECT_EQ(host.messages, std::vector<RecordedMessage>{warning});
    EXPECT_EQ(d.coefficient, (std::array<double, 4>{1, 2, 3, 4}));
}

TEST(TransferFunctions, EachResetRestoresOnlyItsGroup) {
    TransferFunctionsDialog d(1, 2, 3, 4);
    d.onResetFatigue();
    EXPECT_EQ(d.coefficient, (std::array<double, 4>{2.83e-06, 3.20596, 3, 4}));
    d = TransferFunctionsDialog(1, 2, 3, 4);
    d.onResetRutting();
    EXPECT_EQ(d.coefficient, (std::array<double, 4>{1, 2, 5500000000000000.0, 3.929}));
}

TEST(TransferFunctions, CopiesTheProjectCoefficientsInAndBack) {
    CStenorDoc doc;
    TransferFunctionsDialog d(0, 0, 0, 0);
    d.loadFrom(doc);
    EXPECT_EQ(d.coefficient, CStenorDoc().transferCoefficient);
    d.coefficient[3] = 4.5;
    d.storeTo(doc);
    EXPECT_EQ(doc.transferCoefficient[3], 4.5);
}

}  // namespace
}  // namespace ardelon
