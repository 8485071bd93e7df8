#include "media/ufrmMainPlayback.h"

#include "app/uLibPivex.h"
#include "app/ufrmMain.h"
#include "media/MediaError.h"
#include "media/uMediaDetails.h"
#include "media/ufrmVideoMode.h"
#include "platform/Dialogs.h"
#include "thumbs/ImageEnView.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <cmath>

namespace {

constexpr int64_t kUnitsPerMs = 10'000;
constexpr int kSkipStepMs = 35;
constexpr int kSliderScale = 10000;
const QString kCrLf = QStringLiteral("\r\n");
const QString kNotSeekable = QStringLiteral("A problem was encountered trying to seek.\r\nThis file may not be seekable.");

const QStringList kRefusedFilters = {
    "{AA59CBFA-F731-49E9-BE78-08665F339EFC}", "{79A00187-F159-4B89-981B-F81D51504201}",
    "{112A878C-8C2A-41F8-A93A-48CC830649D1}", "{CB51EFC1-40D6-11D3-B265-00A0C9A3A56F}",
    "{D3CD7858-971A-4838-ACEC-40CA5D529DC8}", "{0D56C6F9-8BBB-4FD9-B389-AF3C0BCF7F4A}",
    "{00A95963-3BE5-48C0-AD9F-3356D67EA09D}", "{52780691-D7FB-4335-B38E-EC40280EDC57}",
    "{18572B81-97AD-11D5-BE82-0000E8EFB996}", "{7643A2D7-7763-4458-929C-0AF76CBB3423}",
    "{AEFA5024-215A-4FC7-97A4-1043C86FD0B8}",
};

QString codecFamily(const QString& fourCC)
{
    static const QStringList divx = {"DIV3", "DIV4", "DIV5", "DIVX", "DX50"};
    if (divx.contains(fourCC))
        return QStringLiteral("DIVX");
    if (fourCC == QLatin1String("WMV2") || fourCC == QLatin1String("WMV3"))
        return QStringLiteral("WMV");
    return fourCC;  // "XVID" is its own family
}

QString familyAdvice(const QString& family)
{
    const QString divxUrl = QStringLiteral("http://www.divx.com/divx/");
    const QString xvidUrl = QStringLiteral("http://www.xvid.org/");
    if (family == QLatin1String("DIVX"))
        return "In order to work properly with DivX Videos" + kCrLf + "Skorrel! requires DivX 4 or higher or XviD installed"
               + kCrLf + kCrLf + "DivX (Recommended):" + kCrLf + divxUrl + kCrLf + kCrLf + "XviD:" + kCrLf + xvidUrl;
    if (family == QLatin1String("XVID"))
        return "In order to work properly with XviD Videos" + kCrLf + "Skorrel! requires an XviD compatible codec installed"
               + kCrLf + kCrLf + "XviD:" + kCrLf + xvidUrl;
    if (family == QLatin1String("WMV"))
        return "In order to work properly with WMV Videos" + kCrLf
               + "Skorrel! Works best with Windows Media Series 9 Codecs Installed" + kCrLf + kCrLf + "Codecs:" + kCrLf
               + "http://www.microsoft.com/windows/windowsmedia/format/codecdownload.aspx" + kCrLf + "Player:" + kCrLf
               + "http://www.microsoft.com/windows/windowsmedia/9series/player.aspx";
    return QStringLiteral("Install compatible codecs to play this file");
}

}  // namespace

void TfrmMain::ConnectOpeningAndTransport()
{
    if (!TMainPlayback::of(this))
        new TMainPlayback(*this);
}

TMainPlayback::TMainPlayback(TfrmMain& form) : QObject(&form), form_(form)
{
    VideoWindow = new media::VideoWindow(form.VideoWindow);
    VideoWindow->setGeometry(form.VideoWindow->rect());
    form.VideoWindow->installEventFilter(this);  // the renderer follows the video area's size
    frmVideoMode = new TfrmVideoMode(&form);
    FilterGraph.setActive(true);
    FilterGraph.setRefusedClassIds(kRefusedFilters);
    sliderTimer_.setInterval(30);
    connect(&sliderTimer_, &QTimer::timeout, this, &TMainPlayback::sliderTick);
    connect(&FilterGraph, &media::FilterGraph::graphComplete, this, &TMainPlayback::FilterGraphGraphComplete);
    connectControls();
}

TMainPlayback::~TMainPlayback()
{
    FilterGraph.clearGraph();
}

