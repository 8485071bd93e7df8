#include "app/uLibPivex.h"
#include "platform/ScriptedDialogs.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

class RecordingTarget : public TMessageTarget {
public:
    void ShowMessageText(const QString& text) override { texts << text; }
    QStringList texts;
};

class MessageRouteTest : public ::testing::Test {
protected:
    void TearDown() override { RestoreMessageRoute(); }
    platform::ScopedScriptedDialogs dialogs;
};

TEST_F(MessageRouteTest, DefaultRouteShowsAMessageBoxWithTheApplicationTitle)
{
    RouteMessage("Unable to open the file.");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown()[0].kind, platform::ScriptedDialogs::Kind::Message);
    EXPECT_EQ(dialogs.shown()[0].text, "Unable to open the file.");
    EXPECT_EQ(dialogs.shown()[0].caption, QGuiApplication::applicationDisplayName());
    EXPECT_FALSE(dialogs.shown()[0].caption.isEmpty());
}

TEST_F(MessageRouteTest, ARouteSetElsewhereReceivesTheMessagesInsteadOfTheBox)
{
    RecordingTarget worker;
    SetMessageRoute(&worker);
    EXPECT_EQ(CurrentMessageRoute(), &worker);
    RouteMessage("one");
    RouteMessage("two");
    EXPECT_EQ(worker.texts, QStringList({"one", "two"}));
    EXPECT_TRUE(dialogs.shown().empty());
}

TEST_F(MessageRouteTest, AnEmptyRouteDropsTheMessageAndRestoreBringsTheBoxBack)
{
    ClearMessageRoute();
    EXPECT_EQ(CurrentMessageRoute(), nullptr);
    RouteMessage("lost");
    EXPECT_TRUE(dialogs.shown().empty());

    RestoreMessageRoute();
    EXPECT_NE(CurrentMessageRoute(), nullptr);
    RouteMessage("shown");
    EXPECT_EQ(dialogs.texts(), QStringList{"shown"});
}

TEST_F(MessageRouteTest, DefaultShowMessageAlwaysUsesTheBox)
{
    RecordingTarget worker;
    SetMessageRoute(&worker);
    DefaultShowMessage("direct");
    EXPECT_EQ(dialogs.texts(), QStringList{"direct"});
    EXPECT_TRUE(worker.texts.isEmpty());
}

}  // namespace
