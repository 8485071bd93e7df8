// The video mode dialog: its rules for the mixing renderer's availability, OK and Cancel, and the
// radio state it keeps between showings.
#include "media/ufrmVideoMode.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Shows the dialog; `inside` runs while it is up (it must close it).
uint8_t select(TfrmVideoMode& dialog, bool available, uint8_t mode, const std::function<void()>& inside)
{
    QTimer::singleShot(0, &dialog, inside);
    dialog.SelectVideoMode(available, mode);
    return mode;
}

TEST(VideoModeDialog, LaysOutItsChoices)
{
    TfrmVideoMode dialog;
    EXPECT_EQ(dialog.windowTitle(), "Select a Video Mode");
    EXPECT_EQ(dialog.size(), QSize(313, 368));
    EXPECT_EQ(dialog.rbStandard->geometry(), QRect(24, 120, 273, 17));
    EXPECT_EQ(dialog.rbColorSpaceConverter->text(), "Standard Renderer with Color Space Converter");
    EXPECT_EQ(dialog.rbVMR->text(), "Video Mixing Render 9 (Default, Recommended)");
    EXPECT_EQ(dialog.Label1->text(), "Works with most videos on most systems.");
    EXPECT_EQ(dialog.Memo3->toPlainText().split('\n').at(4), "\"Change Video Mode\" from the Tools menu.");
    EXPECT_TRUE(dialog.Memo2->isReadOnly());
    EXPECT_FALSE(dialog.Panel1->isEnabled());
    EXPECT_TRUE(dialog.btnOK->isDefault());
    EXPECT_EQ(dialog.btnCancel->geometry(), QRect(159, 332, 75, 25));
}

TEST(VideoModeDialog, OkTakesTheCheckedChoiceAndCancelKeepsTheMode)
{
    struct Case {
        const char* name;
        uint8_t mode;
        std::function<void(TfrmVideoMode&)> inside;
        uint8_t expected;
    };
    const Case cases[] = {
        {"first showing: mixing renderer checked", 0, [](TfrmVideoMode& d) { d.btnOK->click(); }, 3},
        {"the mode in use is checked", 2, [](TfrmVideoMode& d) { d.btnOK->click(); }, 2},
        {"another choice", 3, [](TfrmVideoMode& d) { d.rbStandard->click(); d.btnOK->click(); }, 1},
        {"cancel", 2, [](TfrmVideoMode& d) { d.rbVMR->click(); d.btnCancel->click(); }, 2},
        {"closing the window", 1, [](TfrmVideoMode& d) { d.rbVMR->click(); d.close(); }, 1},
    };
    for (const Case& c : cases) {
        TfrmVideoMode dialog;
        EXPECT_EQ(select(dialog, true, c.mode, [&] { c.inside(dialog); }), c.expected) << c.name;
    }
}

TEST(VideoModeDialog, WithoutTheMixingRendererItsChoiceIsGreyedAndMode3BecomesStandard)
{
    TfrmVideoMode dialog;
    bool standardChecked = false;
    const uint8_t mode = select(dialog, false, 3, [&] {
        standardChecked = dialog.rbStandard->isChecked();
        dialog.btnCancel->click();
    });
    EXPECT_EQ(mode, 1) << "the change stands although the user cancelled";
    EXPECT_TRUE(standardChecked);
    EXPECT_FALSE(dialog.rbVMR->isEnabled());
    // Later showings keep it greyed, even when it would be available.
    select(dialog, true, 1, [&] { dialog.btnOK->click(); });
    EXPECT_FALSE(dialog.rbVMR->isEnabled());
}

TEST(VideoModeDialog, ModeZeroShowsTheRadioStateOfTheLastUse)
{
    TfrmVideoMode dialog;
    select(dialog, true, 1, [&] { dialog.rbColorSpaceConverter->click(); dialog.btnCancel->click(); });
    EXPECT_EQ(select(dialog, true, 0, [&] { dialog.btnOK->click(); }), 2);
}

TEST(VideoModeDialog, ModeZeroWithoutTheMixingRendererNeverHandsBackMode3)
{
    TfrmVideoMode dialog;  // the mixing renderer is checked when the dialog is created
    EXPECT_EQ(select(dialog, false, 0, [&] { dialog.btnOK->click(); }), 1);
}

}  // namespace