void TMainPlayback::ReleaseGraph()
{
    sliderTimer_.stop();
    MediaSeeking.reset();
    if (FilterGraph.active())
        FilterGraph.stop();
    FilterGraph.clearGraph();
    FilterGraph.setActive(false);
}

TMainPlayback* TMainPlayback::of(const TfrmMain* form)
{
    return form->findChild<TMainPlayback*>(QString(), Qt::FindDirectChildrenOnly);
}

void TMainPlayback::connectControls()
{
    connect(form_.btnOpen, &QPushButton::clicked, this, &TMainPlayback::btnOpenClick);
    connect(form_.Open1, &QAction::triggered, this, &TMainPlayback::btnOpenClick);
    connect(form_.btnPlay, &QToolButton::clicked, this, &TMainPlayback::btnPlayClick);
    connect(form_.ToolButton3, &QToolButton::clicked, this, &TMainPlayback::ToolButton3Click);
    connect(form_.ToolButton2, &QToolButton::clicked, this, &TMainPlayback::ToolButton2Click);
    connect(form_.btnBack, &QToolButton::clicked, this, &TMainPlayback::btnBackClick);
    connect(form_.btnForward, &QToolButton::clicked, this, &TMainPlayback::btnForwardClick);
    connect(form_.tbVolume, &QSlider::valueChanged, this, &TMainPlayback::tbVolumeChange);
    connect(form_.tbSeekAmount, &QSlider::valueChanged, this, [this] {
        if (form_.VideoOpen)
            form_.tbVideoSlider->setFocus();
    });
    connect(form_.tbVideoSlider, &QSlider::valueChanged, this, [this] { ShowPosition(-1); });
    form_.tbVideoSlider->installEventFilter(this);
}

// ---- Opening ----

bool TMainPlayback::OpenVideoFile(const QString& fileName)
{
    CloseVideo();
    if (!BuildFileGraph(fileName))
        return false;
    if ((form_.VideoWidth < 1 || form_.VideoHeight < 1) && VideoWindow->mode() == media::VideoWindow::Mode::VMR) {
        form_.VideoWidth = VideoWindow->nativeVideoSize().width();
        form_.VideoHeight = VideoWindow->nativeVideoSize().height();
    }
    if (form_.VideoWidth < 1 || form_.VideoHeight < 1) {
        form_.VideoWidth = FilterGraph.videoSize().width();
        form_.VideoHeight = FilterGraph.videoSize().height();
    }
    form_.lblWidth->setText(QString::number(form_.VideoWidth));
    form_.lblHeight->setText(QString::number(form_.VideoHeight));
    sizeVideoPanel();
    form_.ImageSnapshot->Clear();
    form_.ImageThumb->Clear();
    FilterGraph.setVolume(GetVolumeLevel());
    form_.tbVideoSlider->setValue(form_.tbVideoSlider->minimum());
    form_.SetVideoOpen(true);
    VideoWindow->update();

    FilterGraph.play();
    WaitForGraphState();
    FilterGraph.pause();
    ShowPosition(0);
    UpdatePlayButton();

    form_.txtVideoFileName->setText(fileName);
    followOpenDialog();

    FilterGraph.play();
    UpdatePlayButton();
    form_.tbVideoSlider->setFocus();
    return true;
}

// The dialogs' folders and the proposed save name follow the open dialog's last chosen file, even
// when a batch run opened another; before any choice there is nothing to follow, and the remembered
// folder must survive to be written back.
void TMainPlayback::followOpenDialog()
{
    const QString chosen = form_.OpenDialog.fileName;
    if (chosen.isEmpty())
        return;
    const QString previousFolder = form_.OpenDialog.initialDir;
    form_.OpenDialog.initialDir = QFileInfo(chosen).absolutePath();
    if (form_.SaveDialog1.initialDir == previousFolder || form_.SaveDialog1.initialDir.isEmpty())
        form_.SaveDialog1.initialDir = form_.OpenDialog.initialDir;
    form_.SaveDialog1.fileName = GetFileNameNoExt(chosen) + QStringLiteral(".jpg");
}

// Fits the video into 288 x 256 keeping its aspect (small videos at 1:1), centred in its parent.
void TMainPlayback::sizeVideoPanel()
{
    const int width = form_.VideoWidth;
    const int height = form_.VideoHeight;
    if (width > 0 && height > 0) {
        QSize size(width, height);
        if (width >= 288 || height >= 256) {
            const double aspect = static_cast<double>(width) / height;
            size = 288.0 / 256.0 >= aspect ? QSize(static_cast<int>(std::lround(256 * aspect)), 256)
                                           : QSize(288, static_cast<int>(std::lround(288 / aspect)));
        }
        form_.VideoPanel->resize(size);
        form_.VideoWindow->resize(size);
        VideoWindow->resize(size);  // hidden windows get their resize events only when shown
    }
    const QSize parent = form_.ParentVideoPanel->size();
    const QSize video = form_.VideoWindow->size();
    form_.VideoPanel->move((parent.width() - video.width()) / 2, (parent.height() - video.height()) / 2);
}

