// Grabbing the frame on screen and saving it as a thumbnail through the real main window.
#include "app/window/MainWindowFixture.h"
#include "fixtures/FramePattern.h"
#include "media/ufrmMainPlayback.h"
#include "thumbs/ImageEnView.h"
#include "thumbs/JpegIO.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

constexpr media::MediaTime kMs = 10'000;
constexpr int kFrameAt2000Ms = 50;  // 25 frames a second
const QString kReadOnlyHint = QStringLiteral("\r\nMake sure the folder or disk is not read only.");

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The size as "%.0n bytes" writes it where the thousands separator is a comma.
QString commaGrouped(qint64 size)
{
    QString digits = QString::number(size);
    for (int at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits + QStringLiteral(" bytes");
}

class FrameGrabAndSave : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        previousLocale = QLocale();
        TfrmMain& w = open();
        w.ConnectOpeningAndTransport();
        playback = TMainPlayback::of(&w);
        ASSERT_NE(playback, nullptr);
    }

    void TearDown() override
    {
        QLocale::setDefault(previousLocale);
        MainWindowTest::TearDown();
    }

    // Opens the clip in `mode`, pauses and moves to 2,000 ms.
    void openAt2000Ms(int mode, const QString& clip = QStringLiteral("divx.avi"))
    {
        window->VideoMode = static_cast<uint8_t>(mode);
        window->OpenDialog.fileName = testenv::fixture(clip);
        ASSERT_TRUE(playback->OpenVideoFile(testenv::fixture(clip)));
        ASSERT_EQ(playback->SkipMilliseconds(-100000, 0), 1);
        ASSERT_EQ(playback->SkipMilliseconds(2000, 0), 0);
        media::MediaTime position = -1;
        ASSERT_TRUE(playback->MediaSeeking->getCurrentPosition(position));
        ASSERT_EQ(position, 2000 * kMs);
        dialogs.clearShown();
    }

    // A snapshot at 2,000 ms in video mode 1.
    void snapshotAt2000Ms()
    {
        openAt2000Ms(1);
        ASSERT_TRUE(window->TakeSnapshot());
    }

    // A snapshot saved once; remembers what the size label and the thumbnail view then show.
    void snapshotSavedOnce()
    {
        snapshotAt2000Ms();
        ASSERT_TRUE(window->SaveThumb(path(QStringLiteral("first.jpg"))));
        savedSizeText = window->lblFileSize->text();
        savedShown = window->ImageThumb->Bitmap();
    }

    void expectLastSaveStillShown() const
    {
        EXPECT_EQ(window->lblFileSize->text(), savedSizeText);
        EXPECT_EQ(window->ImageThumb->Bitmap(), savedShown);
    }

    void setTrimAndCrop(bool trim, bool crop)
    {
        window->ckbTrimthumb->setChecked(trim);
        window->ckbCropThumb->setChecked(crop);
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    QLocale previousLocale;
    TMainPlayback* playback = nullptr;
    QString savedSizeText;
    QImage savedShown;
};

TEST_F(FrameGrabAndSave, SkorrelThenSaveWritesTheFrameAsAThumbnailAndShowsIt)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    openAt2000Ms(1);
    QTest::mouseClick(window->btnSnapshot, Qt::LeftButton);
    ASSERT_TRUE(window->SnapshotAvailable);
    EXPECT_TRUE(window->btnSaveThumb->isEnabled());
    EXPECT_TRUE(window->Save1->isEnabled());
    EXPECT_EQ(window->FullFrame.size(), QSize(640, 480));
    EXPECT_EQ(window->FullFrame.format(), QImage::Format_BGR888);
    EXPECT_EQ(framepattern::readFrameNumber(window->FullFrame), kFrameAt2000Ms);
    EXPECT_EQ(window->ImageSnapshot->Bitmap().size(), QSize(250, 188));
    EXPECT_EQ(framepattern::readFrameNumber(window->ImageSnapshot->Bitmap()), kFrameAt2000Ms);

    setTrimAndCrop(false, false);
    const QString saved = path(QStringLiteral("thumb.jpg"));
    dialogs.queueSaveFile(saved);
    QTest::mouseClick(window->btnSaveThumb, Qt::LeftButton);

    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, platform::ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(dialogs.shown()[0].options.fileName, QStringLiteral("divx.jpg"));
    const QImage thumbnail = ReadJpeg(saved);
    EXPECT_EQ(thumbnail.size(), QSize(250, 188));
    EXPECT_EQ(framepattern::readFrameNumber(thumbnail), kFrameAt2000Ms);
    const qint64 size = QFileInfo(saved).size();
    ASSERT_GE(size, 1000);  // so the label shows a separator
    EXPECT_EQ(window->lblFileSize->text(), commaGrouped(size));
    EXPECT_EQ(window->ImageThumb->Bitmap(), thumbnail);
    EXPECT_EQ(window->SaveDialog1.initialDir, QFileInfo(saved).absolutePath());
    EXPECT_TRUE(window->SnapshotAvailable);  // the same frame may be saved again
}

