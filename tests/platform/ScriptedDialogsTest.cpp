#include "platform/QtDialogs.h"
#include "platform/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace {

using platform::Answer;
using platform::ScriptedDialogs;
using Kind = platform::ScriptedDialogs::Kind;

// Every file, folder, font, colour and picture chooser answers "nothing chosen".
void expectEveryChooserDeclines(platform::Dialogs& d)
{
    EXPECT_EQ(d.openFile({}), std::nullopt);
    EXPECT_EQ(d.saveFile({}), std::nullopt);
    EXPECT_EQ(d.browseFolder("", ""), std::nullopt);
    EXPECT_EQ(d.chooseFont(QFont()), std::nullopt);
    EXPECT_EQ(d.chooseColor(QColor()), std::nullopt);
    EXPECT_EQ(d.openPicture(""), std::nullopt);
}

TEST(ScriptedDialogsTest, RecordsEveryDialogInOrderWithItsCaption)
{
    ScriptedDialogs d;
    platform::FileDialogOptions options;
    options.title = "Open Video";
    options.initialDir = "/videos";
    options.filter = "Videos|*.avi";
    d.message("first", "Skorrel");
    d.askYesNo("second?", "Question");
    d.openFile(options);
    d.askYesNoCancel("third?");
    d.browseFolder("Pick a folder", "/out");
    d.chooseFont(QFont("DejaVu Sans", 24));
    d.chooseColor(Qt::red);
    d.openPicture("/pictures");

    ASSERT_EQ(d.shown().size(), 8u);
    const std::vector<Kind> kinds = {Kind::Message, Kind::YesNo,  Kind::OpenFile, Kind::YesNoCancel,
                                     Kind::BrowseFolder, Kind::Font, Kind::Color, Kind::Picture};
    for (size_t i = 0; i < kinds.size(); ++i)
        EXPECT_EQ(d.shown()[i].kind, kinds[i]) << i;
    EXPECT_EQ(d.texts(), QStringList({"first", "second?", "third?"}));
    EXPECT_EQ(d.shown()[0].caption, "Skorrel");
    EXPECT_EQ(d.shown()[1].caption, "Question");
    EXPECT_EQ(d.shown()[2].options.initialDir, "/videos");
    EXPECT_EQ(d.shown()[2].options.filter, "Videos|*.avi");
    EXPECT_EQ(d.shown()[4].options.initialDir, "/out");
    EXPECT_EQ(d.shown()[5].initialFont.family(), "DejaVu Sans");
    EXPECT_EQ(d.shown()[6].initialColor, QColor(Qt::red));
    EXPECT_EQ(d.shown()[7].options.initialDir, "/pictures");
}

TEST(ScriptedDialogsTest, WithNothingQueuedAnswersTheChoiceThatChangesNothing)
{
    ScriptedDialogs d;
    EXPECT_EQ(d.askYesNo("?"), Answer::No);
    EXPECT_EQ(d.askYesNoCancel("?"), Answer::Cancel);
    expectEveryChooserDeclines(d);
}

TEST(ScriptedDialogsTest, QueuedAnswersAreUsedInOrderPerKindOfDialog)
{
    ScriptedDialogs d;
    d.queueAnswer(Answer::Yes);
    d.queueAnswer(Answer::Cancel);
    d.queueOpenFile(QString("/videos/a.avi"));
    d.queueOpenFile(std::nullopt);
    d.queueOpenFile(QString("/videos/b.avi"));
    d.queueSaveFile(QString("/out/thumb.jpg"));
    d.queueFolder(QString("/out"));
    d.queueFont(QFont("DejaVu Serif"));
    d.queueColor(QColor(Qt::blue));
    d.queuePicture(QString("/pictures/logo.png"));

    EXPECT_EQ(d.askYesNo("?"), Answer::Yes);
    EXPECT_EQ(d.askYesNoCancel("?"), Answer::Cancel);
    EXPECT_EQ(d.askYesNo("?"), Answer::No);  // queue used up
    EXPECT_EQ(d.openFile({}), "/videos/a.avi");
    EXPECT_EQ(d.openFile({}), std::nullopt);  // a scripted cancel
    EXPECT_EQ(d.openFile({}), "/videos/b.avi");
    EXPECT_EQ(d.saveFile({}), "/out/thumb.jpg");
    EXPECT_EQ(d.browseFolder("", ""), "/out");
    EXPECT_EQ(d.chooseFont(QFont())->family(), "DejaVu Serif");
    EXPECT_EQ(d.chooseColor(QColor()), QColor(Qt::blue));
    EXPECT_EQ(d.openPicture(""), "/pictures/logo.png");
}

TEST(ScriptedDialogsTest, OnShownSeesEachDialogBeforeItIsAnswered)
{
    ScriptedDialogs d;
    QStringList seen;
    d.onShown = [&](const ScriptedDialogs::Shown& s) { seen << s.text; };
    d.message("a");
    d.askYesNo("b");
    EXPECT_EQ(seen, QStringList({"a", "b"}));
}

TEST(DialogsInUseTest, ScopedScriptedDialogsInstallAndRestore)
{
    platform::Dialogs* original = &platform::dialogs();
    {
        platform::ScopedScriptedDialogs outer;
        EXPECT_EQ(&platform::dialogs(), &outer);
        {
            platform::ScopedScriptedDialogs inner;
            platform::dialogs().message("to inner");
            EXPECT_EQ(inner.texts(), QStringList{"to inner"});
        }
        EXPECT_EQ(&platform::dialogs(), &outer);
        EXPECT_TRUE(outer.shown().empty());
    }
    EXPECT_EQ(&platform::dialogs(), original);
}

TEST(DialogsInUseTest, NullRestoresTheQtDialogs)
{
    ScriptedDialogs scripted;
    platform::Dialogs* previous = platform::setDialogs(&scripted);
    EXPECT_EQ(platform::setDialogs(nullptr), &scripted);
    EXPECT_NE(dynamic_cast<platform::QtDialogs*>(&platform::dialogs()), nullptr);
    platform::setDialogs(previous);
}

// Without a display nobody can answer: the Qt dialogs must not wait, and a text is not lost.
TEST(QtDialogsTest, HeadlessDialogsWriteToStandardErrorAndChangeNothing)
{
    ASSERT_TRUE(platform::isHeadless());
    platform::QtDialogs d;
    ::testing::internal::CaptureStderr();
    d.message("Unable to open the file.", "Skorrel");
    EXPECT_EQ(d.askYesNo("Use the mixing renderer?"), Answer::No);
    EXPECT_EQ(d.askYesNoCancel("Save changes?", "Skorrel"), Answer::Cancel);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Skorrel: Unable to open the file.\nUse the mixing renderer?\nSkorrel: Save changes?\n");
    expectEveryChooserDeclines(d);
}

}  // namespace
