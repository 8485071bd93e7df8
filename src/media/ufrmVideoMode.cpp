#include "media/ufrmVideoMode.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

TfrmVideoMode::TfrmVideoMode(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Select a Video Mode"));
    setFixedSize(313, 368);
    if (parent)
        setFont(parent->font());

    Bevel1 = new QFrame(this);
    Bevel1->setGeometry(8, 8, 297, 313);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Memo3 = addMemo(this, QRect(16, 16, 281, 73),
                    {QStringLiteral("Please select the video mode used to get screen captures."),
                     QStringLiteral("Not every method works on all systems."), QString(),
                     QStringLiteral("You may change this option in the future by selecting"),
                     QStringLiteral("\"Change Video Mode\" from the Tools menu."), QString()});

    rbStandard = new QRadioButton(QStringLiteral("Standard Renderer"), this);
    rbStandard->setGeometry(24, 120, 273, 17);
    Label1 = new QLabel(QStringLiteral("Works with most videos on most systems."), this);
    Label1->move(40, 138);
    Label1->adjustSize();

    rbColorSpaceConverter = new QRadioButton(QStringLiteral("Standard Renderer with Color Space Converter"), this);
    rbColorSpaceConverter->setGeometry(24, 173, 265, 17);
    Panel2 = new QFrame(this);
    Panel2->setGeometry(42, 191, 201, 44);
    Memo1 = addMemo(Panel2, Panel2->rect(),
                    {QStringLiteral("Works with even more videos."), QStringLiteral("May be slower on some systems")});

    rbVMR = new QRadioButton(QStringLiteral("Video Mixing Render 9 (Default, Recommended)"), this);
    rbVMR->setGeometry(24, 243, 273, 17);
    rbVMR->setChecked(true);
    Panel1 = new QFrame(this);
    Panel1->setGeometry(43, 261, 246, 52);
    Panel1->setEnabled(false);
    Memo2 = addMemo(Panel1, Panel1->rect(),
                    {QStringLiteral("Works on almost every video."),
                     QStringLiteral("Requires DirectX 9 and updated video drivers."),
                     QStringLiteral("May be slower on some systems.")});

    btnOK = new QPushButton(QStringLiteral("OK"), this);
    btnOK->setGeometry(79, 332, 75, 25);
    btnOK->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setGeometry(159, 332, 75, 25);
    connect(btnOK, &QPushButton::clicked, this, [this] {
        btnOKClick();
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QPlainTextEdit* TfrmVideoMode::addMemo(QWidget* parent, const QRect& geometry, const QStringList& lines)
{
    auto* memo = new QPlainTextEdit(lines.join(QLatin1Char('\n')), parent);
    memo->setGeometry(geometry);
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette palette = memo->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    memo->setPalette(palette);
    return memo;
}

void TfrmVideoMode::SelectVideoMode(bool vmr9Available, uint8_t& videoMode)
{
    if (!vmr9Available) {
        rbVMR->setEnabled(false);
        if (videoMode == 3)
            videoMode = 1;  // stands even if the dialog is cancelled
        // A greyed-out choice left checked would hand back a mode that cannot play.
        if (rbVMR->isChecked())
            rbStandard->setChecked(true);
    }
    QRadioButton* const byMode[] = {nullptr, rbStandard, rbColorSpaceConverter, rbVMR};
    if (videoMode >= 1 && videoMode <= 3)
        byMode[videoMode]->setChecked(true);
    videoMode_ = &videoMode;
    centreOnScreen();
    exec();
    videoMode_ = nullptr;
}

void TfrmVideoMode::btnOKClick()
{
    if (!videoMode_)
        return;
    if (rbStandard->isChecked())
        *videoMode_ = 1;
    else if (rbColorSpaceConverter->isChecked())
        *videoMode_ = 2;
    else if (rbVMR->isChecked())
        *videoMode_ = 3;
}

void TfrmVideoMode::centreOnScreen()
{
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}