TEST_F(FrameGrabAndSave, ThePreviewFitsTheWholeFrameIntoTheBoxAsTheGrabFoundIt)
{
    const struct {
        const char* width;
        const char* height;
        const char* widthShown;
        QSize preview;
    } cases[] = {
        {"250", "200", "250", {250, 188}},
        {"abc", "200", "320", {267, 200}},     // half the video width
        {"1000", "1000", "1000", {1000, 750}},  // enlarged
        {"5", "5", "10", {10, 8}},              // the smallest box
    };
    openAt2000Ms(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        window->txtThumbWidth->setText(QString::fromLatin1(c.width));
        window->txtThumbHeight->setText(QString::fromLatin1(c.height));
        ASSERT_TRUE(window->TakeSnapshot());
        EXPECT_EQ(window->txtThumbWidth->text(), QString::fromLatin1(c.widthShown));
        EXPECT_EQ(window->ImageSnapshot->Bitmap().size(), c.preview);
    }

    // Settings changed after the grab wait for the next one.
    const QImage preview = window->ImageSnapshot->Bitmap();
    window->txtThumbWidth->setText(QStringLiteral("100"));
    window->cmbResampleFilter->setCurrentText(QStringLiteral("Nearest"));
    setTrimAndCrop(false, false);
    EXPECT_EQ(window->ImageSnapshot->Bitmap(), preview);
}

TEST_F(FrameGrabAndSave, AllThreeVideoModesGrabTheSameFrameForTheSamePosition)
{
    for (int mode : {1, 2, 3}) {
        SCOPED_TRACE(mode);
        openAt2000Ms(mode);
        ASSERT_TRUE(window->TakeSnapshot());
        EXPECT_EQ(window->FullFrame.size(), QSize(640, 480));
        EXPECT_EQ(window->FullFrame.format(), QImage::Format_BGR888);
        EXPECT_EQ(framepattern::readFrameNumber(window->FullFrame), kFrameAt2000Ms);
        EXPECT_TRUE(dialogs.texts().isEmpty());
    }
}

TEST_F(FrameGrabAndSave, AnEmptyGrabSaysSoAndDropsTheSnapshot)
{
    snapshotAt2000Ms();
    playback->SampleGrabber.clear();  // a renderer that has delivered nothing

    EXPECT_FALSE(window->TakeSnapshot());
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral(
                                   "Unable to grab a snapshot.\r\nTry changing the video mode\r\n"
                                   "Select \"Change Video Mode\" from the tools Menu.\r\n\r\n"
                                   "Make sure the video is not corrupt and proper codecs are installed")});
    EXPECT_FALSE(window->SnapshotAvailable);
    EXPECT_FALSE(window->btnSaveThumb->isEnabled());
    EXPECT_FALSE(window->CopySnapShot1->isEnabled());
    const QImage cleared = window->ImageSnapshot->Bitmap();
    EXPECT_EQ(framepattern::readFrameNumber(cleared), -1);
    EXPECT_EQ(cleared.pixelColor(cleared.width() / 2, cleared.height() / 2), window->ImageSnapshot->Background());
}