void TMainPlayback::CloseVideo()
{
    form_.SetVideoOpen(false);
    form_.VideoWidth = 0;
    form_.VideoHeight = 0;
    form_.ImageThumb->Clear();
    sliderTimer_.stop();
    FilterGraph.clearGraph();
    MediaSeeking.reset();
    VideoWindow->clearImage();
    form_.tbVideoSlider->setValue(0);
    const QString zero = FormatSplitTime(SplitMilliseconds(0));
    form_.lblVideoDuration->setText(zero);
    form_.lblPosition->setText(zero);
    form_.txtVideoFileName->clear();
    form_.lblHeight->setText(QStringLiteral("0"));
    form_.lblWidth->setText(QStringLiteral("0"));
    VideoWindow->setFilterGraph(nullptr);
}

bool TMainPlayback::BuildFileGraph(const QString& fileName)
{
    form_.VideoOpen = false;
    FilterGraph.setActive(false);
    FilterGraph.setActive(true);
    FilterGraph.stop();
    FilterGraph.clearGraph();
    form_.tbVideoSlider->setValue(form_.tbVideoSlider->minimum());

    EnumVid details;
    try {
        details = GetMediaDetails(fileName);
    } catch (const AppError& error) {
        RouteMessage(error.message());
    }
    const QString family = codecFamily(details.VideoFourCC);
    if (form_.ShowRenderMessage) {
        platform::dialogs().message("If no video displays, try changing the Video Mode" + kCrLf
                                    + "Select \"Change Video Mode\" from the tools Menu." + kCrLf + kCrLf
                                    + "This message will not be displayed again.");
        form_.ShowRenderMessage = false;
    }

    VideoWindow->setFilterGraph(&FilterGraph);
    FilterGraph.setMode(media::FilterGraph::Mode::Normal);
    FilterColorSpaceConverter.setFilterGraph(nullptr);
    SampleGrabber.setFilterGraph(nullptr);
    if (form_.VideoMode == 1 || form_.VideoMode == 2)
        VideoWindow->setMode(media::VideoWindow::Mode::Normal);
    if (form_.VideoMode == 2)
        FilterColorSpaceConverter.setFilterGraph(&FilterGraph);
    if (form_.VideoMode == 3)
        VideoWindow->setMode(media::VideoWindow::Mode::VMR);
    if (VideoWindow->mode() == media::VideoWindow::Mode::Normal)
        SampleGrabber.setFilterGraph(&FilterGraph);

    try {
        FilterGraph.setBlockFilters(true);
        FilterGraph.renderFile(fileName);
        FilterGraph.play();
        FilterGraph.pause();
    } catch (const media::EMediaError& error) {
        RouteMessage(renderFailureMessage(details.VideoFourCC, error.message()) + familyAdvice(family));
        return false;
    }

    form_.VideoWidth = details.Width;
    form_.VideoHeight = details.Height;
    MediaSeeking.reset();
    const uint32_t needed = media::CanSeekAbsolute | media::CanSeekBackwards | media::CanGetDuration;
    if ((FilterGraph.seekCapabilities() & needed) != needed)
        RouteMessage(QStringLiteral("Media seeking is restricted. May cause issues"));
    MediaSeeking = FilterGraph.querySeeking();
    if (!MediaSeeking)
        RouteMessage(QStringLiteral("IMediaSeeking queryinterface failed"));
    media::MediaTime duration = 0;
    if (MediaSeeking && MediaSeeking->setTimeFormatMediaTime() && MediaSeeking->getDuration(duration))
        form_.lblVideoDuration->setText(FormatSplitTime(SplitRefTime(duration)));
    VideoWindow->update();
    form_.DvdMode = false;
    return true;
}

QString TMainPlayback::renderFailureMessage(const QString& fourCC, const QString& error) const
{
    return "An error occured attempting to play this file." + kCrLf + "Try changing the video mode" + kCrLf
           + "Select \"Change Video Mode\" from the tools Menu." + kCrLf + kCrLf + "Video Type: "
           + GetCodecDescription(fourCC) + kCrLf + error + kCrLf + kCrLf;
}

