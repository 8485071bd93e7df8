// The main window's controls at their design places, its glyphs, menus and dialog options.
#include "app/ufrmMain.h"

#include "thumbs/ImageEnView.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

constexpr int kDesignWidth = 798;
constexpr int kDesignHeight = 497;

// The design font is an 8-point bitmap sans; the system sans at the same pixel height reads alike.
QFont designFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(11);
    return font;
}

// An auto-sized label with its top-left corner at (left, top).
QLabel* label(QWidget* parent, const QString& text, int left, int top)
{
    auto* result = new QLabel(text, parent);
    result->move(left, top);
    result->adjustSize();
    return result;
}

QFrame* panel(QWidget* parent, const QRect& place, QFrame::Shadow shadow)
{
    auto* result = new QFrame(parent);
    result->setGeometry(place);
    result->setFrameShape(shadow == QFrame::Plain ? QFrame::NoFrame : QFrame::Panel);
    result->setFrameShadow(shadow);
    return result;
}

QSlider* trackBar(QWidget* parent, const QRect& place, int minimum, int maximum, int tickInterval)
{
    auto* result = new QSlider(Qt::Horizontal, parent);
    result->setGeometry(place);
    result->setRange(minimum, maximum);
    if (tickInterval > 0) {
        result->setTickPosition(QSlider::TicksBelow);
        result->setTickInterval(tickInterval);
    }
    return result;
}

QLineEdit* edit(QWidget* parent, const QRect& place, const QString& text, const QString& hint)
{
    auto* result = new QLineEdit(text, parent);
    result->setGeometry(place);
    result->setToolTip(hint);
    return result;
}

QPushButton* button(QWidget* parent, const QRect& place, const QString& text, const QString& hint = {})
{
    auto* result = new QPushButton(text, parent);
    result->setGeometry(place);
    result->setToolTip(hint);
    return result;
}

QToolButton* toolButton(QToolBar* bar, const QIcon& glyph, const QString& hint)
{
    auto* result = new QToolButton(bar);
    result->setIcon(glyph);
    result->setToolTip(hint);
    result->setAutoRaise(true);
    bar->addWidget(result);
    return result;
}

QToolBar* toolBar(QWidget* parent, int left, int top)
{
    auto* result = new QToolBar(parent);
    result->setIconSize(QSize(16, 16));
    result->setMovable(false);
    result->setFloatable(false);
    result->move(left, top);
    return result;
}

QAction* menuItem(QMenu* menu, const QString& caption, const QKeySequence& shortcut = {})
{
    QAction* result = menu->addAction(caption);
    result->setShortcut(shortcut);
    return result;
}

}  // namespace

