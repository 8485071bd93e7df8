// The main window's frame: creation and destruction with the settings, command enabling, the
// menu items of the frame, and the resize constraints and rules.
#include "app/ufrmMain.h"

#include "app/IniFile.h"
#include "app/uLibPivex.h"
#include "app/ufrmMainApplication.h"
#include "platform/AppError.h"
#include "thumbs/ImageEnView.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QUrl>

namespace {

const QString kSetup = QStringLiteral("Setup");
const QString kSupportUrl = QStringLiteral("https://sourceforge.net/projects/skorrel/support");

const char* const kResampleFilterNames[] = {
    "None", "Triangle", "Hermite", "Bell", "BSpline", "Lanczos3",
    "Mitchell", "Nearest", "Linear", "FastLinear", "Bilinear", "Bicubic",
};

// The thumbnail box's limit from the video's size: a size not known counts as no limit.
int thumbLimit(int32_t videoSize)
{
    return videoSize > 0 ? 2 * videoSize : 0;
}

// Half the video's size when the box holds no number, but never below the box's minimum.
int thumbFallback(int32_t videoSize, int minimum)
{
    return std::max(videoSize / 2, minimum);
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : TfrmMainParent(parent)
{
    CreateControls();
    ConnectFrameControls();
    ConnectOpeningAndTransport();
    ConnectThumbnailShaping();
    ConnectFrameGrabAndOutput();
    if (!RunStartupChecks())
        return;
    SetVideoOpen(false);
    FillResampleFilters();
    IniFile = new TIniFile(SettingsFilePath());
    ReadSetupSettings();
    ReadWindowSize();
    CreateWatermark();
    ReadVideoMode();
    AttachWatermark();
    SelectRememberedFilter();
}

TfrmMain::~TfrmMain()
{
    ReleasePlayback();
    WriteSettings();
}

// ---- Seams filled by later subsystems ----

// Start-up checks of the media components: false when the program cannot run at all (it has then
// been asked to end). Everything checked there is present in this build until they arrive.
bool TfrmMain::RunStartupChecks()
{
    return true;
}

// ---- Creation ----

void TfrmMain::ConnectFrameControls()
{
    // "Same as clicking" the buttons: a disabled button ignores the click. "&Open" is wired with
    // btnOpen by the playback block.
    connect(Save1, &QAction::triggered, btnSaveThumb, &QPushButton::click);
    connect(Skorrel1, &QAction::triggered, btnSnapshot, &QPushButton::click);
    ConnectGuarded(Exit1, &QAction::triggered, this, &TfrmMain::Exit1Click);
    ConnectGuarded(BatchMode1, &QAction::triggered, this, &TfrmMain::BatchMode1Click);
    ConnectGuarded(Watermark1, &QAction::triggered, this, &TfrmMain::Watermark1Click);
    ConnectGuarded(ChangeVideoMode1, &QAction::triggered, this, &TfrmMain::ChangeVideoMode1Click);
    ConnectGuarded(ShowFilters1, &QAction::triggered, this, &TfrmMain::ShowFilters1Click);
    ConnectGuarded(ShowFilterTree1, &QAction::triggered, this, &TfrmMain::ShowFilterTree1Click);
    ConnectGuarded(OnlineSupport1, &QAction::triggered, this, &TfrmMain::OnlineSupport1Click);
    ConnectGuarded(About1, &QAction::triggered, this, &TfrmMain::About1Click);
}

void TfrmMain::FillResampleFilters()
{
    for (const char* name : kResampleFilterNames)
        cmbResampleFilter->addItem(QString::fromLatin1(name));
    cmbResampleFilter->setCurrentIndex(-1);  // the remembered filter is selected last
}

void TfrmMain::ReadSetupSettings()
{
    txtThumbWidth->setText(IniFile->ReadString(kSetup, QStringLiteral("ThumbWidth"), QStringLiteral("250")));
    txtThumbHeight->setText(IniFile->ReadString(kSetup, QStringLiteral("ThumbHeight"), QStringLiteral("200")));
    OpenDialog.initialDir = IniFile->ReadString(kSetup, QStringLiteral("InitialDir"), QString());
    tbVolume->setValue(IniFile->ReadInteger(kSetup, QStringLiteral("tbVolume"), 10000));
    RememberedResampleFilter = IniFile->ReadString(kSetup, QStringLiteral("ResampleFilter"), QStringLiteral("Lanczos3"));
    tbJPEGQuality->setValue(IniFile->ReadInteger(kSetup, QStringLiteral("JPEGQuality"), 90));
    ckbTrimthumb->setChecked(IniFile->ReadBool(kSetup, QStringLiteral("Trimthumb"), true));
    ckbCropThumb->setChecked(IniFile->ReadBool(kSetup, QStringLiteral("Cropthumb"), true));
    tbSeekAmount->setValue(IniFile->ReadInteger(kSetup, QStringLiteral("tbSeekAmount"), 2));
}

void TfrmMain::ReadWindowSize()
{
    layout()->activate();  // places the menu bar and the client area before the window is shown
    FormConstrainedResize();
    resize(IniFile->ReadInteger(kSetup, QStringLiteral("WindowWidth"), width()),
           IniFile->ReadInteger(kSetup, QStringLiteral("WindowHeight"), height()));
    if (const QScreen* desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());
}

void TfrmMain::ReadVideoMode()
{
    ShowRenderMessage = IniFile->ReadBool(kSetup, QStringLiteral("ShowRenderMessage"), true);
    VideoMode = static_cast<uint8_t>(IniFile->ReadInteger(kSetup, QStringLiteral("VideoMode"), 3) & 0xFF);
    if (VideoMode >= 4)
        VideoMode = 0;
    if (VideoMode == 3 && !MixingRendererAvailable())
        VideoMode = 1;
}

void TfrmMain::SelectRememberedFilter()
{
    cmbResampleFilter->setCurrentIndex(cmbResampleFilter->findText(RememberedResampleFilter, Qt::MatchFixedString));
}

// ---- Destruction ----

void TfrmMain::WriteSettings()
{
    if (!IniFile)
        return;
    try {
        if (VideoOpen)
            WriteSetupSettings();
        WriteWatermarkSettings();
        WriteWindowSettings();
    } catch (const AppError& error) {
        platform::dialogs().message(error.message());
    }
    delete IniFile;
    IniFile = nullptr;
}

void TfrmMain::WriteSetupSettings()
{
    IniFile->WriteInteger(kSetup, QStringLiteral("tbVolume"), tbVolume->value());
    IniFile->WriteInteger(kSetup, QStringLiteral("ThumbWidth"), GetThumbWidth());
    IniFile->WriteInteger(kSetup, QStringLiteral("ThumbHeight"), GetThumbHeight());
    IniFile->WriteInteger(kSetup, QStringLiteral("JPEGQuality"), tbJPEGQuality->value());
    IniFile->WriteBool(kSetup, QStringLiteral("Trimthumb"), ckbTrimthumb->isChecked());
    IniFile->WriteBool(kSetup, QStringLiteral("Cropthumb"), ckbCropThumb->isChecked());
    IniFile->WriteInteger(kSetup, QStringLiteral("tbSeekAmount"), tbSeekAmount->value());
    IniFile->WriteString(kSetup, QStringLiteral("InitialDir"), OpenDialog.initialDir);
    IniFile->WriteBool(kSetup, QStringLiteral("ShowRenderMessage"), ShowRenderMessage);
}

void TfrmMain::WriteWindowSettings()
{
    IniFile->WriteInteger(kSetup, QStringLiteral("WindowWidth"), width());
    IniFile->WriteInteger(kSetup, QStringLiteral("WindowHeight"), height());
    IniFile->WriteInteger(kSetup, QStringLiteral("VideoMode"), VideoMode);
}

// ---- Command enabling ----

void TfrmMain::SetVideoOpen(bool open)
{
    VideoOpen = open;
    for (QAction* command : {Skorrel1, CopyFullFrame1, ShowFilters1, ShowFilterTree1})
        command->setEnabled(open);
    btnSnapshot->setEnabled(open);
    SetSnapshotAvailable(false);
}

void TfrmMain::SetSnapshotAvailable(bool available)
{
    SnapshotAvailable = available;
    if (!available)
        ImageSnapshot->Clear();
    Save1->setEnabled(available);
    CopySnapShot1->setEnabled(available);
    btnSaveThumb->setEnabled(available);
}

// ---- Thumbnail settings ----

int TfrmMain::GetThumbWidth()
{
    return ClampEditInt(txtThumbWidth, 10, thumbLimit(VideoWidth), thumbFallback(VideoWidth, 10));
}

int TfrmMain::GetThumbHeight()
{
    return ClampEditInt(txtThumbHeight, 10, thumbLimit(VideoHeight), thumbFallback(VideoHeight, 10));
}

int TfrmMain::GetJPEGQuality()
{
    return ClampEditInt(txtJPEGQuality, 1, 100, 90);
}

// ---- Menu items of the frame ----

void TfrmMain::Exit1Click()
{
    ReleasePlayback();
    QCoreApplication::quit();
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    RunGuarded([this] { Exit1Click(); });
    event->accept();
}

void TfrmMain::OnlineSupport1Click()
{
    QDesktopServices::openUrl(QUrl(kSupportUrl));
}

// The batch setup dialog comes with batch mode; after it the messages go to message boxes again.
void TfrmMain::BatchMode1Click()
{
    RestoreMessageRoute();
}

// These open windows that later subsystems bring.
void TfrmMain::Watermark1Click() {}
void TfrmMain::ShowFilters1Click() {}
void TfrmMain::ShowFilterTree1Click() {}
void TfrmMain::About1Click() {}

// ---- Resizing ----

QWidget* TfrmMain::clientArea() const
{
    return centralWidget();
}

// What the window has around its client area (the menu bar here; a window manager's frame lies
// outside the window's own size and cancels out).
QSize TfrmMain::nonClientSize() const
{
    return size() - clientArea()->size();
}

void TfrmMain::FormConstrainedResize()
{
    const QSize nonClient = nonClientSize();
    const int videoControlsBottom = pnlVideoControls->y() + pnlVideoControls->height();
    setMinimumSize(nonClient.width() + ParentVideoPanel->width() + pnlSnapshotControls->width() +
                       pnlSaveControls->width() + 20,
                   nonClient.height() + videoControlsBottom + 5);
    setMaximumHeight(nonClient.height() + videoControlsBottom + pnlSnapshotControls->height() + 5);
}

void TfrmMain::FormResize()
{
    const QSize client = clientArea()->size();
    const int free = client.width() - (ParentVideoPanel->x() + ParentVideoPanel->width() + 15);
    const int imageWidth = free / 2 + 3;
    const int imageHeight = client.height() - (ImageSnapshot->y() + pnlSnapshotControls->height() + 3);
    ImageSnapshot->resize(imageWidth, imageHeight);
    ImageThumb->setGeometry(ImageSnapshot->x() + imageWidth + 3, ImageSnapshot->y(), imageWidth, imageHeight);
    const int panelTop = ImageSnapshot->y() + imageHeight + 3;
    pnlSnapshotControls->move(ImageSnapshot->x() + imageWidth - pnlSnapshotControls->width(), panelTop);
    pnlSaveControls->move(ImageThumb->x() + imageWidth - pnlSaveControls->width(), panelTop);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == clientArea() && event->type() == QEvent::Resize) {
        FormConstrainedResize();
        FormResize();
    }
    return TfrmMainParent::eventFilter(watched, event);
}
