#include "platform/QtDialogs.h"

#include "platform/FileFilter.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QImageReader>
#include <QMessageBox>
#include <QStringList>
#include <cstdio>

namespace platform {

namespace {

QWidget* parentWindow()
{
    return QApplication::activeWindow();
}

// Writes what a headless run cannot show, so the text is not lost.
void toStandardError(const QString& caption, const QString& text)
{
    const QString line = caption.isEmpty() ? text : caption + QStringLiteral(": ") + text;
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
    std::fflush(stderr);
}

Answer askButtons(const QString& text, const QString& caption, QMessageBox::StandardButtons buttons,
                  Answer unanswered)
{
    if (isHeadless()) {
        toStandardError(caption, text);
        return unanswered;
    }
    QMessageBox box(QMessageBox::Question, caption, text, buttons, parentWindow());
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return unanswered;
    }
}

QString startPath(const FileDialogOptions& options)
{
    if (options.fileName.isEmpty())
        return options.initialDir;
    if (options.initialDir.isEmpty() || QDir::isAbsolutePath(options.fileName))
        return options.fileName;
    return QDir(options.initialDir).filePath(options.fileName);
}

std::optional<QString> runFileDialog(const FileDialogOptions& options, QFileDialog::AcceptMode mode)
{
    if (isHeadless())
        return std::nullopt;
    QFileDialog dialog(parentWindow(), options.title, startPath(options), toQtNameFilter(options.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(options.defaultExt);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.promptOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QString pictureFilter()
{
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return QStringLiteral("Pictures|%1|All files|*.*").arg(patterns.join(QLatin1Char(';')));
}

}  // namespace

bool isHeadless()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return true;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void QtDialogs::message(const QString& text, const QString& caption)
{
    if (isHeadless()) {
        toStandardError(caption, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parentWindow());
    box.exec();
}

Answer QtDialogs::askYesNo(const QString& text, const QString& caption)
{
    return askButtons(text, caption, QMessageBox::Yes | QMessageBox::No, Answer::No);
}

Answer QtDialogs::askYesNoCancel(const QString& text, const QString& caption)
{
    return askButtons(text, caption, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, Answer::Cancel);
}

std::optional<QString> QtDialogs::openFile(const FileDialogOptions& options)
{
    return runFileDialog(options, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFile(const FileDialogOptions& options)
{
    return runFileDialog(options, QFileDialog::AcceptSave);
}

std::optional<QString> QtDialogs::browseFolder(const QString& title, const QString& start)
{
    if (isHeadless())
        return std::nullopt;
    const QString folder = QFileDialog::getExistingDirectory(parentWindow(), title, start);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<QFont> QtDialogs::chooseFont(const QFont& initial)
{
    if (isHeadless())
        return std::nullopt;
    bool accepted = false;
    const QFont font = QFontDialog::getFont(&accepted, initial, parentWindow());
    if (!accepted)
        return std::nullopt;
    return font;
}

std::optional<QColor> QtDialogs::chooseColor(const QColor& initial)
{
    if (isHeadless())
        return std::nullopt;
    const QColor color = QColorDialog::getColor(initial, parentWindow());
    if (!color.isValid())
        return std::nullopt;
    return color;
}

std::optional<QString> QtDialogs::openPicture(const QString& initialDir)
{
    FileDialogOptions options;
    options.title = QStringLiteral("Open Picture");
    options.filter = pictureFilter();
    options.initialDir = initialDir;
    return openFile(options);
}

}  // namespace platform
