// The watermark's fields: construction, copying, picture loading and the [Watermark] keys.
#include "app/IniFile.h"
#include "app/uLibPivex.h"
#include "platform/ScriptedDialogs.h"
#include "support/TempSettingsFile.h"
#include "thumbs/ImageEnView.h"
#include "watermark/Watermark.h"
#include "watermark/WatermarkSettings.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString savePicture(const QTemporaryDir& dir, const QString& name, QSize size, QColor colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    const QString path = dir.filePath(name);
    EXPECT_TRUE(picture.save(path));
    return path;
}

struct SettingsFile : ::testing::Test, TempSettingsFile {
    platform::ScopedScriptedDialogs dialogs;
};

}  // namespace

TEST(WatermarkModel, ConstructionGivesATextWatermarkAtTransparency200)
{
    const TWatermark mark;
    EXPECT_EQ(mark.WatermarkType, TWatermark::TypeText);
    EXPECT_EQ(mark.Transparency, 200);
    EXPECT_EQ(mark.OpacityCap(), 55);
    for (int32_t n : {mark.OffsetX, mark.OffsetY, mark.TextWidth, mark.TextHeight, mark.ShadowRadius,
                      mark.ShadowOffsetX, mark.ShadowOffsetY})
        EXPECT_EQ(n, 0);
    EXPECT_EQ(mark.OffsetTypeX, 0);
    EXPECT_EQ(mark.OffsetTypeY, 0);
    EXPECT_TRUE(mark.Lines.isEmpty());
    EXPECT_EQ(mark.View, nullptr);
    ASSERT_NE(mark.Image, nullptr);
    EXPECT_EQ(mark.Size(), QSize(0, 0));
}

TEST(WatermarkModel, CopyFromTakesEveryFieldAndItsOwnCopyOfThePicture)
{
    QTemporaryDir dir;
    TImageEnView view;
    TWatermark source;
    ASSERT_TRUE(source.LoadImage(savePicture(dir, QStringLiteral("a.png"), QSize(12, 8), Qt::red)));
    source.View = &view;
    source.WatermarkType = TWatermark::TypeImage;
    source.OffsetX = -7;
    source.OffsetY = 9;
    source.OffsetTypeX = 2;
    source.OffsetTypeY = 1;
    source.Font = QFont(QStringLiteral("DejaVu Serif"), 31, QFont::Bold, true);
    source.Font.setUnderline(true);
    source.Font.setStrikeOut(true);
    source.FontColor = QColor(1, 2, 3);
    source.Lines = QStringList{QStringLiteral("one"), QStringLiteral("two")};
    source.TextWidth = 44;
    source.TextHeight = 55;
    source.ImageFileName = QStringLiteral("/pictures/a.png");
    source.Transparency = 12;
    source.ShadowRadius = 4;
    source.ShadowOffsetX = -2;
    source.ShadowOffsetY = 6;

    TWatermark copy;
    copy.CopyFrom(source);
    EXPECT_EQ(copy.View, &view);
    EXPECT_EQ(copy.WatermarkType, source.WatermarkType);
    EXPECT_EQ(QList<int>({copy.OffsetX, copy.OffsetY, copy.OffsetTypeX, copy.OffsetTypeY, copy.TextWidth,
                          copy.TextHeight, copy.Transparency, copy.ShadowRadius, copy.ShadowOffsetX,
                          copy.ShadowOffsetY}),
              QList<int>({-7, 9, 2, 1, 44, 55, 12, 4, -2, 6}));
    EXPECT_EQ(copy.Font, source.Font);
    EXPECT_EQ(copy.FontColor, source.FontColor);
    EXPECT_EQ(copy.Lines, source.Lines);
    EXPECT_EQ(copy.ImageFileName, source.ImageFileName);
    EXPECT_EQ(copy.Image->Bitmap(), source.Image->Bitmap());

    ASSERT_TRUE(source.LoadImage(savePicture(dir, QStringLiteral("b.png"), QSize(3, 3), Qt::green)));
    EXPECT_EQ(copy.Size(), QSize(12, 8));  // the copy holds its own picture
}