TEST_F(FrameGrabAndSave, CopySnapshotCopiesThePreviewAndCopyFullFrameTheFrameAsDelivered)
{
    snapshotAt2000Ms();
    const QImage preview = window->ImageSnapshot->Bitmap();
    setTrimAndCrop(true, true);
    ASSERT_TRUE(window->SaveThumb(path(QStringLiteral("cropped.jpg"))));
    ASSERT_EQ(ReadJpeg(path(QStringLiteral("cropped.jpg"))).size(), QSize(250, 200));

    QClipboard* clipboard = QGuiApplication::clipboard();
    window->CopySnapShot1->trigger();
    EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_BGR888), preview);

    const QImage fullFrame = window->FullFrame;
    playback->SkipMilliseconds(400, 0);  // ten frames on
    window->CopyFullFrame1->trigger();
    const QImage copied = clipboard->image();
    EXPECT_EQ(copied.size(), QSize(640, 480));
    EXPECT_EQ(framepattern::readFrameNumber(copied), kFrameAt2000Ms + 10);
    EXPECT_EQ(window->FullFrame, fullFrame);
    EXPECT_TRUE(window->SnapshotAvailable);
    EXPECT_TRUE(dialogs.texts().isEmpty());
}

TEST_F(FrameGrabAndSave, APngNameGetsJpegData)
{
    snapshotAt2000Ms();
    const QString saved = path(QStringLiteral("thumb.png"));
    ASSERT_TRUE(window->SaveThumb(saved));
    EXPECT_TRUE(fileBytes(saved).startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(framepattern::readFrameNumber(ReadJpeg(saved)), kFrameAt2000Ms);
}

TEST_F(FrameGrabAndSave, QualityBoxIsClampedWhenLeftAndTheTrackBarFollows)
{
    const struct {
        const char* typed;
        int shown;
    } cases[] = {{"0", 1}, {"150", 100}, {"abc", 90}, {"42", 42}, {"", 90}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        window->txtJPEGQuality->setText(QString::fromLatin1(c.typed));
        QTest::keyClick(window->txtJPEGQuality, Qt::Key_Return);
        EXPECT_EQ(window->txtJPEGQuality->text(), QString::number(c.shown));
        EXPECT_EQ(window->tbJPEGQuality->value(), c.shown);
    }
}

TEST_F(MainWindowTest, TheQualityBoxShowsTheRememberedQuality)
{
    writeSettings("[Setup]\r\nJPEGQuality=37\r\n");
    TfrmMain& w = open();
    EXPECT_EQ(w.tbJPEGQuality->value(), 37);
    EXPECT_EQ(w.txtJPEGQuality->text(), QStringLiteral("37"));
}

TEST_F(FrameGrabAndSave, MovingTheTrackBarChangesOnlyTheQualityBox)
{
    snapshotSavedOnce();
    window->tbJPEGQuality->setValue(90);

    QTest::keyClick(window->tbJPEGQuality, Qt::Key_Left);
    EXPECT_EQ(window->txtJPEGQuality->text(), QStringLiteral("89"));
    window->tbJPEGQuality->setValue(7);
    EXPECT_EQ(window->txtJPEGQuality->text(), QStringLiteral("7"));
    expectLastSaveStillShown();
}

TEST_F(FrameGrabAndSave, TheSaveUsesTheTrackBarsQuality)
{
    snapshotAt2000Ms();
    window->tbJPEGQuality->setValue(100);
    ASSERT_TRUE(window->SaveThumb(path(QStringLiteral("best.jpg"))));
    window->tbJPEGQuality->setValue(5);
    ASSERT_TRUE(window->SaveThumb(path(QStringLiteral("worst.jpg"))));
    EXPECT_GT(QFileInfo(path(QStringLiteral("best.jpg"))).size(), 2 * QFileInfo(path(QStringLiteral("worst.jpg"))).size());
}

TEST_F(FrameGrabAndSave, AFolderThatCannotBeWrittenGivesTheReadOnlyHintAndKeepsTheLastResult)
{
    snapshotSavedOnce();
    writeBytes(path(QStringLiteral("blocker")), "a file where the folder should be");
    const QString target = path(QStringLiteral("blocker/thumb.jpg"));

    EXPECT_FALSE(window->SaveThumb(target));
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts()[0].contains(target)) << dialogs.texts()[0].toStdString();
    EXPECT_TRUE(dialogs.texts()[0].endsWith(kReadOnlyHint));
    EXPECT_FALSE(dialogs.texts()[0].startsWith(QStringLiteral("Error saving file: ")));
    expectLastSaveStillShown();
}

