#include "app/IniFile.h"
#include "app/uLibPivex.h"
#include "platform/AppError.h"
#include "support/TempSettingsFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <random>

namespace {

class IniFileTest : public ::testing::Test, protected TempSettingsFile {};

struct IntegerCase {
    QByteArray stored;
    int expected;
};

class IniIntegerTest : public IniFileTest, public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(IniIntegerTest, ReadsTheIntegerEncodingsOrTheDefault)
{
    writeSettings("[Setup]\nJPEGQuality=" + GetParam().stored + "\n");
    EXPECT_EQ(TIniFile(settingsPath()).ReadInteger("Setup", "JPEGQuality", 90), GetParam().expected)
        << GetParam().stored.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniIntegerTest,
    ::testing::Values(IntegerCase{"0x50", 80}, IntegerCase{"0X1f", 31}, IntegerCase{"$50", 80},
                      IntegerCase{"-12", -12}, IntegerCase{"75", 75}, IntegerCase{"  42  ", 42},
                      IntegerCase{"$FFFFFFFF", -1}, IntegerCase{"-2147483648", -2147483647 - 1},
                      IntegerCase{"abc", 90}, IntegerCase{"", 90}, IntegerCase{"0x", 90},
                      IntegerCase{"4 2", 90}, IntegerCase{"1.5", 90}, IntegerCase{"2147483648", 90},
                      IntegerCase{"0x1FFFFFFFF", 90}));

struct BoolCase {
    QByteArray stored;
    bool defaultValue;
    bool expected;
};

class IniBoolTest : public IniFileTest, public ::testing::WithParamInterface<BoolCase> {};

TEST_P(IniBoolTest, AnyIntegerOtherThanZeroIsTrue)
{
    writeSettings("[Setup]\nTrimthumb=" + GetParam().stored + "\n");
    EXPECT_EQ(TIniFile(settingsPath()).ReadBool("Setup", "Trimthumb", GetParam().defaultValue), GetParam().expected)
        << GetParam().stored.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Cases, IniBoolTest,
                         ::testing::Values(BoolCase{"5", false, true}, BoolCase{"0x0", true, false},
                                           BoolCase{"0", true, false}, BoolCase{"1", false, true},
                                           BoolCase{"-1", false, true}, BoolCase{"$0", true, false},
                                           BoolCase{"yes", true, true}, BoolCase{"yes", false, false},
                                           BoolCase{"", true, true}));

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesTheDefault)
{
    TIniFile ini(settingsPath());
    EXPECT_EQ(ini.ReadString("Setup", "ResampleFilter", "Lanczos3"), "Lanczos3");
    EXPECT_EQ(ini.ReadInteger("Setup", "tbVolume", 10000), 10000);
    EXPECT_TRUE(ini.ReadBool("Setup", "Cropthumb", true));
    writeSettings("[Setup]\nThumbWidth=300\n");
    EXPECT_EQ(ini.ReadString("Watermark", "ThumbWidth", "none"), "none");
    EXPECT_EQ(ini.ReadString("Setup", "ThumbHeight", "200"), "200");
}

TEST_F(IniFileTest, AnEmptyValueIsReadAsEmptyText)
{
    writeSettings("[Setup]\nInitialDir=\n");
    EXPECT_EQ(TIniFile(settingsPath()).ReadString("Setup", "InitialDir", "/default"), "");
}

TEST_F(IniFileTest, SectionAndKeyNamesIgnoreCaseAndSurroundingBlanks)
{
    writeSettings("[ SETUP ]\n  thumbwidth  =  300  \n");
    TIniFile ini(settingsPath());
    EXPECT_EQ(ini.ReadString("Setup", "ThumbWidth", "250"), "300");
    ini.WriteString("Setup", "THUMBWIDTH", "320");
    EXPECT_EQ(settingsText(), "[ SETUP ]\nthumbwidth=320\n");
}

TEST_F(IniFileTest, AValueOf3000CharactersIsReadBackAs2047)
{
    TIniFile ini(settingsPath());
    const QString longText(3000, u'w');
    ini.WriteString("Watermark", "WatermarkText", longText);
    EXPECT_TRUE(settingsText().contains(longText.toUtf8()));  // written whole
    EXPECT_EQ(ini.ReadString("Watermark", "WatermarkText", ""), QString(2047, u'w'));
    ini.WriteString("Watermark", "WatermarkText", QString(2047, u'v'));
    EXPECT_EQ(ini.ReadString("Watermark", "WatermarkText", ""), QString(2047, u'v'));
}