TEST(WatermarkModel, UnreadablePictureIsReportedAndKeepsThePreviousOne)
{
    QTemporaryDir dir;
    platform::ScopedScriptedDialogs dialogs;
    TWatermark mark;
    mark.WatermarkType = TWatermark::TypeImage;
    ASSERT_TRUE(mark.LoadImage(savePicture(dir, QStringLiteral("a.png"), QSize(12, 8), Qt::red)));
    QFile notAPicture(dir.filePath(QStringLiteral("notes.png")));
    ASSERT_TRUE(notAPicture.open(QIODevice::WriteOnly));
    notAPicture.write("plain text, not a picture");
    notAPicture.close();

    for (const QString& path : {dir.filePath(QStringLiteral("gone.png")), notAPicture.fileName()}) {
        SCOPED_TRACE(path.toStdString());
        dialogs.clearShown();
        EXPECT_FALSE(mark.LoadImage(path));
        ASSERT_EQ(dialogs.texts().size(), 1);
        EXPECT_TRUE(dialogs.texts()[0].startsWith(QStringLiteral("Unable to load watermark image\r\n")));
        EXPECT_GT(dialogs.texts()[0].size(), QStringLiteral("Unable to load watermark image\r\n").size());
        EXPECT_EQ(mark.Size(), QSize(12, 8));
    }
}

TEST(WatermarkModel, TextSplitsIntoLinesAtAnyLineBreak)
{
    using L = QStringList;
    EXPECT_EQ(LinesFromText(QString()), L());
    EXPECT_EQ(LinesFromText(QStringLiteral("Sample Text")), L{"Sample Text"});
    EXPECT_EQ(LinesFromText(QStringLiteral("a\r\nb\nc\rd")), (L{"a", "b", "c", "d"}));
    EXPECT_EQ(LinesFromText(QStringLiteral("a\r\n\r\nb\r\n")), (L{"a", "", "b"}));
}

