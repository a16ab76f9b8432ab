#include "about/OpenError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvelle {
namespace {

struct ErrorRow {
    const char* name;
    int code;
    std::string reason;
};

const std::vector<ErrorRow> kErrors = {
    {"OutOfResources", 0, "The operating system is out\nof memory or resources."},
    {"UnknownOne", 1, "Unknown Error (1) occurred."},
    {"FileNotFound", 2, "The specified file was not found."},
    {"PathNotFound", 3, "The specified path was not found."},
    {"UnknownFour", 4, "Unknown Error (4) occurred."},
    {"AccessDenied", 5, "The operating system denied\naccess to the specified file."},
    {"OutOfMemory", 8, "There was not enough memory to complete the operation."},
    {"BadFormat", 11, "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {"SharingViolationEndsWithBlank", 26, "A sharing violation occurred. "},
    {"AssociationIncomplete", 27, "The filename association is\nincomplete or invalid."},
    {"DdeTimeout", 28,
     "The DDE transaction could not\nbe completed because the request timed out."},
    {"DdeFailed", 29, "The DDE transaction failed."},
    {"DdeBusy", 30,
     "The DDE transaction could not\nbe completed because other DDE transactions\n"
     "were being processed."},
    {"NoAssociation", 31,
     "There is no application associated\nwith the given filename extension."},
    {"DllNotFound", 32, "The specified dynamic-link library was not found."},
    {"UnknownAboveShellRange", 33, "Unknown Error (33) occurred."},
    {"UnknownNegative", -5, "Unknown Error (-5) occurred."},
    {"UnknownLargest", 2147483647, "Unknown Error (2147483647) occurred."},
    {"UnknownSmallest", -2147483647 - 1, "Unknown Error (-2147483648) occurred."},
};

class OpenErrorTest : public testing::TestWithParam<ErrorRow> {};

TEST_P(OpenErrorTest, GivesReasonUnderHeading) {
    const ErrorRow& row = GetParam();
    EXPECT_EQ(OpenErrorReason(row.code), row.reason);
    EXPECT_EQ(OpenErrorMessage(row.code), "Can't open link:\n\n" + row.reason);
}

INSTANTIATE_TEST_SUITE_P(Codes, OpenErrorTest, testing::ValuesIn(kErrors),
                         [](const testing::TestParamInfo<ErrorRow>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace corvelle
