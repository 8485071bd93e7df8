// The layout reads cleanly: controls at their design places, inside their panels, not covering
// each other, every text fully shown.
#include "MainWindowFixture.h"

#include "thumbs/ImageEnView.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>

namespace {

// Direct child widgets that are laid out by hand (the tool bars' own parts are theirs).
QList<QWidget*> placedChildren(QWidget* parent)
{
    QList<QWidget*> result;
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (!child->isWindow() && child->isVisibleTo(parent))
            result << child;
    return result;
}

QString nameOf(const QWidget* w)
{
    if (const auto* label = qobject_cast<const QLabel*>(w))
        return QStringLiteral("label \"%1\"").arg(label->text());
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return QStringLiteral("button \"%1\"").arg(button->text().isEmpty() ? button->toolTip() : button->text());
    return QString::fromLatin1(w->metaObject()->className()) + " " + w->toolTip();
}

}  // namespace

TEST_F(MainWindowTest, DesignPlacesOfTheFixedControls)
{
    TfrmMain& w = open();
    const std::pair<QWidget*, QRect> places[] = {
        {w.txtVideoFileName, {358, 4, 320, 21}},  {w.btnOpen, {681, 8, 45, 17}},
        {w.ParentVideoPanel, {1, 26, 294, 262}},  {w.VideoPanel, {3, 2, 288, 256}},
        {w.pnlVideoControls, {4, 289, 289, 152}},
        {w.tbVideoSlider, {10, 56, 271, 25}},
    };
    for (const auto& [control, place] : places)
        EXPECT_EQ(control->geometry(), place) << nameOf(control).toStdString();
    EXPECT_EQ(w.VideoWindow->geometry(), w.VideoPanel->rect());
    EXPECT_EQ(w.ToolBar->pos(), QPoint(20, 118));
    EXPECT_EQ(w.ToolBar1->pos(), QPoint(185, 118));
}

TEST_F(MainWindowTest, ControlsDoNotOverlapAndStayInsideTheirPanels)
{
    TfrmMain& w = open();
    w.show();
    for (QWidget* container : {w.centralWidget(), static_cast<QWidget*>(w.pnlVideoControls),
                               static_cast<QWidget*>(w.pnlSnapshotControls), static_cast<QWidget*>(w.pnlSaveControls)}) {
        const QList<QWidget*> children = placedChildren(container);
        for (qsizetype i = 0; i < children.size(); ++i) {
            EXPECT_TRUE(container->rect().contains(children[i]->geometry()))
                << nameOf(children[i]).toStdString() << " leaves its panel";
            for (qsizetype j = i + 1; j < children.size(); ++j) {
                // The position slider lies on its decorative track by design.
                const bool trackPair = (children[i] == w.TrackBar1) != (children[j] == w.TrackBar1) &&
                                       (children[i] == w.tbVideoSlider || children[j] == w.tbVideoSlider);
                if (!trackPair) {
                    EXPECT_FALSE(children[i]->geometry().intersects(children[j]->geometry()))
                        << nameOf(children[i]).toStdString() << " overlaps " << nameOf(children[j]).toStdString();
                }
            }
        }
    }
}

TEST_F(MainWindowTest, TextsAreShownInFull)
{
    TfrmMain& w = open();
    w.show();
    for (QLabel* label : w.findChildren<QLabel*>())
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
    for (QCheckBox* box : {w.ckbTrimthumb, w.ckbCropThumb})
        EXPECT_GE(box->width(), box->sizeHint().width()) << box->text().toStdString();
    for (QPushButton* button : w.findChildren<QPushButton*>())
        EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()) + 4)
            << button->text().toStdString();
    EXPECT_EQ(w.font().pixelSize(), 11);
}

TEST_F(MainWindowTest, TextsAndHintsOfTheControls)
{
    TfrmMain& w = open();
    EXPECT_EQ(w.windowTitle(), "Skorrel! Video Screen Capture");
    for (auto [label, text] : {std::pair{w.lblVideoDuration, "00:00:00:0000"}, {w.lblPosition, "00:00:00:0000"},
                               {w.lblWidth, "0"}, {w.lblHeight, "0"}, {w.lblFileSize, "0KB"}})
        EXPECT_EQ(label->text(), text);
    EXPECT_EQ(w.btnSnapshot->text(), "Skorrel!");
    EXPECT_EQ(w.btnSaveThumb->text(), "Save Thumbnail");
    for (auto [tool, hint] : {std::pair{w.btnPlay, "Play"}, {w.ToolButton3, "Start"}, {w.ToolButton2, "End"},
                              {w.btnBack, "Skip Backwards"}, {w.btnForward, "Skip Forwards"}})
        EXPECT_EQ(tool->toolTip(), hint);
    EXPECT_TRUE(w.txtVideoFileName->isReadOnly());
    EXPECT_FALSE(w.TrackBar1->isEnabled());
    EXPECT_EQ(w.ImageList1.size(), 11);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
}
