#include "ScriptedUiServices.h"

#include <QPrinter>
#include <QSettings>
#include <QStandardPaths>

namespace kalkora::ui::test {

namespace {

template <typename T> T takeFront(std::deque<T>& queue, T fallback)
{
    if (queue.empty())
        return fallback;
    T value = queue.front();
    queue.pop_front();
    return value;
}

} // namespace

ScriptedUiServices::ScriptedUiServices()
{
    // Windows remember files and folders; a test must never read or change the user's own.
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    setUiServices(this);
}

ScriptedUiServices::~ScriptedUiServices()
{
    setUiServices(nullptr);
}

QStringList ScriptedUiServices::texts(Kind kind) const
{
    QStringList result;
    for (const Question& question : asked)
        if (question.kind == kind)
            result << question.text;
    return result;
}

void ScriptedUiServices::showMessage(QWidget* parent, const QString& text, MessageIcon icon)
{
    asked.push_back({ Kind::Message, text, icon, {}, parent });
}

bool ScriptedUiServices::askYesNo(QWidget* parent, const QString& text, MessageIcon icon)
{
    asked.push_back({ Kind::YesNo, text, icon, {}, parent });
    return takeFront(yesNoAnswers, false);
}

Answer ScriptedUiServices::askYesNoCancel(QWidget* parent, const QString& text, MessageIcon icon)
{
    asked.push_back({ Kind::YesNoCancel, text, icon, {}, parent });
    return takeFront(yesNoCancelAnswers, Answer::Cancel);
}

QString ScriptedUiServices::getOpenFileName(QWidget* parent, const FileDialogRequest& request)
{
    return nextFile(Kind::OpenFile, parent, request);
}

QString ScriptedUiServices::getSaveFileName(QWidget* parent, const FileDialogRequest& request)
{
    return nextFile(Kind::SaveFile, parent, request);
}

bool ScriptedUiServices::runPrintDialog(QWidget* parent, QPrinter& printer)
{
    asked.push_back({ Kind::Print, QString(), MessageIcon::Exclamation, {}, parent });
    const bool confirmed = takeFront(printAnswers, false);
    if (confirmed && !printOutputFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printOutputFile);
    }
    return confirmed;
}

void ScriptedUiServices::showPrintPreview(QWidget* parent, const std::function<void(QPrinter&)>& paint)
{
    asked.push_back({ Kind::Preview, QString(), MessageIcon::Exclamation, {}, parent });
    if (!printOutputFile.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printOutputFile);
        paint(printer);
    }
}

QString ScriptedUiServices::nextFile(Kind kind, QWidget* parent, const FileDialogRequest& request)
{
    asked.push_back({ kind, request.title, MessageIcon::Exclamation, request, parent });
    return takeFront(fileAnswers, QString());
}

} // namespace kalkora::ui::test
