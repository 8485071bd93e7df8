// The main window's watermark: configured from the settings file at creation, written at destruction.
#include "app/window/MainWindowFixture.h"

#include "thumbs/ImageEnView.h"

TEST_F(MainWindowTest, UserWatermarkStartsFromTheDefaultsMeasuredOnTheSnapshotView)
{
    TfrmMain& w = open();
    ASSERT_NE(w.UserWatermark, nullptr);
    EXPECT_EQ(w.UserWatermark->WatermarkType, TWatermark::TypeNone);
    EXPECT_EQ(w.UserWatermark->View, w.ImageSnapshot);
    EXPECT_EQ(w.UserWatermark->Lines, QStringList{QStringLiteral("Sample Text")});
    EXPECT_GT(w.UserWatermark->TextWidth, 0);
    EXPECT_GT(w.UserWatermark->TextHeight, 0);
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(MainWindowTest, PictureWatermarkWhoseFileIsGoneStartsAsNoneAfterTheMessage)
{
    const QString gone = dir.filePath(QStringLiteral("gone.png"));
    writeSettings("[Watermark]\r\nWatermarkType=2\r\nWatermarkImageFileName=" + gone.toUtf8() + "\r\n");
    TfrmMain& w = open();
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts()[0].startsWith(QStringLiteral("Unable to load watermark image\r\n")));
    EXPECT_EQ(w.UserWatermark->WatermarkType, TWatermark::TypeNone);

    destroy();
    const TIniFile ini(settingsPath());
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Watermark"), QStringLiteral("WatermarkType"), -1), 0);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Watermark"), QStringLiteral("WatermarkImageFileName"), QString()), gone);
}

TEST_F(MainWindowTest, PictureWatermarkWithItsFileStartsWithThePicture)
{
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    const QString path = dir.filePath(QStringLiteral("logo.png"));
    ASSERT_TRUE(picture.save(path));
    writeSettings("[Watermark]\r\nWatermarkType=2\r\nWatermarkImageFileName=" + path.toUtf8() + "\r\n");
    TfrmMain& w = open();
    EXPECT_TRUE(dialogs.texts().isEmpty());
    EXPECT_EQ(w.UserWatermark->WatermarkType, TWatermark::TypeImage);
    EXPECT_EQ(w.UserWatermark->Size(), QSize(40, 20));
}

TEST_F(MainWindowTest, DestructionWritesTheWatermarkKeysWithoutAVideoOpened)
{
    writeSettings("[Watermark]\r\nWatermarkType=1\r\nWatermarkText=Line 1#$D#$ALine 2\r\nWatermarkFontColor=$FF0000\r\n"
             "WatermarkFontSize=30\r\nWatermarkFontBold=1\r\nWatermarkOffsetTypeX=2\r\n");
    TfrmMain& w = open();
    EXPECT_EQ(w.UserWatermark->Lines, (QStringList{QStringLiteral("Line 1"), QStringLiteral("Line 2")}));
    EXPECT_EQ(w.UserWatermark->FontColor, QColor(0, 0, 255));
    w.UserWatermark->OffsetX = 17;

    destroy();
    const QByteArray text = settingsText().replace("\r\n", "\n");
    EXPECT_TRUE(text.contains("WatermarkText=Line 1#$D#$ALine 2\n"));
    EXPECT_TRUE(text.contains("WatermarkFontColor=16711680\n"));
    for (const char* line : {"WatermarkFontSize=30\n", "WatermarkFontBold=1\n", "WatermarkFontItalic=0\n"})
        EXPECT_TRUE(text.contains(line)) << line;
    EXPECT_TRUE(text.contains("WatermarkOffsetX=17\n"));
    EXPECT_TRUE(text.contains("WatermarkOffsetTypeX=2\n"));
    EXPECT_FALSE(text.contains("ThumbWidth"));  // no video was opened
}
