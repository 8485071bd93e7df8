#include "app/uLibPivex.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>

namespace {

struct ParamCase {
    QStringList args;
    QString name;
    int expected;
};

class GetParamIntTest : public ::testing::TestWithParam<ParamCase> {};

TEST_P(GetParamIntTest, FindsTheLastIntegerValueOfTheOption)
{
    const ParamCase& c = GetParam();
    EXPECT_EQ(GetParamInt(c.args, c.name, -5), c.expected) << c.args.join(u' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetParamIntTest,
    ::testing::Values(
        ParamCase{{"-thumbs", "12", "-THUMBS", "20"}, "thumbs", 20},
        ParamCase{{"-thumbs", "x", "-thumbs", "12"}, "thumbs", -5},   // the scan stops at x
        ParamCase{{"-thumbs", "3", "-thumbs", "x"}, "thumbs", 3},     // what was found before x stays
        ParamCase{{"-ms", "12", "-thumbs"}, "thumbs", -5},            // an option that is the last argument
        ParamCase{{"-thumbs"}, "thumbs", -5},
        ParamCase{{}, "thumbs", -5},
        ParamCase{{"/Thumbs", "$10"}, "THUMBS", 16},                  // any first character, hex value
        ParamCase{{"thumbs", "7"}, "thumbs", -5},                     // the first character is always dropped
        ParamCase{{"--thumbs", "7"}, "thumbs", -5},
        ParamCase{{"-thumbs", "99999999999"}, "thumbs", -5},          // out of 32-bit range
        ParamCase{{"video.avi", "-skipfront", "-1000"}, "skipfront", -1000},
        ParamCase{{"-ms", "500", "-thumbs", "4"}, "ms", 500}));

TEST(SplitAtLastTest, SplitsAtTheLastSeparatorOrKeepsTheWholeText)
{
    QString before, after;
    EXPECT_TRUE(SplitAtLast("a.b.c", u'.', before, after));
    EXPECT_EQ(before, "a.b");
    EXPECT_EQ(after, "c");
    EXPECT_FALSE(SplitAtLast("abc", u'.', before, after));
    EXPECT_EQ(before, "abc");
    EXPECT_EQ(after, "");
    EXPECT_TRUE(SplitAtLast("abc.", u'.', before, after));
    EXPECT_EQ(before, "abc");
    EXPECT_EQ(after, "");
}

struct PathCase {
    QString path;
    QString extLower;
    QString nameNoExt;
};

class FileNamePartsTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(FileNamePartsTest, ExtensionAndNameWithoutExtension)
{
    const PathCase& c = GetParam();
    EXPECT_EQ(GetFileExtLower(c.path), c.extLower) << c.path.toStdString();
    EXPECT_EQ(GetFileNameNoExt(c.path), c.nameNoExt) << c.path.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileNamePartsTest,
    ::testing::Values(PathCase{"C:\\Video\\Clip.AVI", "avi", "Clip"},
                      PathCase{"C:\\My.Videos\\Clip", "videos\\clip", "Clip"},  // a dot in a folder counts
                      PathCase{"C:\\a\\b.c.d", "d", "b.c"},
                      PathCase{"/home/me/holiday.2024.MKV", "mkv", "holiday.2024"},
                      PathCase{"/home/me.d/clip", "d/clip", "clip"},
                      PathCase{"C:clip.wmv", "wmv", "clip"},
                      PathCase{"clip", "", "clip"},
                      PathCase{"clip.", "", "clip"},
                      PathCase{"", "", ""}));

struct IntegerCase {
    QString text;
    std::optional<int> value;
};

class IntegerTextTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerTextTest, ConvertsWholeTextsToSigned32BitIntegers)
{
    const IntegerCase& c = GetParam();
    int value = 12345;
    EXPECT_EQ(TryStrToInt(c.text, value), c.value.has_value()) << c.text.toStdString();
    EXPECT_EQ(IsInteger(c.text), c.value.has_value()) << c.text.toStdString();
    EXPECT_EQ(value, c.value.value_or(12345)) << c.text.toStdString();  // untouched when not an integer
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IntegerTextTest,
    ::testing::Values(IntegerCase{"12", 12}, IntegerCase{"  -7", -7}, IntegerCase{"+5", 5},
                      IntegerCase{"007", 7}, IntegerCase{"$1F", 31}, IntegerCase{"x10", 16},
                      IntegerCase{"X10", 16}, IntegerCase{"0x50", 80}, IntegerCase{"0X1f", 31},
                      IntegerCase{"-$10", -16}, IntegerCase{"2147483647", 2147483647},
                      IntegerCase{"-2147483648", std::numeric_limits<int>::min()},
                      IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"$7FFFFFFF", 2147483647},
                      IntegerCase{"2147483648", std::nullopt}, IntegerCase{"-2147483649", std::nullopt},
                      IntegerCase{"$100000000", std::nullopt}, IntegerCase{"", std::nullopt},
                      IntegerCase{" ", std::nullopt}, IntegerCase{"12 ", std::nullopt},
                      IntegerCase{"1e3", std::nullopt}, IntegerCase{"1.5", std::nullopt},
                      IntegerCase{"0x", std::nullopt}, IntegerCase{"$", std::nullopt},
                      IntegerCase{"-", std::nullopt}, IntegerCase{"--1", std::nullopt},
                      IntegerCase{"$G", std::nullopt}, IntegerCase{"\t5", std::nullopt},
                      IntegerCase{QString::fromUtf8("\uFF11\uFF12"), std::nullopt},  // full-width digits
                      IntegerCase{"abc", std::nullopt}));

