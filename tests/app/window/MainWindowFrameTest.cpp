// The main window's frame: command enabling, menu wiring, resizing and closing.
#include "MainWindowFixture.h"

#include "app/ufrmMainApplication.h"
#include "platform/AppError.h"
#include "thumbs/ImageEnView.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace {

struct EnablingCase {
    const char* state;
    bool videoOpen;
    bool snapshot;
};

// Expected enabled state of every command in each column of the table.
void expectColumn(TfrmMain& w, bool videoOpen, bool snapshot)
{
    EXPECT_EQ(w.Skorrel1->isEnabled(), videoOpen);
    EXPECT_EQ(w.btnSnapshot->isEnabled(), videoOpen);
    EXPECT_EQ(w.CopyFullFrame1->isEnabled(), videoOpen);
    EXPECT_EQ(w.ShowFilters1->isEnabled(), videoOpen);
    EXPECT_EQ(w.ShowFilterTree1->isEnabled(), videoOpen);
    EXPECT_EQ(w.Save1->isEnabled(), snapshot);
    EXPECT_EQ(w.CopySnapShot1->isEnabled(), snapshot);
    EXPECT_EQ(w.btnSaveThumb->isEnabled(), snapshot);
    // Transport stays enabled in every state.
    EXPECT_TRUE(w.btnPlay->isEnabled());
    EXPECT_TRUE(w.btnBack->isEnabled());
    EXPECT_TRUE(w.btnForward->isEnabled());
}

}  // namespace

TEST_F(MainWindowTest, EnablingFollowsTheState)
{
    TfrmMain& w = open();
    SCOPED_TRACE("no video");
    expectColumn(w, false, false);

    w.SetVideoOpen(true);
    {
        SCOPED_TRACE("video open");
        expectColumn(w, true, false);
    }
    w.ImageSnapshot->Assign(QImage(8, 8, QImage::Format_BGR888));
    w.ImageSnapshot->Bitmap().fill(Qt::red);
    w.SetSnapshotAvailable(true);
    {
        SCOPED_TRACE("snapshot present");
        expectColumn(w, true, true);
    }
    // Opening another video starts from "no video" and clears the preview.
    w.SetVideoOpen(false);
    {
        SCOPED_TRACE("closed again");
        expectColumn(w, false, false);
    }
    EXPECT_FALSE(w.SnapshotAvailable);
    EXPECT_EQ(w.ImageSnapshot->Bitmap().pixelColor(3, 3), w.ImageSnapshot->Background());
}

TEST_F(MainWindowTest, MenuItemsClickTheirButtons)
{
    TfrmMain& w = openWithVideo();
    w.SetSnapshotAvailable(true);
    for (auto [item, button] : {std::pair{w.Save1, w.btnSaveThumb}, {w.Skorrel1, w.btnSnapshot}}) {
        QSignalSpy clicked(button, &QPushButton::clicked);
        item->trigger();
        EXPECT_EQ(clicked.count(), 1) << item->text().toStdString();
    }
}