// ---- Transport and seeking ----

int TMainPlayback::SkipMilliseconds(int64_t distanceMs, int64_t endMarginMs)
{
    FilterGraph.pause();
    media::MediaTime current = 0, stop = 0;
    if (!MediaSeeking || !MediaSeeking->getPositions(current, stop) || stop == 0) {
        RouteMessage(kNotSeekable);
        return 2;
    }
    int result = 0;
    const int64_t delta = distanceMs * kUnitsPerMs;
    media::MediaTime target = current + delta;
    const int64_t margin = endMarginMs < 100 ? 100 : endMarginMs;
    const media::MediaTime limit = stop - margin * kUnitsPerMs;
    if (target >= limit) {
        target = limit;
        result = 1;
    }
    if (target <= 0 && delta < 0) {
        target = 0;
        result = 1;
    }
    MediaSeeking->setPositions(target, media::Positioning::Absolute);
    ShowPosition(target / kUnitsPerMs);
    SyncSlider();
    media::MediaTime after = 0;
    if (MediaSeeking->getPositions(after, stop) && after == current && result == 0) {
        RouteMessage(kNotSeekable);
        result = 2;
    }
    WaitForGraphState();
    UpdatePlayButton();
    QCoreApplication::processEvents();
    return result;
}

void TMainPlayback::SkipFrames(int32_t count)
{
    SkipMilliseconds(static_cast<int64_t>(count) * kSkipStepMs, 0);
}

int64_t TMainPlayback::GetDuration()
{
    media::MediaTime current = 0, stop = 0;
    if (!MediaSeeking || !MediaSeeking->getPositions(current, stop))
        return 0;
    return stop / kUnitsPerMs;
}

void TMainPlayback::PreviousChapter()
{
    if (!form_.VideoOpen || !MediaSeeking)
        return;
    FilterGraph.pause();
    MediaSeeking->setPositions(0, media::Positioning::Absolute);
    WaitForGraphState();
    UpdatePlayButton();
}

void TMainPlayback::NextChapter()
{
    if (!form_.VideoOpen || !MediaSeeking)
        return;
    FilterGraph.pause();
    media::MediaTime current = 0, stop = 0;
    MediaSeeking->getPositions(current, stop);
    MediaSeeking->setPositions(stop, media::Positioning::Absolute);
    FilterGraph.play();
    WaitForGraphState();
    UpdatePlayButton();
}

void TMainPlayback::UpdatePlayButton(media::GraphState state)
{
    if (state == media::GraphState::Uninitialised)
        state = FilterGraph.state();
    const bool playing = state == media::GraphState::Playing;
    form_.btnPlay->setToolTip(playing ? QStringLiteral("Pause") : QStringLiteral("Play"));
    form_.btnPlay->setIcon(form_.ImageList1.value(playing ? 2 : 3));
    // The slider follows the graph itself: after graph complete the button shows "Play" while the
    // graph still plays, and the next tick pauses it at the stop position.
    if (FilterGraph.state() == media::GraphState::Playing)
        sliderTimer_.start();
    else
        sliderTimer_.stop();
}

void TMainPlayback::ShowPosition(int64_t milliseconds)
{
    if (!form_.VideoOpen)
        return;
    if (milliseconds == -1) {
        media::MediaTime current = 0;
        if (MediaSeeking)
            MediaSeeking->getCurrentPosition(current);
        milliseconds = current / kUnitsPerMs;
    }
    form_.lblPosition->setText(FormatSplitTime(SplitMilliseconds(milliseconds)));
    form_.lblPosition->repaint();
}

void TMainPlayback::SyncSlider()
{
    media::MediaTime duration = 0, current = 0;
    if (!MediaSeeking || !MediaSeeking->getDuration(duration) || !MediaSeeking->getCurrentPosition(current))
        return;
    const QSignalBlocker quiet(form_.tbVideoSlider);
    form_.tbVideoSlider->setRange(0, static_cast<int>(duration / kUnitsPerMs));
    form_.tbVideoSlider->setValue(static_cast<int>(current / kUnitsPerMs));
}

void TMainPlayback::WaitForGraphState()
{
    media::GraphState state;
    FilterGraph.getState(std::chrono::milliseconds(2000), state);
}

int TMainPlayback::GetVolumeLevel() const
{
    const int position = form_.tbVolume->value();
    if (position <= 0)
        return 0;
    return static_cast<int>(std::lround(std::log10(position / 100.0) * 5000)) + 10000;
}