TEST(IsValidFileNameTest, AcceptsPrintableAsciiWithoutReservedCharacters)
{
    for (const QString& ok : {QString("my thumbs (1)"), QString(), QString("a-b_c.d~!#$%&'()+,@[]^`{}")})
        EXPECT_TRUE(IsValidFileName(ok)) << ok.toStdString();
    const QStringList rejected = {"a;b", "a=b", "a\"b", "a*b", "a/b", "a:b", "a<b", "a>b", "a?b",
                                  "a\\b", "a|b", "a\tb", "a\x7F" "b", QString::fromUtf8("caf\u00E9"),
                                  QString(QChar(0))};
    for (const QString& bad : rejected)
        EXPECT_FALSE(IsValidFileName(bad)) << bad.toStdString();
}

TEST(LineBreakEscapeTest, OnlyCrLfPairsAreEscapedAndRestored)
{
    EXPECT_EQ(EscapeLineBreaks("Line one\r\nLine two"), "Line one#$D#$ALine two");
    EXPECT_EQ(UnescapeLineBreaks("Line one#$D#$ALine two"), "Line one\r\nLine two");
    EXPECT_EQ(EscapeLineBreaks("a\nb\rc"), "a\nb\rc");
    EXPECT_EQ(EscapeLineBreaks("\r\n\r\n"), "#$D#$A#$D#$A");
    const QString text = "1\r\n2\r\n\r\n3";
    EXPECT_EQ(UnescapeLineBreaks(EscapeLineBreaks(text)), text);
}

struct TimeCase {
    int64_t mediaTime;
    TSplitTime split;
    QString shown;
};

class SplitTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(SplitTimeTest, SplitsAndFormats)
{
    const TimeCase& c = GetParam();
    EXPECT_EQ(SplitRefTime(c.mediaTime), c.split);
    EXPECT_EQ(SplitMilliseconds(c.mediaTime / 10000), c.split);
    EXPECT_EQ(FormatSplitTime(c.split), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTimeTest,
    ::testing::Values(TimeCase{36610040000, {1, 1, 1, 4}, "01:01:01.004"},
                      TimeCase{37230040000, {1, 2, 3, 4}, "01:02:03.004"},
                      TimeCase{0, {0, 0, 0, 0}, "00:00:00.000"},
                      TimeCase{9999, {0, 0, 0, 0}, "00:00:00.000"},  // below one millisecond
                      TimeCase{35 * 10000, {0, 0, 0, 35}, "00:00:00.035"},
                      TimeCase{int64_t(100) * 3600000 * 10000, {100, 0, 0, 0}, "100:00:00.000"},
                      TimeCase{(int64_t(59) * 60000 + 59999) * 10000, {0, 59, 59, 999}, "00:59:59.999"}));

class FileSizeOfTest : public ::testing::Test {
protected:
    QString write(const QString& name, const QByteArray& content)
    {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }
    QTemporaryDir dir;
};

TEST_F(FileSizeOfTest, SizeOfARegularVisibleFile)
{
    EXPECT_EQ(FileSizeOf(write("thumb.jpg", QByteArray(1234, 'x'))), 1234);
    EXPECT_EQ(FileSizeOf(write("empty.jpg", QByteArray())), 0);
}

TEST_F(FileSizeOfTest, MinusOneForWhatIsNotANormalFile)
{
    EXPECT_EQ(FileSizeOf(write(".hidden.jpg", "abc")), -1);
    EXPECT_EQ(FileSizeOf(dir.filePath("missing.jpg")), -1);
    EXPECT_EQ(FileSizeOf(dir.path()), -1);
    EXPECT_EQ(FileSizeOf(QString()), -1);
}

TEST_F(FileSizeOfTest, SizesBeyondTheSigned32BitRangeAreClamped)
{
    QFile file(dir.filePath("big.bin"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(qint64(3) << 30));  // sparse: takes no room
    file.close();
    EXPECT_EQ(FileSizeOf(file.fileName()), std::numeric_limits<int32_t>::max());
}

struct ClampCase {
    int minimum, maximum, fallback;
    QString text;
    int expected;
};

class ClampEditIntTest : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ClampEditIntTest, ClampsAndWritesTheValueBack)
{
    const ClampCase& c = GetParam();
    QLineEdit edit(c.text);
    EXPECT_EQ(ClampEditInt(&edit, c.minimum, c.maximum, c.fallback), c.expected) << c.text.toStdString();
    EXPECT_EQ(edit.text(), QString::number(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, ClampEditIntTest,
                         ::testing::Values(ClampCase{10, 0, 77, "20000", 10000},  // a maximum of 0 is 10000
                                           ClampCase{10, 0, 77, "5", 10},
                                           ClampCase{10, 0, 77, "", 77},
                                           ClampCase{10, 500, 77, "abc", 77},
                                           ClampCase{10, 500, 3, "abc", 3},  // the fallback is not clamped
                                           ClampCase{10, 500, 77, "$20", 32},
                                           ClampCase{1, 100, 90, " 50", 50},
                                           ClampCase{1, 100, 90, "100", 100},
                                           ClampCase{1, 100, 90, "101", 100},
                                           ClampCase{1, 100, 90, "-3", 1}));

}  // namespace
