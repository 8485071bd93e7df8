// The thumbnail box fields and the resample filter list of the main window.
#include "app/window/MainWindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

struct BoxCase {
    const char* typed;
    bool videoOpen;
    const char* shownWidth;
    const char* shownHeight;
};

}  // namespace

TEST_F(MainWindowTest, ThumbBoxIsClampedWhenLeftWithAVideoOpen)
{
    const BoxCase cases[] = {
        {"5", true, "10", "10"},
        {"5000", true, "1280", "720"},
        {"abc", true, "320", "180"},
        {"5000", false, "5000", "5000"},
    };
    for (const BoxCase& c : cases) {
        TfrmMain& w = c.videoOpen ? openWithVideo(640, 360) : open();
        for (QLineEdit* box : {w.txtThumbWidth, w.txtThumbHeight}) {
            box->setText(QString::fromLatin1(c.typed));
            QTest::keyClick(box, Qt::Key_Return);  // finishing the edit runs the exit handler
        }
        EXPECT_EQ(w.txtThumbWidth->text(), QString::fromLatin1(c.shownWidth)) << c.typed;
        EXPECT_EQ(w.txtThumbHeight->text(), QString::fromLatin1(c.shownHeight)) << c.typed;
    }
}

TEST_F(MainWindowTest, FilterListSetsTheCurrentFilterByExactName)
{
    TfrmMain& w = open();
    EXPECT_EQ(w.CurrentResampleFilter, 5) << "Lanczos3 by default";
    w.cmbResampleFilter->setCurrentIndex(w.cmbResampleFilter->findText(QStringLiteral("Bicubic")));
    EXPECT_EQ(w.CurrentResampleFilter, 11);
    w.cmbResampleFilter->setCurrentIndex(-1);
    EXPECT_EQ(w.CurrentResampleFilter, 11) << "no selection keeps the filter";
    w.cmbResampleFilter->setCurrentIndex(0);
    EXPECT_EQ(w.CurrentResampleFilter, 0);
}

