// The main window applies the settings file at creation and writes it back at destruction.
#include "MainWindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSlider>

namespace {

bool (*const realProbe)() = TfrmMain::MixingRendererAvailable;

struct ProbeGuard {
    explicit ProbeGuard(bool available)
    {
        TfrmMain::MixingRendererAvailable = available ? +[] { return true; } : +[] { return false; };
    }
    ~ProbeGuard() { TfrmMain::MixingRendererAvailable = realProbe; }
};

}  // namespace

// The [Watermark] keys, written at every destruction in this order.
const QStringList kWatermarkKeys = {
    "WatermarkType", "WatermarkOffsetX", "WatermarkOffsetY", "WatermarkTransparency", "WatermarkShadowRadius",
    "WatermarkShadowOffsetX", "WatermarkShadowOffsetY", "WatermarkImageFileName", "WatermarkText",
    "WatermarkOffsetTypeX", "WatermarkOffsetTypeY", "WatermarkFontName", "WatermarkFontColor", "WatermarkFontSize",
    "WatermarkFontBold", "WatermarkFontItalic", "WatermarkFontUnderline", "WatermarkFontStrikeout"};

TEST_F(MainWindowTest, WithoutSettingsFileOpensAtDesignSizeWithDefaults)
{
    TfrmMain& w = open();
    EXPECT_EQ(w.size(), QSize(798, 497));
    EXPECT_EQ(w.tbVolume->value(), w.tbVolume->maximum());
    EXPECT_EQ(w.tbSeekAmount->value(), 2);
    EXPECT_EQ(w.tbJPEGQuality->value(), 90);
    EXPECT_TRUE(w.ckbTrimthumb->isChecked());
    EXPECT_TRUE(w.ckbCropThumb->isChecked());
    EXPECT_EQ(w.txtThumbWidth->text(), "250");
    EXPECT_EQ(w.txtThumbHeight->text(), "200");
    EXPECT_EQ(w.cmbResampleFilter->currentText(), "Lanczos3");
    EXPECT_EQ(w.CurrentResampleFilter, 5);  // the selection handler ran
    EXPECT_EQ(w.VideoMode, TfrmMain::MixingRendererAvailable() ? 3 : 1);
    EXPECT_TRUE(w.ShowRenderMessage);
    EXPECT_FALSE(w.VideoOpen);
    EXPECT_FALSE(w.SnapshotAvailable);
}

TEST_F(MainWindowTest, ResampleFiltersAreListedInOrder)
{
    TfrmMain& w = open();
    QStringList names;
    for (int i = 0; i < w.cmbResampleFilter->count(); ++i)
        names << w.cmbResampleFilter->itemText(i);
    EXPECT_EQ(names, QStringList({"None", "Triangle", "Hermite", "Bell", "BSpline", "Lanczos3", "Mitchell",
                                  "Nearest", "Linear", "FastLinear", "Bilinear", "Bicubic"}));
}

struct VideoModeCase {
    const char* stored;  // nullptr: key absent
    bool mixingRenderer;
    int expected;
};

class VideoModeTest : public MainWindowTest, public ::testing::WithParamInterface<VideoModeCase> {};

