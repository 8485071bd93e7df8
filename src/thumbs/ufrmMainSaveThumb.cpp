// The main window's thumbnail output: shaping, watermark and JPEG file, the quality controls, and
// the two clipboard commands.
#include "app/uLibPivex.h"
#include "app/ufrmMain.h"
#include "thumbs/ImageEnView.h"
#include "thumbs/JpegConv.h"
#include "thumbs/JpegIO.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSlider>

namespace {

// Lends the watermark a view for one render; it goes back to its own view even when the render
// raises, so it never keeps a view that is about to be freed.
class TWatermarkViewLoan {
public:
    TWatermarkViewLoan(TWatermark& watermark, TImageEnView& view) : watermark_(watermark), own_(watermark.View)
    {
        watermark_.View = &view;
    }
    ~TWatermarkViewLoan() { watermark_.View = own_; }
    TWatermarkViewLoan(const TWatermarkViewLoan&) = delete;
    TWatermarkViewLoan& operator=(const TWatermarkViewLoan&) = delete;

private:
    TWatermark& watermark_;
    TImageEnView* own_;
};

// "%.0n bytes": the size with the user's thousands separator and no decimals.
QString FileSizeText(int32_t size)
{
    return QLocale().toString(static_cast<double>(size), 'f', 0) + QStringLiteral(" bytes");
}

void PutOnClipboard(const QImage& picture)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setImage(picture);
}

}  // namespace

void TfrmMain::ConnectFrameGrabAndOutput()
{
    // Unique connections: connecting twice must not run a handler twice.
    const auto unique = Qt::UniqueConnection;
    connect(btnSnapshot, &QPushButton::clicked, this, &TfrmMain::btnSnapshotClick, unique);
    connect(btnSaveThumb, &QPushButton::clicked, this, &TfrmMain::btnSaveThumbClick, unique);
    connect(tbJPEGQuality, &QSlider::valueChanged, this, &TfrmMain::tbJPEGQualityChange, unique);
    connect(txtJPEGQuality, &QLineEdit::editingFinished, this, &TfrmMain::txtJPEGQualityExit, unique);
    connect(CopySnapShot1, &QAction::triggered, this, &TfrmMain::CopySnapShot1Click, unique);
    connect(CopyFullFrame1, &QAction::triggered, this, &TfrmMain::CopyFullFrame1Click, unique);
    tbJPEGQualityChange();
}

bool TfrmMain::SaveThumb(const QString& fileName)
{
    TImageEnView scratch;
    try {
        const int width = GetThumbWidth();
        const int height = GetThumbHeight();
        scratch.Assign(FullFrame);
        TrimAndCrop(scratch, width, height, ckbTrimthumb->isChecked(), ckbCropThumb->isChecked());
        ResampleToFit(scratch.Bitmap(), width, height, static_cast<TResampleFilter>(CurrentResampleFilter));
        scratch.Update();
        if (UserWatermark) {
            const TWatermarkViewLoan loan(*UserWatermark, scratch);
            UserWatermark->Render(true);
        }
        scratch.SetJpegQuality(tbJPEGQuality->value());
        scratch.SaveToFileJpeg(fileName);
        if (QFileInfo::exists(fileName)) {
            lblFileSize->setText(FileSizeText(FileSizeOf(fileName)));
            ImageThumb->LoadFromFile(fileName);
        } else {
            ImageThumb->Clear();
        }
        return true;
    } catch (const FileCreateError& error) {
        RouteMessage(error.message() + QStringLiteral("\r\nMake sure the folder or disk is not read only."));
    } catch (const std::exception& error) {
        RouteMessage(QStringLiteral("Error saving file: ") + QString::fromUtf8(error.what()));
    }
    return false;
}

void TfrmMain::btnSaveThumbClick()
{
    const std::optional<QString> fileName = platform::dialogs().saveFile(SaveDialog1);
    if (!fileName)
        return;
    SaveThumb(*fileName);
    const QFileInfo saved(*fileName);
    SaveDialog1.initialDir = saved.absolutePath();
    SaveDialog1.fileName = saved.fileName();
}

void TfrmMain::tbJPEGQualityChange()
{
    txtJPEGQuality->setText(QString::number(tbJPEGQuality->value()));
}

void TfrmMain::txtJPEGQualityExit()
{
    tbJPEGQuality->setValue(GetJPEGQuality());
    txtJPEGQuality->setText(QString::number(tbJPEGQuality->value()));
}

void TfrmMain::CopySnapShot1Click()
{
    PutOnClipboard(QImage(ImageSnapshot->Bitmap()));
}

// The frame as the renderer delivered it: own size and pixel format, nothing shaped.
void TfrmMain::CopyFullFrame1Click()
{
    QImage frame;
    GrabFrame(frame);
    PutOnClipboard(frame);
}