// A write that stops after a few bytes (the file size limit) must not touch the file already there.
TEST_F(FrameGrabAndSave, ASaveThatFailsMidwayLeavesTheExistingFileIntactAndNoLeftovers)
{
    snapshotAt2000Ms();
    const QString target = path(QStringLiteral("thumb.jpg"));
    writeBytes(target, "the earlier thumbnail");
    const QStringList before = QDir(dir.path()).entryList(QDir::Files);

    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = window->SaveThumb(target);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    ASSERT_EQ(dialogs.texts().size(), 1);
    EXPECT_TRUE(dialogs.texts()[0].startsWith(QStringLiteral("Error saving file: Cannot write file \"") + target))
        << dialogs.texts()[0].toStdString();
    EXPECT_EQ(fileBytes(target), QByteArray("the earlier thumbnail"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
}

TEST_F(FrameGrabAndSave, SavingWithoutAFrameReportsTheErrorAndWritesNothing)
{
    window->VideoWidth = 640;
    window->VideoHeight = 480;
    const QString target = path(QStringLiteral("thumb.jpg"));
    writeBytes(target, "the earlier thumbnail");
    for (bool trim : {true, false}) {
        SCOPED_TRACE(trim);
        dialogs.clearShown();
        setTrimAndCrop(trim, false);
        EXPECT_FALSE(window->SaveThumb(target));
        ASSERT_EQ(dialogs.texts().size(), 1);
        EXPECT_TRUE(dialogs.texts()[0].startsWith(QStringLiteral("Error saving file: ")));
        EXPECT_EQ(fileBytes(target), QByteArray("the earlier thumbnail"));
        EXPECT_EQ(window->lblFileSize->text(), QStringLiteral("0KB"));
    }
}

TEST_F(FrameGrabAndSave, TheUsersWatermarkIsMergedIntoTheSavedThumbnailOnly)
{
    snapshotAt2000Ms();
    setTrimAndCrop(false, false);
    ASSERT_TRUE(window->SaveThumb(path(QStringLiteral("plain.jpg"))));
    TWatermark& watermark = *window->UserWatermark;
    watermark.WatermarkType = TWatermark::TypeText;
    watermark.Lines = {QStringLiteral("WWWW")};
    watermark.Font.setPointSize(20);
    watermark.FontColor = QColor(255, 0, 0);
    watermark.Transparency = 0;
    watermark.OffsetTypeX = TWatermark::AnchorFar;
    watermark.OffsetTypeY = TWatermark::AnchorFar;
    watermark.MeasureText();
    watermark.ResetOffsets();
    const QImage preview = window->ImageSnapshot->Bitmap();
    ASSERT_TRUE(window->SaveThumb(path(QStringLiteral("marked.jpg"))));

    const QImage plain = ReadJpeg(path(QStringLiteral("plain.jpg"))).convertToFormat(QImage::Format_RGB32);
    const QImage marked = ReadJpeg(path(QStringLiteral("marked.jpg"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(marked.size(), QSize(250, 188));
    const QRect block(250 - 5 - watermark.TextWidth, 188 - 5 - watermark.TextHeight, watermark.TextWidth,
                      watermark.TextHeight);
    int redInside = 0, changedOutside = 0;
    for (int y = 0; y < marked.height(); ++y) {
        for (int x = 0; x < marked.width(); ++x) {
            const QRgb m = marked.pixel(x, y);
            const QRgb p = plain.pixel(x, y);
            if (block.contains(x, y))
                redInside += qRed(m) > 180 && qGreen(m) < 90 && qBlue(m) < 90;
            else if (!block.adjusted(-8, -8, 8, 8).contains(x, y))  // JPEG blocks bleed a little
                changedOutside += std::abs(qRed(m) - qRed(p)) > 24;
        }
    }
    EXPECT_GT(redInside, block.width() * block.height() / 10);
    EXPECT_EQ(changedOutside, 0);
    EXPECT_EQ(watermark.View, window->ImageSnapshot);  // lent to the scratch view for the save only
    EXPECT_EQ(window->ImageSnapshot->LayersCount(), 1);
    EXPECT_EQ(window->ImageSnapshot->Bitmap(), preview);
}

}  // namespace
