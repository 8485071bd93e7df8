#include "platform/ComponentRegistry.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

using platform::ComponentClass;
using platform::ComponentRegistry;

class ComponentRegistryTest : public ::testing::Test {
protected:
    void SetUp() override { registry.clear(); }
    void TearDown() override { registry.clear(); }
    ComponentRegistry& registry = ComponentRegistry::instance();
};

TEST_F(ComponentRegistryTest, FindsClassesWithoutRegardToCase)
{
    registry.registerClass({"{AAAAAAAA-0000-0000-0000-00000000000A}", "Grabber", "/lib/a.so"});
    ASSERT_TRUE(registry.find("{aaaaaaaa-0000-0000-0000-00000000000a}").has_value());
    EXPECT_EQ(registry.find("{aaaaaaaa-0000-0000-0000-00000000000a}")->name, "Grabber");
    EXPECT_FALSE(registry.find("{BBBBBBBB-0000-0000-0000-00000000000B}").has_value());
}

TEST_F(ComponentRegistryTest, RegisteringAgainReplacesAndUnregisterRemoves)
{
    registry.registerClass({"{AAAAAAAA-0000-0000-0000-00000000000A}", "Old", "/lib/old.so"});
    registry.registerClass({"{BBBBBBBB-0000-0000-0000-00000000000B}", "Other", "/lib/b.so"});
    registry.registerClass({"{aaaaaaaa-0000-0000-0000-00000000000a}", "New", "/lib/new.so"});
    ASSERT_EQ(registry.all().size(), 2u);
    EXPECT_EQ(registry.find("{AAAAAAAA-0000-0000-0000-00000000000A}")->libraryPath, "/lib/new.so");
    registry.unregisterClass("{AAAAAAAA-0000-0000-0000-00000000000A}");
    ASSERT_EQ(registry.all().size(), 1u);
    EXPECT_EQ(registry.all()[0].name, "Other");
    registry.clear();
    EXPECT_TRUE(registry.all().empty());
}

TEST(ClassIdFromNameTest, StableUpperCaseIdsInBraces)
{
    const QRegularExpression form("^\\{[0-9A-F]{8}-[0-9A-F]{4}-5[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}\\}$");
    const QString id = platform::classIdFromName("h264");
    EXPECT_TRUE(form.match(id).hasMatch()) << id.toStdString();
    EXPECT_EQ(platform::classIdFromName("h264"), id);
    EXPECT_NE(platform::classIdFromName("hevc"), id);
    EXPECT_NE(platform::classIdFromName("H264"), id);
    // Pinned: ids handed out once must never change between versions.
    EXPECT_EQ(platform::classIdFromName("matroska,webm").toStdString(), "{4D4482B4-47B2-5A51-BF5A-5E08B5380D69}");
}

int functionInThisProgram()
{
    return 42;
}

TEST(LibraryPathOfTest, NamesTheSharedObjectOrProgramHoldingAnAddress)
{
    const QString libc = platform::libraryPathOf(reinterpret_cast<const void*>(&dlsym));
    EXPECT_TRUE(libc.startsWith('/')) << libc.toStdString();
    EXPECT_TRUE(libc.contains("libc.so")) << libc.toStdString();
    EXPECT_EQ(platform::libraryPathOf(reinterpret_cast<const void*>(&functionInThisProgram)),
              QCoreApplication::applicationFilePath());
    int onTheStack = 0;
    EXPECT_EQ(platform::libraryPathOf(&onTheStack), QString());
    EXPECT_EQ(platform::libraryPathOf(nullptr), QString());
}

}  // namespace