TEST_F(IniFileTest, TheReadLimitCountsCharactersNotBytes)
{
    TIniFile ini(settingsPath());
    const QString accented(3000, QChar(0x00E9));
    ini.WriteString("Watermark", "WatermarkText", accented);
    EXPECT_EQ(ini.ReadString("Watermark", "WatermarkText", ""), QString(2047, QChar(0x00E9)));
}

TEST_F(IniFileTest, TextIsStoredAsUtf8AndOldEightBitTextIsReadAsLatin1)
{
    TIniFile ini(settingsPath());
    const QString text = QString::fromUtf8("Gr\u00FC\u00DFe \u2713 \U0001F600");
    ini.WriteString("Watermark", "WatermarkText", text);
    EXPECT_EQ(ini.ReadString("Watermark", "WatermarkText", ""), text);
    writeSettings("[Watermark]\nWatermarkFontName=Caf\xE9\n");
    EXPECT_EQ(ini.ReadString("Watermark", "WatermarkFontName", ""), QString::fromUtf8("Caf\u00E9"));
}

TEST_F(IniFileTest, ATwoLineTextIsStoredOnOneLineAndReadBackAsTwo)
{
    TIniFile ini(settingsPath());
    ini.WriteString("Watermark", "WatermarkText", EscapeLineBreaks("Line one\r\nLine two"));
    EXPECT_EQ(settingsText(), "[Watermark]\nWatermarkText=Line one#$D#$ALine two\n");
    EXPECT_EQ(UnescapeLineBreaks(ini.ReadString("Watermark", "WatermarkText", "")), "Line one\r\nLine two");
}

TEST_F(IniFileTest, ALineBreakInAValueCannotStartALineOfItsOwn)
{
    TIniFile ini(settingsPath());
    ini.WriteString("Setup", "InitialDir", "/videos\n[Setup]\nVideoMode=7");
    EXPECT_EQ(settingsText(), "[Setup]\nInitialDir=/videos\n");
    EXPECT_EQ(ini.ReadInteger("Setup", "VideoMode", 3), 3);
}

TEST_F(IniFileTest, IntegersAndBooleansAreWrittenAsDecimalAndOneOrZero)
{
    TIniFile ini(settingsPath());
    ini.WriteInteger("Setup", "tbVolume", 50);
    ini.WriteInteger("Watermark", "WatermarkOffsetX", -12);
    ini.WriteBool("Setup", "Trimthumb", true);
    ini.WriteBool("Setup", "Cropthumb", false);
    EXPECT_EQ(settingsText(), "[Setup]\ntbVolume=50\nTrimthumb=1\nCropthumb=0\n\n[Watermark]\nWatermarkOffsetX=-12\n");
}

TEST_F(IniFileTest, EveryWriteIsOnDiskAtOnceForAnyReader)
{
    TIniFile writer(settingsPath());
    TIniFile reader(settingsPath());
    writer.WriteInteger("Setup", "JPEGQuality", 77);
    EXPECT_EQ(reader.ReadInteger("Setup", "JPEGQuality", 90), 77);
    writer.WriteInteger("Setup", "JPEGQuality", 78);
    EXPECT_EQ(reader.ReadInteger("Setup", "JPEGQuality", 90), 78);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Skorrel.ini"});  // no temporaries left
}

