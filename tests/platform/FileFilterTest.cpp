#include "platform/FileFilter.h"

#include <gtest/gtest.h>

namespace {

struct FilterCase {
    QString filter;
    QString qt;
};

class FileFilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FileFilterTest, ConvertsToQtNameFilters)
{
    EXPECT_EQ(platform::toQtNameFilter(GetParam().filter).toStdString(), GetParam().qt.toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileFilterTest,
    ::testing::Values(
        FilterCase{"Videos|*.avi;*.mpg;*.mpeg|All files|*.*", "Videos (*.avi *.mpg *.mpeg);;All files (*)"},
        FilterCase{"JPEG Image (*.jpg)|*.jpg", "JPEG Image (*.jpg)"},            // no patterns shown twice
        FilterCase{"AVI files (*.avi)|*.avi; *.divx", "AVI files (*.avi *.divx)"},  // the label's own list replaced
        FilterCase{"Everything|*", "Everything (*)"},
        FilterCase{"Label only", "Label only (*)"},
        FilterCase{"|*.avi", "(*.avi)"},
        FilterCase{"Empty|", "Empty (*)"},
        FilterCase{"", ""}));

}  // namespace