TEST_F(SettingsFile, AbsentKeysGiveTheDefaults)
{
    TWatermark mark;
    ReadWatermarkKeys(TIniFile(settingsPath()), mark);
    EXPECT_EQ(mark.WatermarkType, TWatermark::TypeNone);
    EXPECT_EQ(QList<int>({mark.OffsetX, mark.OffsetY, mark.Transparency, mark.ShadowRadius, mark.ShadowOffsetX,
                          mark.ShadowOffsetY, mark.OffsetTypeX, mark.OffsetTypeY}),
              QList<int>({0, 0, 200, 0, 3, 3, 0, 0}));
    EXPECT_EQ(mark.ImageFileName, QString());
    EXPECT_EQ(mark.Lines, QStringList{QStringLiteral("Sample Text")});
    EXPECT_EQ(mark.Font.family(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(mark.FontColor, QColor(255, 0, 0));
    EXPECT_EQ(mark.Font.pointSize(), 24);
    EXPECT_FALSE(mark.Font.bold() || mark.Font.italic() || mark.Font.underline() || mark.Font.strikeOut());
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(SettingsFile, EncodingsOfTheStoredValues)
{
    writeSettings("[Watermark]\r\nWatermarkType=257\r\nWatermarkText=Line 1#$D#$ALine 2\r\nWatermarkFontColor=$00563412\r\n"
          "WatermarkFontSize=0x10\r\nWatermarkFontBold=1\r\nWatermarkFontItalic=0\r\nWatermarkFontUnderline=5\r\n"
          "WatermarkFontStrikeout=x\r\nWatermarkOffsetTypeX=2\r\nWatermarkOffsetTypeY=513\r\n"
          "WatermarkFontName=DejaVu Serif\r\nWatermarkOffsetX=-12\r\nWatermarkTransparency=abc\r\n");
    TWatermark mark;
    ReadWatermarkKeys(TIniFile(settingsPath()), mark);
    EXPECT_EQ(mark.WatermarkType, TWatermark::TypeText);  // the low 8 bits
    EXPECT_EQ(mark.Lines, (QStringList{QStringLiteral("Line 1"), QStringLiteral("Line 2")}));
    EXPECT_EQ(mark.FontColor, QColor(0x12, 0x34, 0x56));  // 0x00BBGGRR
    EXPECT_EQ(mark.Font.pointSize(), 16);
    EXPECT_TRUE(mark.Font.bold());
    EXPECT_FALSE(mark.Font.italic());
    EXPECT_TRUE(mark.Font.underline());
    EXPECT_FALSE(mark.Font.strikeOut());
    EXPECT_EQ(mark.OffsetTypeX, 2);
    EXPECT_EQ(mark.OffsetTypeY, 1);
    EXPECT_EQ(mark.Font.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(mark.OffsetX, -12);
    EXPECT_EQ(mark.Transparency, 200);
}

TEST_F(SettingsFile, FontSizesOutsideTheDialogsRangeAreKeptWithinIt)
{
    for (const auto& [stored, points] : {std::pair{"-20", 1}, std::pair{"0", 1}, std::pair{"99999", 1638}}) {
        SCOPED_TRACE(stored);
        writeSettings(QByteArray("[Watermark]\r\nWatermarkFontSize=") + stored + "\r\n");
        TWatermark mark;
        ReadWatermarkKeys(TIniFile(settingsPath()), mark);
        EXPECT_EQ(mark.Font.pointSize(), points);
    }
}

TEST_F(SettingsFile, PictureTypeLoadsItsFileAndFallsBackToNoneWhenItIsGone)
{
    const QString picture = savePicture(dir, QStringLiteral("logo.png"), QSize(16, 9), Qt::blue);
    struct Case {
        QString file;
        uint8_t type;
        int messages;
        QSize size;
    };
    for (const Case& c : {Case{picture, 2, 0, QSize(16, 9)}, Case{dir.filePath(QStringLiteral("gone.png")), 0, 1, QSize()},
                          Case{QString(), 2, 0, QSize(0, 0)}}) {
        SCOPED_TRACE(c.file.toStdString());
        dialogs.clearShown();
        QFile::remove(settingsPath());
        TIniFile ini(settingsPath());
        ini.WriteInteger(QStringLiteral("Watermark"), QStringLiteral("WatermarkType"), 2);
        ini.WriteString(QStringLiteral("Watermark"), QStringLiteral("WatermarkImageFileName"), c.file);
        TWatermark mark;
        ReadWatermarkKeys(ini, mark);
        EXPECT_EQ(mark.WatermarkType, c.type);
        EXPECT_EQ(mark.ImageFileName, c.file);
        EXPECT_EQ(dialogs.texts().size(), c.messages);
        if (c.type == 2) {
            EXPECT_EQ(mark.Size(), c.size);
        }
    }
}

TEST_F(SettingsFile, WritesTheEighteenKeysInOrderAndReadsThemBack)
{
    TWatermark mark;
    mark.WatermarkType = 1;
    mark.OffsetX = -55;
    mark.OffsetY = 20;
    mark.Transparency = 90;
    mark.ShadowRadius = 4;
    mark.ShadowOffsetX = -3;
    mark.ShadowOffsetY = 5;
    mark.ImageFileName = QStringLiteral("/p/x.jpg");
    mark.Lines = QStringList{QStringLiteral("Line 1"), QStringLiteral("Line 2")};
    mark.OffsetTypeX = 1;
    mark.OffsetTypeY = 2;
    mark.Font = QFont(QStringLiteral("DejaVu Sans"), 18);
    mark.Font.setItalic(true);
    mark.Font.setStrikeOut(true);
    mark.FontColor = QColor(0x12, 0x34, 0x56);
    TIniFile ini(settingsPath());
    WriteWatermarkKeys(ini, mark);

    EXPECT_EQ(settingsText(),
              "[Watermark]\nWatermarkType=1\nWatermarkOffsetX=-55\nWatermarkOffsetY=20\nWatermarkTransparency=90\n"
              "WatermarkShadowRadius=4\nWatermarkShadowOffsetX=-3\nWatermarkShadowOffsetY=5\n"
              "WatermarkImageFileName=/p/x.jpg\nWatermarkText=Line 1#$D#$ALine 2\nWatermarkOffsetTypeX=1\n"
              "WatermarkOffsetTypeY=2\nWatermarkFontName=DejaVu Sans\nWatermarkFontColor=5649426\n"
              "WatermarkFontSize=18\nWatermarkFontBold=0\nWatermarkFontItalic=1\nWatermarkFontUnderline=0\n"
              "WatermarkFontStrikeout=1\n");

    TWatermark back;
    ReadWatermarkKeys(ini, back);
    EXPECT_EQ(back.Lines, mark.Lines);
    EXPECT_EQ(back.Font.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(back.Font.pointSize(), 18);
    EXPECT_EQ(QList<bool>({back.Font.bold(), back.Font.italic(), back.Font.underline(), back.Font.strikeOut()}),
              QList<bool>({false, true, false, true}));
    EXPECT_EQ(back.FontColor, mark.FontColor);
    EXPECT_EQ(QList<int>({back.WatermarkType, back.OffsetX, back.OffsetY, back.Transparency, back.ShadowRadius,
                          back.ShadowOffsetX, back.ShadowOffsetY, back.OffsetTypeX, back.OffsetTypeY}),
              QList<int>({1, -55, 20, 90, 4, -3, 5, 1, 2}));
}