TEST_F(MainWindowTest, ShortcutsOfTheMenu)
{
    TfrmMain& w = open();
    EXPECT_EQ(w.Open1->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
    EXPECT_EQ(w.Save1->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    EXPECT_EQ(w.Skorrel1->shortcut(), QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_EQ(w.CopySnapShot1->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
    EXPECT_EQ(w.CopyFullFrame1->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
    EXPECT_TRUE(w.Exit1->shortcut().isEmpty());
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST_F(MainWindowTest, OnlineSupportOpensTheSupportPageInTheBrowser)
{
    UrlCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    open().OnlineSupport1->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(browser.opened.size(), 1);
    EXPECT_TRUE(browser.opened[0].isValid());
    EXPECT_FALSE(browser.opened[0].host().isEmpty());
}

// ---- Resizing ----

namespace {

// The geometry the resize rules give for a client area of `client`.
struct Expected {
    QRect snapshot, thumb, snapshotControls, saveControls;
};

Expected fromRules(const TfrmMain& w, QSize client)
{
    const int free = client.width() - (w.ParentVideoPanel->x() + w.ParentVideoPanel->width() + 15);
    const int width = free / 2 + 3;
    const int height = client.height() - (52 + 85 + 3);
    const int panelTop = 52 + height + 3;
    return {QRect(298, 52, width, height), QRect(298 + width + 3, 52, width, height),
            QRect(298 + width - 240, panelTop, 240, 85), QRect(298 + 2 * width + 3 - 240, panelTop, 240, 85)};
}

}  // namespace

TEST_F(MainWindowTest, ResizeRulesPlaceTheImagesAndTheirPanels)
{
    TfrmMain& w = open();
    w.show();
    for (QSize size : {QSize(820, 480), QSize(1201, 520)}) {
        w.resize(size);
        ASSERT_TRUE(testenv::waitUntil([&] { return w.size() == size; })) << size.width();
        const QSize client = w.centralWidget()->size();
        const Expected e = fromRules(w, client);
        EXPECT_EQ(w.ImageSnapshot->geometry(), e.snapshot) << size.width();
        EXPECT_EQ(w.ImageThumb->geometry(), e.thumb) << size.width();
        EXPECT_EQ(w.pnlSnapshotControls->geometry(), e.snapshotControls) << size.width();
        EXPECT_EQ(w.pnlSaveControls->geometry(), e.saveControls) << size.width();
        // The video area and the transport panel keep their design place.
        EXPECT_EQ(w.ParentVideoPanel->geometry(), QRect(1, 26, 294, 262));
        EXPECT_EQ(w.pnlVideoControls->geometry(), QRect(4, 289, 289, 152));
    }
}

TEST_F(MainWindowTest, ResizeConstraintsFollowThePanels)
{
    TfrmMain& w = open();
    w.show();
    const QSize nonClient = w.size() - w.centralWidget()->size();
    EXPECT_EQ(nonClient.width(), 0);  // no frame of its own on this platform; the menu bar is on top
    EXPECT_EQ(w.minimumWidth(), nonClient.width() + 294 + 240 + 240 + 20);
    EXPECT_EQ(w.minimumHeight(), nonClient.height() + 289 + 152 + 5);
    EXPECT_EQ(w.maximumHeight(), nonClient.height() + 289 + 152 + 85 + 5);
    EXPECT_EQ(w.maximumWidth(), QWIDGETSIZE_MAX);

    w.resize(300, 100);
    EXPECT_EQ(w.size(), w.minimumSize());
    w.resize(2000, 2000);
    EXPECT_EQ(w.size(), QSize(2000, w.maximumHeight()));
}

// ---- Closing ----

TEST_F(MainWindowTest, CloseBoxRunsTheExitPathAndDestructionWritesTheSettings)
{
    const bool quitOnClose = QApplication::quitOnLastWindowClosed();
    QApplication::setQuitOnLastWindowClosed(false);  // only "E&xit" may end the loop here
    TfrmMain& w = open();
    w.show();
    EXPECT_EQ(runMessageLoop([&] { w.close(); }), 0);
    QApplication::setQuitOnLastWindowClosed(quitOnClose);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(settingsText().isEmpty());

    destroy();
    EXPECT_EQ(setupValue(QStringLiteral("WindowWidth")), "798");
    EXPECT_EQ(setupValue(QStringLiteral("WindowHeight")), "497");
    EXPECT_NE(setupValue(QStringLiteral("VideoMode")), "<absent>");
}

TEST_F(MainWindowTest, ExitItemEndsTheMessageLoop)
{
    TfrmMain& w = open();
    EXPECT_EQ(runMessageLoop([&] { w.Exit1->trigger(); }), 0);
}

// ---- Errors no handler caught ----

class FailingHandler : public QObject {
public:
    int calls = 0;
    void fail()
    {
        ++calls;
        throw AppError(QStringLiteral("handler failed"));
    }
};

TEST_F(MainWindowTest, ErrorOfAConnectedHandlerIsShownEachTime)
{
    FailingHandler handler;
    QAction action;
    ConnectGuarded(&action, &QAction::triggered, &handler, &FailingHandler::fail);
    action.trigger();
    action.trigger();
    EXPECT_EQ(handler.calls, 2);
    EXPECT_EQ(dialogs.texts(), QStringList({"handler failed", "handler failed"}));
}

TEST_F(MainWindowTest, ErrorRaisedByAHandlerIsShownAndTheProgramGoesOn)
{
    RunGuarded([] { throw AppError(QStringLiteral("Unable to write to /x/Skorrel.ini")); });
    RunGuarded([] { throw std::runtime_error("plain failure"); });
    bool ranAfter = false;
    RunGuarded([&] { ranAfter = true; });
    EXPECT_TRUE(ranAfter);
    EXPECT_EQ(dialogs.texts(), QStringList({"Unable to write to /x/Skorrel.ini", "plain failure"}));
}

#include "MainWindowFrameTest.moc"
