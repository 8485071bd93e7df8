#include "NoisyPicture.h"
#include "thumbs/ImageEnView.h"
#include "thumbs/JpegIO.h"
#include "thumbs/PictureFile.h"
#include "thumbs/PngIO.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <functional>

namespace {

class PictureIO : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    void writeBytes(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray readBytes(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(PictureIO, LowerJpegQualityGivesASmallerFileOfTheSameSize)
{
    const QImage picture = noisyPicture(250, 188);
    WriteJpeg(picture, path("q10.jpg"), 10);
    WriteJpeg(picture, path("q90.jpg"), 90);
    EXPECT_LT(QFileInfo(path("q10.jpg")).size(), QFileInfo(path("q90.jpg")).size());
    for (const char* name : {"q10.jpg", "q90.jpg"}) {
        const QImage back = ReadJpeg(path(name));
        EXPECT_EQ(back.size(), picture.size()) << name;
        EXPECT_EQ(back.format(), QImage::Format_BGR888) << name;
    }
}

TEST_F(PictureIO, JpegKeepsColoursCloseAtHighQuality)
{
    QImage flat(64, 48, QImage::Format_BGR888);
    flat.fill(QColor(200, 40, 90));
    WriteJpeg(flat, path("flat.png"), 100);  // JPEG data whatever the extension
    const QImage back = ReadPicture(path("flat.png"));
    const QColor c = back.pixelColor(30, 20);
    EXPECT_NEAR(c.red(), 200, 2);
    EXPECT_NEAR(c.green(), 40, 2);
    EXPECT_NEAR(c.blue(), 90, 2);
}

TEST_F(PictureIO, WriteThatCannotCreateTheFileNamesItAndLeavesNothing)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.jpg"));
    writeBytes("plainfile", "x");
    for (const QString& target : {path("taken.jpg"), path("plainfile/thumb.jpg")}) {
        try {
            WriteJpeg(noisyPicture(20, 20), target, 90);
            ADD_FAILURE() << "no error for " << target.toStdString();
        } catch (const FileCreateError& e) {
            EXPECT_TRUE(e.message().contains(target)) << e.what();
        }
    }
    EXPECT_TRUE(QFileInfo(path("taken.jpg")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), QStringList{"plainfile"});
}

TEST_F(PictureIO, FailedWriteKeepsTheEarlierFile)
{
    WriteJpeg(noisyPicture(20, 20), path("keep.jpg"), 90);
    const QByteArray before = readBytes("keep.jpg");
    EXPECT_THROW(WriteJpeg(QImage(), path("keep.jpg"), 90), AppError);
    EXPECT_EQ(readBytes("keep.jpg"), before);
}

TEST_F(PictureIO, BrokenFilesRaiseErrorsNamingThem)
{
    WriteJpeg(noisyPicture(80, 60), path("good.jpg"), 90);
    QImage alpha(30, 20, QImage::Format_ARGB32);
    alpha.fill(QColor(10, 20, 30, 128));
    ASSERT_TRUE(alpha.save(path("good.png")));
    const QByteArray jpeg = readBytes("good.jpg");
    const QByteArray png = readBytes("good.png");
    writeBytes("cut.jpg", jpeg.left(jpeg.size() / 2));
    writeBytes("header.jpg", jpeg.left(20));
    writeBytes("cut.png", png.left(png.size() - 30));
    writeBytes("header.png", png.left(12));
    writeBytes("text.jpg", "this is not a picture at all");
    writeBytes("empty.png", "");

    struct Case { const char* file; std::function<QImage(const QString&)> read; };
    const Case cases[] = {
        {"cut.jpg", ReadJpeg}, {"header.jpg", ReadJpeg}, {"text.jpg", ReadJpeg}, {"cut.png", ReadPng},
        {"header.png", ReadPng}, {"empty.png", ReadPng}, {"text.jpg", ReadPicture}, {"cut.jpg", ReadPicture},
        {"cut.png", ReadPicture}, {"missing.jpg", ReadPicture}, {"empty.png", ReadPicture},
    };
    for (const Case& c : cases) {
        try {
            c.read(path(c.file));
            ADD_FAILURE() << "no error for " << c.file;
        } catch (const AppError& e) {
            EXPECT_TRUE(e.message().contains(path(c.file))) << e.what();
        }
    }
}

TEST_F(PictureIO, PngWithAlphaKeepsItsAlpha)
{
    QImage picture(30, 20, QImage::Format_ARGB32);
    picture.fill(QColor(10, 20, 30, 128));
    picture.setPixelColor(3, 4, QColor(250, 0, 0, 0));
    ASSERT_TRUE(picture.save(path("alpha.png")));

    const QImage back = ReadPng(path("alpha.png"));
    ASSERT_EQ(back.format(), QImage::Format_ARGB32);
    EXPECT_EQ(back.pixelColor(0, 0), QColor(10, 20, 30, 128));
    EXPECT_EQ(back.pixelColor(3, 4).alpha(), 0);

    TImageEnView view;
    view.LoadFromFile(path("alpha.png"));
    ASSERT_TRUE(view.HasAlphaChannel());
    EXPECT_EQ(view.AlphaChannel().constScanLine(0)[0], 128);
    EXPECT_EQ(view.AlphaChannel().constScanLine(4)[3], 0);
    EXPECT_EQ(view.Bitmap().pixelColor(0, 0), QColor(10, 20, 30));
}

TEST_F(PictureIO, OpaquePngAndOtherFormatsLoadAsTwentyFourBits)
{
    const QImage picture = noisyPicture(17, 9);
    ASSERT_TRUE(picture.save(path("opaque.png")));
    ASSERT_TRUE(picture.save(path("picture.bmp")));
    for (const char* name : {"opaque.png", "picture.bmp"}) {
        const QImage back = ReadPicture(path(name));
        EXPECT_EQ(back.format(), QImage::Format_BGR888) << name;
        EXPECT_EQ(back, picture) << name;
    }
}

}  // namespace