TEST_P(VideoModeTest, StoredModeIsReadByItsRules)
{
    const VideoModeCase c = GetParam();
    if (c.stored)
        writeSettings(QByteArray("[Setup]\nVideoMode=") + c.stored + "\n");
    ProbeGuard probe(c.mixingRenderer);
    EXPECT_EQ(open().VideoMode, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Settings, VideoModeTest,
                         ::testing::Values(VideoModeCase{nullptr, true, 3}, VideoModeCase{nullptr, false, 1},
                                           VideoModeCase{"7", true, 0}, VideoModeCase{"259", true, 3},
                                           VideoModeCase{"259", false, 1}, VideoModeCase{"2", false, 2},
                                           VideoModeCase{"-1", true, 0}, VideoModeCase{"junk", true, 3}));

struct ControlCase {
    const char* key;
    const char* stored;
    int expected;
};

class SliderSettingTest : public MainWindowTest, public ::testing::WithParamInterface<ControlCase> {};

TEST_P(SliderSettingTest, PositionIsClampedToTheRange)
{
    const ControlCase c = GetParam();
    writeSettings(QByteArray("[Setup]\n") + c.key + "=" + c.stored + "\n");
    TfrmMain& w = open();
    const QString key = QString::fromLatin1(c.key);
    QSlider* slider = key == "tbVolume" ? w.tbVolume : key == "JPEGQuality" ? w.tbJPEGQuality : w.tbSeekAmount;
    EXPECT_EQ(slider->value(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Settings, SliderSettingTest,
                         ::testing::Values(ControlCase{"tbVolume", "50", 50}, ControlCase{"tbVolume", "-5", 0},
                                           ControlCase{"tbVolume", "10000", 100},
                                           ControlCase{"JPEGQuality", "0x50", 80},
                                           ControlCase{"JPEGQuality", "0", 1}, ControlCase{"JPEGQuality", "$7FFFFFFF", 100},
                                           ControlCase{"tbSeekAmount", "99", 35}, ControlCase{"tbSeekAmount", "0", 1},
                                           ControlCase{"tbSeekAmount", "abc", 2}));

TEST_F(MainWindowTest, VolumeAtHalfIsTheSlidersMiddle)
{
    writeSettings("[Setup]\ntbVolume=50\n");
    TfrmMain& w = open();
    EXPECT_EQ(w.tbVolume->value(), (w.tbVolume->minimum() + w.tbVolume->maximum()) / 2);
}

TEST_F(MainWindowTest, CheckBoxesReadAsIntegers)
{
    writeSettings("[Setup]\nTrimthumb=5\nCropthumb=0x0\n");
    TfrmMain& w = open();
    EXPECT_TRUE(w.ckbTrimthumb->isChecked());
    EXPECT_FALSE(w.ckbCropThumb->isChecked());
}

TEST_F(MainWindowTest, ThumbWidthIsShownAsReadUntilUsed)
{
    writeSettings("[Setup]\nThumbWidth=abc\nThumbHeight=9999\n");
    TfrmMain& w = open();
    EXPECT_EQ(w.txtThumbWidth->text(), "abc");
    EXPECT_EQ(w.txtThumbHeight->text(), "9999");

    w.VideoWidth = 641;
    w.VideoHeight = 480;
    EXPECT_EQ(w.GetThumbWidth(), 320);
    EXPECT_EQ(w.txtThumbWidth->text(), "320");
    EXPECT_EQ(w.GetThumbHeight(), 960);
    EXPECT_EQ(w.txtThumbHeight->text(), "960");
}

TEST_F(MainWindowTest, ThumbBoxWithUnknownVideoSize)
{
    TfrmMain& w = open();
    w.txtThumbWidth->setText(QStringLiteral("20000"));
    EXPECT_EQ(w.GetThumbWidth(), 10000);
    // No number and no known size: never a box below its minimum.
    w.txtThumbHeight->setText(QStringLiteral("abc"));
    EXPECT_EQ(w.GetThumbHeight(), 10);
    w.txtThumbHeight->setText(QStringLiteral("5"));
    EXPECT_EQ(w.GetThumbHeight(), 10);
}

TEST_F(MainWindowTest, JpegQualityBoxIsClamped)
{
    TfrmMain& w = open();
    for (auto [text, expected] : {std::pair{"0", 1}, {"101", 100}, {"", 90}, {"0x32", 50}}) {
        w.txtJPEGQuality->setText(QString::fromLatin1(text));
        EXPECT_EQ(w.GetJPEGQuality(), expected) << text;
        EXPECT_EQ(w.txtJPEGQuality->text(), QString::number(expected));
    }
}

TEST_F(MainWindowTest, ResampleFilterNameIsMatchedWithoutCase)
{
    writeSettings("[Setup]\nResampleFilter=bSPLINE\n");
    TfrmMain& w = open();
    EXPECT_EQ(w.cmbResampleFilter->currentText(), "BSpline");
    EXPECT_EQ(w.CurrentResampleFilter, 4);
}

TEST_F(MainWindowTest, ResampleFilterNamingNoEntryLeavesNoSelection)
{
    writeSettings("[Setup]\nResampleFilter=Sinc\n");
    TfrmMain& w = open();
    EXPECT_EQ(w.cmbResampleFilter->currentIndex(), -1);
    EXPECT_EQ(w.CurrentResampleFilter, 0);
}

TEST_F(MainWindowTest, InitialDirFeedsTheOpenDialog)
{
    writeSettings("[Setup]\nInitialDir=/videos/holiday\n");
    EXPECT_EQ(open().OpenDialog.initialDir, "/videos/holiday");
}

TEST_F(MainWindowTest, WindowSizeComesFromTheSettingsWithinTheConstraints)
{
    writeSettings("[Setup]\nWindowWidth=900\nWindowHeight=480\n");
    EXPECT_EQ(open().size(), QSize(900, 480));
    destroy();

    writeSettings("[Setup]\nWindowWidth=100\nWindowHeight=5000\n");
    TfrmMain& w = open();
    EXPECT_EQ(w.size(), QSize(w.minimumWidth(), w.maximumHeight()));
}

TEST_F(MainWindowTest, WithoutOpenVideoOnlyWindowKeysAreWritten)
{
    writeSettings("[Setup]\nThumbWidth=77\ntbVolume=12\n");
    {
        TfrmMain& w = open();
        w.txtThumbWidth->setText(QStringLiteral("300"));
        w.tbVolume->setValue(99);
        w.resize(850, 470);
    }
    destroy();
    EXPECT_EQ(sectionLines(QStringLiteral("Setup")),
              QStringList({"ThumbWidth=77", "tbVolume=12", "WindowWidth=850", "WindowHeight=470",
                           QStringLiteral("VideoMode=%1").arg(TfrmMain::MixingRendererAvailable() ? 3 : 1)}));
    EXPECT_EQ(sectionKeys(QStringLiteral("Watermark")), kWatermarkKeys);
}

TEST_F(MainWindowTest, WithOpenVideoTheSetupKeysAreWrittenInOrder)
{
    ProbeGuard probe(true);
    {
        TfrmMain& w = openWithVideo(640, 360);
        w.tbVolume->setValue(40);
        w.txtThumbWidth->setText(QStringLiteral("abc"));
        w.txtThumbHeight->setText(QStringLiteral("5000"));
        w.tbJPEGQuality->setValue(75);
        w.ckbTrimthumb->setChecked(false);
        w.tbSeekAmount->setValue(7);
        w.OpenDialog.initialDir = QStringLiteral("/media/clips");
        w.ShowRenderMessage = false;
        w.VideoMode = 2;
    }
    destroy();
    EXPECT_EQ(sectionLines(QStringLiteral("Setup")),
              QStringList({"tbVolume=40", "ThumbWidth=320", "ThumbHeight=720", "JPEGQuality=75", "Trimthumb=0",
                           "Cropthumb=1", "tbSeekAmount=7", "InitialDir=/media/clips", "ShowRenderMessage=0",
                           "WindowWidth=798", "WindowHeight=497", "VideoMode=2"}));
    EXPECT_EQ(sectionKeys(QStringLiteral("Watermark")), kWatermarkKeys);
}

TEST_F(MainWindowTest, WrittenSettingsAreReadBack)
{
    {
        TfrmMain& w = openWithVideo();
        w.tbVolume->setValue(33);
        w.txtThumbWidth->setText(QStringLiteral("123"));
        w.ckbCropThumb->setChecked(false);
        w.resize(820, 480);
    }
    destroy();
    TfrmMain& again = open();
    EXPECT_EQ(again.tbVolume->value(), 33);
    EXPECT_EQ(again.txtThumbWidth->text(), "123");
    EXPECT_FALSE(again.ckbCropThumb->isChecked());
    EXPECT_EQ(again.size(), QSize(820, 480));
}

TEST_F(MainWindowTest, UnwritableSettingsFileIsReportedAndTheWindowStillCloses)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Skorrel.ini")));
    TfrmMain& w = openWithVideo();
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
    destroy();
    // The first refused write is reported once; the writes after it are not attempted.
    EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("Unable to write to %1").arg(settingsPath())});
    EXPECT_TRUE(QFileInfo(settingsPath()).isDir());
}
