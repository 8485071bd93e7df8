#include "app/uLibPivex.h"
#include "platform/ComponentRegistry.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using platform::ComponentRegistry;

class GetInprocServerPathTest : public ::testing::Test {
protected:
    void SetUp() override { ComponentRegistry::instance().clear(); }
    void TearDown() override { ComponentRegistry::instance().clear(); }
    static void add(const QString& id, const QString& path)
    {
        ComponentRegistry::instance().registerClass({id, QStringLiteral("test filter"), path});
    }
    const QString id = QStringLiteral("{C1F400A0-3F08-11D3-9F0B-006008039E37}");
};

TEST_F(GetInprocServerPathTest, ReadsTheRegisteredLibraryPath)
{
    add(id, "/usr/lib/x86_64-linux-gnu/libavcodec.so.59");
    EXPECT_EQ(GetInprocServerPath(id), "/usr/lib/x86_64-linux-gnu/libavcodec.so.59");
    EXPECT_EQ(GetInprocServerPath(id.toLower()), "/usr/lib/x86_64-linux-gnu/libavcodec.so.59");
}

TEST_F(GetInprocServerPathTest, UnknownWhenAbsentOrEmpty)
{
    EXPECT_EQ(GetInprocServerPath(id), "Unknown");
    EXPECT_EQ(GetInprocServerPath(QString()), "Unknown");
    add(id, QString());
    EXPECT_EQ(GetInprocServerPath(id), "Unknown");
}

TEST_F(GetInprocServerPathTest, APathThatDoesNotFitTheReadBufferIsUnknown)
{
    const QString fits = "/" + QString(1022, u'a');  // 1023 bytes and the terminating zero
    add(id, fits);
    EXPECT_EQ(GetInprocServerPath(id), fits);
    add(id, fits + "b");
    EXPECT_EQ(GetInprocServerPath(id), "Unknown");
    add(id, "/" + QString(600, QChar(0x00E9)));  // 600 characters, 1201 bytes
    EXPECT_EQ(GetInprocServerPath(id), "Unknown");
}

class UnregisterInprocServerTest : public ::testing::Test {
protected:
    void SetUp() override { qputenv("SKORREL_TEST_UNREGISTER_LOG", logPath().toLocal8Bit()); }
    void TearDown() override { qunsetenv("SKORREL_TEST_UNREGISTER_LOG"); }
    QString logPath() const { return dir.filePath("unregister.log"); }
    QByteArray log() const
    {
        QFile file(logPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

TEST_F(UnregisterInprocServerTest, CallsTheLibrarysDllUnregisterServer)
{
    UnregisterInprocServer(QStringLiteral(SKORREL_TEST_UNREGISTER_LIB));
    EXPECT_EQ(log(), "unregistered\n");
    UnregisterInprocServer(QStringLiteral(SKORREL_TEST_UNREGISTER_LIB));  // loaded and freed each time
    EXPECT_EQ(log(), "unregistered\nunregistered\n");
}

TEST_F(UnregisterInprocServerTest, SwallowsEveryFailure)
{
    QFile notALibrary(dir.filePath("filter.ax"));
    ASSERT_TRUE(notALibrary.open(QIODevice::WriteOnly));
    notALibrary.write("MZ this is no shared object");
    notALibrary.close();

    const QStringList paths = {QStringLiteral(SKORREL_TEST_NO_UNREGISTER_LIB), notALibrary.fileName(),
                               dir.filePath("missing.so"), dir.path(), QString(), "Unknown",
                               QFileInfo(QStringLiteral(SKORREL_TEST_UNREGISTER_LIB)).fileName()};
    for (const QString& path : paths)
        UnregisterInprocServer(path);
    EXPECT_EQ(log(), "");  // a bare name is never looked up in the library search path
}

}  // namespace