void TfrmMain::CreateControls()
{
    setWindowTitle(QStringLiteral("Skorrel! Video Screen Capture"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(designFont());

    auto* client = new QWidget(this);
    setCentralWidget(client);

    CreateGlyphs();
    Label2 = label(client, QStringLiteral("Video File:"), 301, 8);
    txtVideoFileName = edit(client, {358, 4, 320, 21}, {}, {});
    txtVideoFileName->setReadOnly(true);
    btnOpen = button(client, {681, 8, 45, 17}, QStringLiteral("Open"));
    Label1 = label(client,
                   QStringLiteral("Find a movie, find your frame, skorrel a snapshot. If it looks ok, save your thumbnail."),
                   301, 32);
    CreateVideoArea(client);
    CreateVideoControls(client);

    ImageSnapshot = new TImageEnView(client);
    ImageSnapshot->setGeometry(298, 52, 238, 300);
    ImageThumb = new TImageEnView(client);
    ImageThumb->setGeometry(587, 52, 182, 301);
    CreateSnapshotControls(client);
    CreateSaveControls(client);

    CreateMenus();
    CreateDialogOptions();
    client->installEventFilter(this);  // the resize rules, once every control they move exists
    resize(kDesignWidth, kDesignHeight);
}

void TfrmMain::CreateVideoArea(QWidget* client)
{
    ParentVideoPanel = panel(client, {1, 26, 294, 262}, QFrame::Sunken);
    VideoPanel = panel(ParentVideoPanel, {3, 2, 288, 256}, QFrame::Plain);
    VideoWindow = new QWidget(VideoPanel);
    VideoWindow->setGeometry(VideoPanel->rect());
    VideoWindow->setAutoFillBackground(true);
    QPalette black = VideoWindow->palette();
    black.setColor(QPalette::Window, Qt::black);
    VideoWindow->setPalette(black);
}

void TfrmMain::CreateVideoControls(QWidget* client)
{
    pnlVideoControls = panel(client, {4, 289, 289, 152}, QFrame::Raised);
    QWidget* p = pnlVideoControls;

    // The system sans runs wider than the design font: the value labels and the skip amount
    // slider sit a little further right, and two sliders end a little higher, so nothing overlaps.
    Label11 = label(p, QStringLiteral("Volume:"), 14, 3);
    tbVolume = trackBar(p, {71, 1, 136, 24}, 0, 100, 0);
    Label10 = label(p, QStringLiteral("Duration:"), 12, 25);
    lblVideoDuration = label(p, QStringLiteral("00:00:00:0000"), 65, 25);
    Label12 = label(p, QStringLiteral("Position:"), 12, 42);
    lblPosition = label(p, QStringLiteral("00:00:00:0000"), 65, 42);
    Label6 = label(p, QStringLiteral("Width:"), 155, 25);
    lblWidth = label(p, QStringLiteral("0"), 213, 25);
    Label7 = label(p, QStringLiteral("Height:"), 154, 42);
    lblHeight = label(p, QStringLiteral("0"), 213, 42);

    TrackBar1 = trackBar(p, {13, 57, 268, 28}, 0, 10, 0);
    TrackBar1->setEnabled(false);
    TrackBar1->setFocusPolicy(Qt::NoFocus);
    // Only the track shows: the position slider in front carries the handle.
    TrackBar1->setStyleSheet(QStringLiteral(
        "QSlider::groove:horizontal { height: 2px; margin: 0 4px; border: 1px solid palette(mid); }"
        "QSlider::handle:horizontal { width: 0px; border: none; background: transparent; }"));
    tbVideoSlider = trackBar(p, {10, 56, 271, 25}, 0, 0, 0);
    tbVideoSlider->setFocusPolicy(Qt::StrongFocus);

    Label3 = label(p, QStringLiteral("Skip Amount:"), 9, 91);
    tbSeekAmount = trackBar(p, {86, 85, 136, 33}, 1, 35, 1);
    tbSeekAmount->setToolTip(QStringLiteral("Change the milliseconds to skip when the skip buttons are pressed"));

    ToolBar = toolBar(p, 20, 118);
    btnPlay = toolButton(ToolBar, ImageList1[3], QStringLiteral("Play"));
    ToolBar->addSeparator();
    ToolButton3 = toolButton(ToolBar, ImageList1[0], QStringLiteral("Start"));
    ToolButton2 = toolButton(ToolBar, ImageList1[6], QStringLiteral("End"));
    ToolBar->adjustSize();

    Label8 = label(p, QStringLiteral("Skip:"), 155, 122);
    ToolBar1 = toolBar(p, 185, 118);
    btnBack = toolButton(ToolBar1, ImageList1[9], QStringLiteral("Skip Backwards"));
    btnForward = toolButton(ToolBar1, ImageList1[10], QStringLiteral("Skip Forwards"));
    ToolBar1->adjustSize();
}

void TfrmMain::CreateSnapshotControls(QWidget* client)
{
    pnlSnapshotControls = panel(client, {298, 355, 240, 85}, QFrame::Plain);
    QWidget* p = pnlSnapshotControls;

    Label4 = label(p, QStringLiteral("Thumb Width:"), 4, 7);
    txtThumbWidth = edit(p, {88, 3, 49, 21}, QStringLiteral("250"), QStringLiteral("Maximum width of the thumbnail"));
    Label5 = label(p, QStringLiteral("Thumb Height:"), 4, 33);
    txtThumbHeight = edit(p, {88, 29, 49, 21}, QStringLiteral("200"), QStringLiteral("Maximum height of the thumbnail"));
    Label9 = label(p, QStringLiteral("Resample Filter:"), 4, 61);
    cmbResampleFilter = new QComboBox(p);
    cmbResampleFilter->setGeometry(100, 57, 136, 22);
    cmbResampleFilter->setToolTip(
        QStringLiteral("Different filters will output different quailty (Default: Lanzos3)"));
    btnSnapshot = button(p, {144, 3, 92, 47}, QStringLiteral("Skorrel!"), QStringLiteral("Take a snapshot from the video"));
}

void TfrmMain::CreateSaveControls(QWidget* client)
{
    pnlSaveControls = panel(client, {546, 355, 240, 85}, QFrame::Plain);
    QWidget* p = pnlSaveControls;
    const QString qualityHint = QStringLiteral("Higher image quality creates a larger file size");

    Label13 = label(p, QStringLiteral("JPEG Quality:"), 4, 7);
    tbJPEGQuality = trackBar(p, {80, 1, 118, 28}, 1, 100, 25);
    tbJPEGQuality->setValue(90);
    tbJPEGQuality->setToolTip(qualityHint);
    txtJPEGQuality = edit(p, {202, 3, 34, 21}, QStringLiteral("90"), qualityHint);
    Label14 = label(p, QStringLiteral("File Size:"), 4, 31);
    lblFileSize = label(p, QStringLiteral("0KB"), 80, 31);
    ckbTrimthumb = new QCheckBox(QStringLiteral("Trim Black Borders"), p);
    ckbTrimthumb->setGeometry(4, 47, 128, 17);
    ckbTrimthumb->setToolTip(QStringLiteral("Automatically crop black borders around thumbnail"));
    ckbTrimthumb->setChecked(true);
    ckbCropThumb = new QCheckBox(QStringLiteral("Crop To Exact Size"), p);
    ckbCropThumb->setGeometry(4, 65, 128, 17);
    ckbCropThumb->setToolTip(QStringLiteral(
        "Crop it to be exactly thumb width and height settings, unchecked retains original aspect ratio"));
    ckbCropThumb->setChecked(true);
    btnSaveThumb = button(p, {138, 35, 98, 47}, QStringLiteral("Save Thumbnail"));
}

void TfrmMain::CreateGlyphs()
{
    const QStyle* s = style();
    const QStyle::StandardPixmap glyphs[] = {
        QStyle::SP_MediaSkipBackward,  // 0 start
        QStyle::SP_ArrowLeft,          // 1 spare
        QStyle::SP_MediaPause,         // 2 pause (the play button while playing)
        QStyle::SP_MediaPlay,          // 3 play
        QStyle::SP_ArrowRight,         // 4 spare
        QStyle::SP_MediaStop,          // 5 spare
        QStyle::SP_MediaSkipForward,   // 6 end
        QStyle::SP_MediaVolume,        // 7 spare
        QStyle::SP_MediaVolumeMuted,   // 8 spare
        QStyle::SP_MediaSeekBackward,  // 9 skip backwards
        QStyle::SP_MediaSeekForward,   // 10 skip forwards
    };
    for (QStyle::StandardPixmap glyph : glyphs)
        ImageList1.append(s->standardIcon(glyph));
}

void TfrmMain::CreateMenus()
{
    QMenuBar* bar = menuBar();
    File1 = bar->addMenu(QStringLiteral("&File"));
    Open1 = menuItem(File1, QStringLiteral("&Open"), QKeySequence(Qt::CTRL | Qt::Key_O));
    Save1 = menuItem(File1, QStringLiteral("&Save"), QKeySequence(Qt::CTRL | Qt::Key_S));
    Exit1 = menuItem(File1, QStringLiteral("E&xit"));

    Edit1 = bar->addMenu(QStringLiteral("&Edit"));
    Skorrel1 = menuItem(Edit1, QStringLiteral("Sk&orrel!"), QKeySequence(Qt::CTRL | Qt::Key_A));
    CopySnapShot1 = menuItem(Edit1, QStringLiteral("&Copy Snapshot"), QKeySequence(Qt::CTRL | Qt::Key_C));
    CopyFullFrame1 = menuItem(Edit1, QStringLiteral("Copy Full Frame"), QKeySequence(Qt::CTRL | Qt::Key_X));

    Tools1 = bar->addMenu(QStringLiteral("Tools"));
    BatchMode1 = menuItem(Tools1, QStringLiteral("Batch Mode"));
    Watermark1 = menuItem(Tools1, QStringLiteral("Watermark"));
    Tools1->addSeparator();
    ChangeVideoMode1 = menuItem(Tools1, QStringLiteral("Change Video Mode"));
    ShowFilters1 = menuItem(Tools1, QStringLiteral("Show Filters"));
    ShowFilterTree1 = menuItem(Tools1, QStringLiteral("Show Filter Tree"));

    Help1 = bar->addMenu(QStringLiteral("&Help"));
    OnlineSupport1 = menuItem(Help1, QStringLiteral("Online Support"));
    Help1->addSeparator();
    About1 = menuItem(Help1, QStringLiteral("About"));
}

void TfrmMain::CreateDialogOptions()
{
    OpenDialog.filter = QStringLiteral(
        "Movie files (*.avi,*.mpg,*.mpeg,*.wmv,*.asf)|*.avi;*.mpg;*.mpeg;*.wmv;*.asf|All Files (*.*)|*.*");
    SaveDialog1.filter = QStringLiteral("Jpeg Files (*.jpg)|*.jpg");
    SaveDialog1.defaultExt = QStringLiteral("jpg");
    SaveDialog1.promptOverwrite = true;
}
