#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace platform {

enum class Answer { Ok, Yes, No, Cancel };

// Options of an open or save file dialog. The filter uses the "Label|*.a;*.b|Label|*.*" form.
struct FileDialogOptions {
    QString title;
    QString filter;
    QString initialDir;
    QString fileName;
    QString defaultExt;  // without the dot
    bool promptOverwrite = false;
};

// Every modal question of the program goes through this interface, so tests script the answers
// and a headless run never waits on a box nobody can see.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual void message(const QString& text, const QString& caption = QString()) = 0;
    virtual Answer askYesNo(const QString& text, const QString& caption = QString()) = 0;
    virtual Answer askYesNoCancel(const QString& text, const QString& caption = QString()) = 0;
    virtual std::optional<QString> openFile(const FileDialogOptions& options) = 0;
    virtual std::optional<QString> saveFile(const FileDialogOptions& options) = 0;
    virtual std::optional<QString> browseFolder(const QString& title, const QString& start) = 0;
    virtual std::optional<QFont> chooseFont(const QFont& initial) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;
    virtual std::optional<QString> openPicture(const QString& initialDir) = 0;
};

// The program-wide dialogs in use (the Qt ones unless replaced); never null.
Dialogs& dialogs();
// Replaces the dialogs in use and returns the previous ones; nullptr restores the Qt dialogs.
Dialogs* setDialogs(Dialogs* replacement);

}  // namespace platform
