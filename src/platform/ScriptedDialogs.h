#pragma once

#include "platform/Dialogs.h"

#include <deque>
#include <functional>
#include <vector>

namespace platform {

// Dialogs for tests: records every dialog shown, in order, and answers from queues the test fills.
// With nothing queued it answers the choice that changes nothing (Ok, No, Cancel, no file...), so a
// test never blocks. Main thread only, like the dialogs it replaces.
class ScriptedDialogs : public Dialogs {
public:
    enum class Kind { Message, YesNo, YesNoCancel, OpenFile, SaveFile, BrowseFolder, Font, Color, Picture };

    struct Shown {
        Kind kind;
        QString text;                // message or question text; the title of a file or folder dialog
        QString caption;
        FileDialogOptions options;   // file dialogs; initialDir also for folder and picture dialogs
        QFont initialFont = {};      // font dialog
        QColor initialColor = {};    // colour dialog
    };

    // Answers, used in order. A queued std::nullopt answers "cancelled" for that one dialog.
    void queueAnswer(Answer answer) { answers_.push_back(answer); }
    void queueOpenFile(std::optional<QString> fileName) { openFiles_.push_back(std::move(fileName)); }
    void queueSaveFile(std::optional<QString> fileName) { saveFiles_.push_back(std::move(fileName)); }
    void queueFolder(std::optional<QString> folder) { folders_.push_back(std::move(folder)); }
    void queueFont(std::optional<QFont> font) { fonts_.push_back(std::move(font)); }
    void queueColor(std::optional<QColor> color) { colors_.push_back(std::move(color)); }
    void queuePicture(std::optional<QString> fileName) { pictures_.push_back(std::move(fileName)); }

    const std::vector<Shown>& shown() const { return shown_; }
    // Texts of the messages and questions, in order.
    QStringList texts() const;
    void clearShown() { shown_.clear(); }

    // Called after a dialog has been recorded and before it answers (e.g. to check state then).
    std::function<void(const Shown&)> onShown;

    void message(const QString& text, const QString& caption = QString()) override;
    Answer askYesNo(const QString& text, const QString& caption = QString()) override;
    Answer askYesNoCancel(const QString& text, const QString& caption = QString()) override;
    std::optional<QString> openFile(const FileDialogOptions& options) override;
    std::optional<QString> saveFile(const FileDialogOptions& options) override;
    std::optional<QString> browseFolder(const QString& title, const QString& start) override;
    std::optional<QFont> chooseFont(const QFont& initial) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;
    std::optional<QString> openPicture(const QString& initialDir) override;

private:
    void record(Shown shown);

    std::deque<Answer> answers_;
    std::deque<std::optional<QString>> openFiles_;
    std::deque<std::optional<QString>> saveFiles_;
    std::deque<std::optional<QString>> folders_;
    std::deque<std::optional<QFont>> fonts_;
    std::deque<std::optional<QColor>> colors_;
    std::deque<std::optional<QString>> pictures_;
    std::vector<Shown> shown_;
};

// Scripted dialogs installed for the lifetime of the object; the previous dialogs come back after.
class ScopedScriptedDialogs : public ScriptedDialogs {
public:
    ScopedScriptedDialogs() : previous_(setDialogs(this)) {}
    ~ScopedScriptedDialogs() override { setDialogs(previous_); }
    ScopedScriptedDialogs(const ScopedScriptedDialogs&) = delete;
    ScopedScriptedDialogs& operator=(const ScopedScriptedDialogs&) = delete;

private:
    Dialogs* previous_;
};

}  // namespace platform
