#include "app/IniFile.h"
#include "app/SettingsLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Sets (or, with a null value, removes) an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : name_(name), had_(qEnvironmentVariableIsSet(name)),
        old_(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value.toLocal8Bit());
    }
    ~ScopedEnv()
    {
        if (had_)
            qputenv(name_, old_);
        else
            qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

class SettingsLocationTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScopedEnv noNamedFile{"SKORREL_INI", QString()};
    ScopedEnv config{"XDG_CONFIG_HOME", dir.filePath("config")};
};

TEST_F(SettingsLocationTest, TheEnvironmentNamesTheFileOutright)
{
    ScopedEnv named("SKORREL_INI", dir.filePath("elsewhere/My.ini"));
    EXPECT_EQ(SettingsFilePathFor(dir.path()), dir.filePath("elsewhere/My.ini"));
    EXPECT_EQ(SettingsFilePath(), dir.filePath("elsewhere/My.ini"));
}

TEST_F(SettingsLocationTest, ARelativeNameIsMadeAbsolute)
{
    ScopedEnv named("SKORREL_INI", "relative.ini");
    const QString startDir = QDir::currentPath();
    QDir::setCurrent(dir.path());
    EXPECT_EQ(SettingsFilePathFor(dir.path()), dir.filePath("relative.ini"));
    QDir::setCurrent(startDir);
}

TEST_F(SettingsLocationTest, BesideTheProgramWhenItsFolderIsWritable)
{
    const QString program = dir.filePath("bin");
    ASSERT_TRUE(QDir().mkpath(program));
    EXPECT_EQ(SettingsFilePathFor(program), QDir(program).filePath("Skorrel.ini"));
    EXPECT_TRUE(QDir(program).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));  // the probe is gone
    EXPECT_EQ(SettingsFilePath(), QDir(QCoreApplication::applicationDirPath()).filePath("Skorrel.ini"));
}

TEST_F(SettingsLocationTest, InTheUserConfigFolderWhenTheProgramFolderIsNotWritable)
{
    QFile notAFolder(dir.filePath("bin"));
    ASSERT_TRUE(notAFolder.open(QIODevice::WriteOnly));
    const QString expected = dir.filePath("config/skorrel/Skorrel.ini");
    for (const QString& program : {notAFolder.fileName(), dir.filePath("missing/bin"), QString()}) {
        EXPECT_EQ(SettingsFilePathFor(program), expected) << program.toStdString();
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("config/skorrel")).isDir());
}

TEST_F(SettingsLocationTest, DefaultConfigFolderIsDotConfigInHome)
{
    ScopedEnv home("HOME", dir.filePath("home"));
    for (const QString& xdg : {QString(), QString(""), QString("relative/config")}) {
        ScopedEnv config("XDG_CONFIG_HOME", xdg);
        EXPECT_EQ(SettingsFilePathFor(dir.filePath("missing")), dir.filePath("home/.config/skorrel/Skorrel.ini"))
            << xdg.toStdString();
    }
}

TEST_F(SettingsLocationTest, TheChosenLocationCanBeWrittenAtOnce)
{
    TIniFile ini(SettingsFilePathFor(dir.filePath("missing")));
    ini.WriteInteger("Setup", "VideoMode", 2);
    EXPECT_EQ(TIniFile(dir.filePath("config/skorrel/Skorrel.ini")).ReadInteger("Setup", "VideoMode", 3), 2);
}

}  // namespace
