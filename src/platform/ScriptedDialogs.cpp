#include "platform/ScriptedDialogs.h"

namespace platform {

namespace {

// The next scripted value, or `unanswered` when the test queued none.
template <typename T>
T next(std::deque<T>& queue, T unanswered)
{
    if (queue.empty())
        return unanswered;
    const T value = queue.front();
    queue.pop_front();
    return value;
}

}  // namespace

QStringList ScriptedDialogs::texts() const
{
    QStringList result;
    for (const Shown& s : shown_) {
        if (s.kind == Kind::Message || s.kind == Kind::YesNo || s.kind == Kind::YesNoCancel)
            result << s.text;
    }
    return result;
}

void ScriptedDialogs::record(Shown shown)
{
    shown_.push_back(std::move(shown));
    if (onShown)
        onShown(shown_.back());
}

void ScriptedDialogs::message(const QString& text, const QString& caption)
{
    record({Kind::Message, text, caption, {}});
}

Answer ScriptedDialogs::askYesNo(const QString& text, const QString& caption)
{
    record({Kind::YesNo, text, caption, {}});
    return next(answers_, Answer::No);
}

Answer ScriptedDialogs::askYesNoCancel(const QString& text, const QString& caption)
{
    record({Kind::YesNoCancel, text, caption, {}});
    return next(answers_, Answer::Cancel);
}

std::optional<QString> ScriptedDialogs::openFile(const FileDialogOptions& options)
{
    record({Kind::OpenFile, options.title, QString(), options});
    return next(openFiles_, std::optional<QString>());
}

std::optional<QString> ScriptedDialogs::saveFile(const FileDialogOptions& options)
{
    record({Kind::SaveFile, options.title, QString(), options});
    return next(saveFiles_, std::optional<QString>());
}

std::optional<QString> ScriptedDialogs::browseFolder(const QString& title, const QString& start)
{
    FileDialogOptions options;
    options.title = title;
    options.initialDir = start;
    record({Kind::BrowseFolder, title, QString(), options});
    return next(folders_, std::optional<QString>());
}

std::optional<QFont> ScriptedDialogs::chooseFont(const QFont& initial)
{
    record({Kind::Font, QString(), QString(), {}, initial});
    return next(fonts_, std::optional<QFont>());
}

std::optional<QColor> ScriptedDialogs::chooseColor(const QColor& initial)
{
    record({Kind::Color, QString(), QString(), {}, {}, initial});
    return next(colors_, std::optional<QColor>());
}

std::optional<QString> ScriptedDialogs::openPicture(const QString& initialDir)
{
    FileDialogOptions options;
    options.initialDir = initialDir;
    record({Kind::Picture, QString(), QString(), options});
    return next(pictures_, std::optional<QString>());
}

}  // namespace platform