// The position slider while playing: 0..10000 of the duration, every 30 ms unless the button is held.
void TMainPlayback::sliderTick()
{
    media::MediaTime duration = 0, current = 0;
    if (sliderHeld_ || !MediaSeeking || !MediaSeeking->getDuration(duration) || !MediaSeeking->getCurrentPosition(current))
        return;
    {
        const QSignalBlocker quiet(form_.tbVideoSlider);
        form_.tbVideoSlider->setRange(0, kSliderScale);
        form_.tbVideoSlider->setValue(duration > 0 ? static_cast<int>(current * kSliderScale / duration) : 0);
    }
    ShowPosition(current / kUnitsPerMs);
    if (current == duration) {
        FilterGraph.pause();
        UpdatePlayButton();
    }
}

void TMainPlayback::seekFromSlider()
{
    media::MediaTime duration = 0;
    if (!MediaSeeking || !MediaSeeking->getDuration(duration) || form_.tbVideoSlider->maximum() <= 0)
        return;
    MediaSeeking->setPositions(duration * form_.tbVideoSlider->value() / form_.tbVideoSlider->maximum(),
                               media::Positioning::Absolute);
}

// ---- Handlers ----

void TMainPlayback::btnOpenClick()
{
    const std::optional<QString> chosen = platform::dialogs().openFile(form_.OpenDialog);
    if (!chosen)
        return;
    form_.OpenDialog.fileName = *chosen;
    if (form_.VideoMode == 0)
        frmVideoMode->SelectVideoMode(media::VideoWindow::mixingRendererAvailable(), form_.VideoMode);
    OpenVideoFile(*chosen);
}

void TMainPlayback::btnPlayClick()
{
    if (!form_.VideoOpen)
        return;
    if (FilterGraph.state() != media::GraphState::Playing)
        FilterGraph.play();
    else
        FilterGraph.pause();
    UpdatePlayButton();
    form_.tbVideoSlider->setFocus();
}

void TMainPlayback::ToolButton3Click()
{
    if (form_.VideoOpen) {
        const bool playing = FilterGraph.state() == media::GraphState::Playing;
        PreviousChapter();
        form_.tbVideoSlider->setValue(0);
        ShowPosition(-1);
        if (playing)
            FilterGraph.play();
        UpdatePlayButton();
    }
    form_.tbVideoSlider->setFocus();
}

void TMainPlayback::ToolButton2Click()
{
    if (form_.VideoOpen)
        NextChapter();
    form_.tbVideoSlider->setFocus();
}

void TMainPlayback::btnBackClick()
{
    if (form_.VideoOpen)
        SkipFrames(-form_.tbSeekAmount->value());
    form_.tbVideoSlider->setFocus();
}

void TMainPlayback::btnForwardClick()
{
    if (form_.VideoOpen)
        SkipFrames(form_.tbSeekAmount->value());
    form_.tbVideoSlider->setFocus();
}

void TMainPlayback::tbVolumeChange()
{
    FilterGraph.setVolume(GetVolumeLevel());
}

void TMainPlayback::ChangeVideoMode1Click()
{
    const uint8_t before = form_.VideoMode;
    frmVideoMode->SelectVideoMode(media::VideoWindow::mixingRendererAvailable(), form_.VideoMode);
    if (form_.VideoMode != before && form_.VideoOpen)
        OpenVideoFile(form_.OpenDialog.fileName);
}

void TMainPlayback::FilterGraphGraphComplete()
{
    UpdatePlayButton(media::GraphState::Paused);
}

bool TMainPlayback::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == form_.VideoWindow && event->type() == QEvent::Resize) {
        VideoWindow->setGeometry(form_.VideoWindow->rect());
        return false;
    }
    if (watched != form_.tbVideoSlider)
        return false;
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left: form_.btnBack->click(); break;
        case Qt::Key_Right: form_.btnForward->click(); break;
        case Qt::Key_Up: form_.tbSeekAmount->setValue(form_.tbSeekAmount->value() + 1); break;
        case Qt::Key_Down: form_.tbSeekAmount->setValue(form_.tbSeekAmount->value() - 1); break;
        case Qt::Key_Space: form_.btnPlay->click(); break;
        default: break;
        }
        return true;  // the slider never moves by keyboard
    }
    const bool leftButton = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease;
    if (leftButton && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        sliderHeld_ = event->type() == QEvent::MouseButtonPress;
        if (!sliderHeld_)
            QTimer::singleShot(0, this, &TMainPlayback::seekFromSlider);
    }
    return false;
}