TEST_F(IniFileTest, AWriteKeepsALinkedFileLinkedAndItsPermissions)
{
    const QString target = dir.filePath("dotfiles.ini");
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Setup]\nA=1\n");
    file.close();
    ASSERT_TRUE(file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ASSERT_TRUE(QFile::link(target, settingsPath()));

    TIniFile(settingsPath()).WriteInteger("Setup", "B", 2);

    EXPECT_TRUE(QFileInfo(settingsPath()).isSymLink());
    EXPECT_EQ(TIniFile(target).ReadInteger("Setup", "B", 0), 2);
    const auto ownerGroupOther = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                 QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    EXPECT_EQ(QFileInfo(target).permissions() & ownerGroupOther, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

struct PlacementCase {
    const char* name;
    QByteArray before;
    QString section, key;
    QByteArray after;
};

class IniPlacementTest : public IniFileTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(IniPlacementTest, OneWriteChangesOnlyItsOwnLine)
{
    const PlacementCase& c = GetParam();
    if (!c.before.isNull())
        writeSettings(c.before);
    TIniFile(settingsPath()).WriteString(c.section, c.key, "V");
    EXPECT_EQ(settingsText(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniPlacementTest,
    ::testing::Values(
        PlacementCase{"NoFile", QByteArray(), "Setup", "ThumbWidth", "[Setup]\nThumbWidth=V\n"},
        PlacementCase{"NewKeyAfterTheLastKeyOfItsSection", "[Setup]\nA=1\n\n[Watermark]\nB=2\n", "Setup", "C",
                      "[Setup]\nA=1\nC=V\n\n[Watermark]\nB=2\n"},
        PlacementCase{"NewKeyInTheLastSection", "[Setup]\nA=1\n\n[Watermark]\nB=2\n", "Watermark", "C",
                      "[Setup]\nA=1\n\n[Watermark]\nB=2\nC=V\n"},
        PlacementCase{"NewKeyInAnEmptySection", "[Setup]\n[Watermark]\nB=2\n", "Setup", "A",
                      "[Setup]\nA=V\n[Watermark]\nB=2\n"},
        PlacementCase{"ACommentStaysWithTheSectionBelowIt", "[Setup]\nA=1\n; watermark\n[Watermark]\n", "Setup",
                      "C", "[Setup]\nA=1\nC=V\n; watermark\n[Watermark]\n"},
        PlacementCase{"NewSectionAtTheEndAfterABlankLine", "[Setup]\nA=1\n", "Watermark", "B",
                      "[Setup]\nA=1\n\n[Watermark]\nB=V\n"},
        PlacementCase{"NoSecondBlankLineBeforeANewSection", "[Setup]\nA=1\n\n", "Watermark", "B",
                      "[Setup]\nA=1\n\n[Watermark]\nB=V\n"},
        PlacementCase{"LastLineWithoutLineBreak", "[Setup]\nA=1", "Setup", "C", "[Setup]\nA=1\nC=V\n"},
        PlacementCase{"NewSectionAfterLastLineWithoutLineBreak", "[Setup]\nA=1", "Watermark", "B",
                      "[Setup]\nA=1\n\n[Watermark]\nB=V\n"},
        PlacementCase{"WindowsLineBreaksAreKept", "[Setup]\r\nA=1\r\n", "Setup", "C", "[Setup]\r\nA=1\r\nC=V\r\n"},
        PlacementCase{"ExistingKeyRewrittenInPlace", "[Setup]\nA=1\nB=2\n", "Setup", "A", "[Setup]\nA=V\nB=2\n"},
        PlacementCase{"FirstOfDuplicateKeys", "[Setup]\nA=1\nA=2\n", "Setup", "A", "[Setup]\nA=V\nA=2\n"},
        PlacementCase{"FirstOfDuplicateSections", "[Setup]\nA=1\n[Setup]\nB=2\n", "Setup", "B",
                      "[Setup]\nA=1\nB=V\n[Setup]\nB=2\n"},
        PlacementCase{"KeysAboveEverySectionBelongToNone", "A=1\n", "Setup", "A", "A=1\n\n[Setup]\nA=V\n"},
        PlacementCase{"SameKeyInAnotherSectionUntouched", "[Watermark]\nA=1\n[Setup]\nB=2\n", "Setup", "A",
                      "[Watermark]\nA=1\n[Setup]\nB=2\nA=V\n"},
        PlacementCase{"ByteOrderMarkKept", "\xEF\xBB\xBF[Setup]\nA=1\n", "Setup", "A", "\xEF\xBB\xBF[Setup]\nA=V\n"}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

TEST_F(IniFileTest, DuplicatesReadTheirFirstOccurrence)
{
    writeSettings("[Setup]\nA=1\nA=2\n[setup]\nA=3\nB=4\n");
    TIniFile ini(settingsPath());
    EXPECT_EQ(ini.ReadInteger("Setup", "A", 0), 1);
    EXPECT_EQ(ini.ReadInteger("Setup", "B", 0), 0);  // only the first section of a name counts
}

TEST_F(IniFileTest, AFolderWhereTheFileShouldBeRaisesUnableToWrite)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("Skorrel.ini"));
    TIniFile ini(settingsPath());
    EXPECT_EQ(ini.ReadInteger("Setup", "VideoMode", 3), 3);
    try {
        ini.WriteInteger("Setup", "VideoMode", 1);
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.message(), "Unable to write to " + QFileInfo(settingsPath()).absoluteFilePath());
    }
}

TEST_F(IniFileTest, AFileWhereTheFolderShouldBeRaisesUnableToWriteWithTheFullPath)
{
    writeSettings("not a folder");
    const QString inside = QDir(settingsPath()).filePath("Skorrel.ini");
    const QString startDir = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TIniFile ini("Skorrel.ini/Skorrel.ini");  // relative: the message still names the full path
    EXPECT_THROW(
        {
            try {
                ini.WriteString("Setup", "InitialDir", "/videos");
            } catch (const AppError& e) {
                EXPECT_EQ(e.message(), "Unable to write to " + inside);
                throw;
            }
        },
        AppError);
    QDir::setCurrent(startDir);
    EXPECT_EQ(settingsText(), "not a folder");
}

TEST_F(IniFileTest, AFileFarTooBigForSettingsIsNeitherLoadedNorRewritten)
{
    writeSettings("[Setup]\nJPEGQuality=70\n");
    QFile file(settingsPath());
    ASSERT_TRUE(file.resize(qint64(65) << 20));  // sparse: takes no room
    TIniFile ini(settingsPath());
    EXPECT_EQ(ini.ReadInteger("Setup", "JPEGQuality", 90), 90);
    EXPECT_THROW(ini.WriteInteger("Setup", "JPEGQuality", 80), AppError);
    EXPECT_EQ(QFileInfo(settingsPath()).size(), qint64(65) << 20);
    EXPECT_TRUE(settingsText().startsWith("[Setup]\nJPEGQuality=70\n"));
}

// Bad files: each loads with defaults where a value can't be read, and the next write of one
// key keeps every byte that was there.
struct BadFileCase {
    const char* name;
    QByteArray content;
    int jpegQuality;  // as read, default 90
};

QByteArray binaryGarbage()
{
    std::mt19937 random(20261211);
    QByteArray bytes(64 * 1024, '\0');
    for (char& b : bytes)
        b = static_cast<char>(random() & 0xFF);
    return bytes;
}

bool keepsEveryByte(const QByteArray& before, const QByteArray& after)
{
    qsizetype j = 0;
    for (qsizetype i = 0; i < after.size() && j < before.size(); ++i) {
        if (after[i] == before[j])
            ++j;
    }
    return j == before.size();
}

class IniBadFileTest : public IniFileTest, public ::testing::WithParamInterface<BadFileCase> {};

TEST_P(IniBadFileTest, LoadsWithDefaultsAndSurvivesTheNextWrite)
{
    const BadFileCase& c = GetParam();
    writeSettings(c.content);
    TIniFile ini(settingsPath());
    EXPECT_EQ(ini.ReadInteger("Setup", "JPEGQuality", 90), c.jpegQuality);
    EXPECT_EQ(ini.ReadString("Setup", "ThumbWidth", "250"), "250");

    ini.WriteInteger("Setup", "ThumbWidth", 300);

    const QByteArray after = settingsText();
    EXPECT_TRUE(keepsEveryByte(c.content, after));
    EXPECT_LE(after.size() - c.content.size(), 32);
    EXPECT_EQ(ini.ReadInteger("Setup", "ThumbWidth", 250), 300);
    EXPECT_EQ(ini.ReadInteger("Setup", "JPEGQuality", 90), c.jpegQuality);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniBadFileTest,
    ::testing::Values(
        BadFileCase{"BinaryGarbage", binaryGarbage(), 90},
        BadFileCase{"NulBytesInsideLines", QByteArray("[Setup]\nJPEGQuality=7\0" "0\nA\0=1\n", 27), 90},
        BadFileCase{"TenMegabyteLine", QByteArray(10 * 1024 * 1024, 'x'), 90},
        BadFileCase{"TenMegabyteLineBeforeTheSection", QByteArray(10 * 1024 * 1024, '=') + "\n[Setup]\nJPEGQuality=70\n", 70},
        BadFileCase{"TenMegabyteValue", "[Setup]\nJPEGQuality=" + QByteArray(10 * 1024 * 1024, '7') + "\n", 90},
        BadFileCase{"MissingBracket", "[Setup\nJPEGQuality=70\n", 90},
        BadFileCase{"MissingBracketAfterTheSection", "[Setup]\nJPEGQuality=70\n[Watermark\nWatermarkType=2\n", 70},
        BadFileCase{"DuplicateSections", "[Setup]\nJPEGQuality=70\n[Setup]\nJPEGQuality=60\nThumbWidth=1\n", 70},
        BadFileCase{"InvalidUtf8", "[Setup]\n\xFF\xFE\xC3=\xC3\x28\nJPEGQuality=0x50\n", 80},
        BadFileCase{"OnlyLineBreaks", QByteArray(1000, '\n'), 90},
        BadFileCase{"LoneCarriageReturns", "[Setup]\rJPEGQuality=70\r", 90}),
    [](const ::testing::TestParamInfo<BadFileCase>& info) { return info.param.name; });

}  // namespace
