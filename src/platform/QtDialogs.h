#pragma once

#include "platform/Dialogs.h"

namespace platform {

// The real dialogs: QMessageBox, QFileDialog, QFontDialog, QColorDialog. Without a display
// (offscreen or minimal platform) nobody can answer, so none waits: a message or question is
// written to standard error and answered with the choice that changes nothing.
class QtDialogs : public Dialogs {
public:
    void message(const QString& text, const QString& caption = QString()) override;
    Answer askYesNo(const QString& text, const QString& caption = QString()) override;
    Answer askYesNoCancel(const QString& text, const QString& caption = QString()) override;
    std::optional<QString> openFile(const FileDialogOptions& options) override;
    std::optional<QString> saveFile(const FileDialogOptions& options) override;
    std::optional<QString> browseFolder(const QString& title, const QString& start) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<QString> openPicture(const QString& initialDir) override;
};

// True when no user can see a dialog (Qt's offscreen or minimal platform, or no GUI application).
bool isHeadless();

}  // namespace platform
