#pragma once

#include "ui/common/UiServices.h"

#include <QPrinter>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <vector>

namespace kalkora::ui::test {

// A UiServices for tests: records every question in `asked` and answers from the queues.
// An empty queue answers "Nein" (a three-answer question "Abbrechen"), cancels the file dialog and cancels the print
// dialog. Construction installs it for the windows and gives them empty settings of their own in a temporary folder;
// destruction restores the Qt implementation.
class ScriptedUiServices : public UiServices {
public:
    enum class Kind { Message, YesNo, YesNoCancel, OpenFile, SaveFile, Print, Preview };

    struct Question {
        Kind kind;
        QString text; // message text, or the file dialog's title
        MessageIcon icon = MessageIcon::Exclamation;
        FileDialogRequest file;
        QWidget* parent = nullptr;
    };

    ScriptedUiServices()
    {
        // Windows remember files and folders; a test must never read or change the user's own.
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
        setUiServices(this);
    }
    ~ScriptedUiServices() override { setUiServices(nullptr); }
    ScriptedUiServices(const ScriptedUiServices&) = delete;
    ScriptedUiServices& operator=(const ScriptedUiServices&) = delete;

    std::vector<Question> asked;
    std::deque<bool> yesNoAnswers;
    std::deque<Answer> yesNoCancelAnswers;
    std::deque<QString> fileAnswers; // full paths; an empty text cancels
    std::deque<bool> printAnswers;
    // Where a confirmed print dialog sends the document, as "print to file" (PDF) would.
    QString printOutputFile;

    // The texts of all questions of one kind, in the order asked.
    QStringList texts(Kind kind) const
    {
        QStringList result;
        for (const Question& question : asked)
            if (question.kind == kind)
                result << question.text;
        return result;
    }
    QStringList messages() const { return texts(Kind::Message); }
    void clear() { asked.clear(); }

    void showMessage(QWidget* parent, const QString& text, MessageIcon icon) override
    {
        asked.push_back({ Kind::Message, text, icon, {}, parent });
    }
    bool askYesNo(QWidget* parent, const QString& text, MessageIcon icon) override
    {
        asked.push_back({ Kind::YesNo, text, icon, {}, parent });
        return takeFront(yesNoAnswers, false);
    }
    Answer askYesNoCancel(QWidget* parent, const QString& text, MessageIcon icon) override
    {
        asked.push_back({ Kind::YesNoCancel, text, icon, {}, parent });
        return takeFront(yesNoCancelAnswers, Answer::Cancel);
    }
    QString getOpenFileName(QWidget* parent, const FileDialogRequest& request) override
    {
        return nextFile(Kind::OpenFile, parent, request);
    }
    QString getSaveFileName(QWidget* parent, const FileDialogRequest& request) override
    {
        return nextFile(Kind::SaveFile, parent, request);
    }
    bool runPrintDialog(QWidget* parent, QPrinter& printer) override
    {
        asked.push_back({ Kind::Print, QString(), MessageIcon::Exclamation, {}, parent });
        const bool confirmed = takeFront(printAnswers, false);
        if (confirmed && !printOutputFile.isEmpty())
            printToFile(printer);
        return confirmed;
    }
    // Paints the pages into `printOutputFile` as a PDF, as the preview shows them.
    void showPrintPreview(QWidget* parent, const std::function<void(QPrinter&)>& paint) override
    {
        asked.push_back({ Kind::Preview, QString(), MessageIcon::Exclamation, {}, parent });
        if (!printOutputFile.isEmpty()) {
            QPrinter printer(QPrinter::HighResolution);
            printToFile(printer);
            paint(printer);
        }
    }

private:
    template <typename T> static T takeFront(std::deque<T>& queue, T fallback)
    {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }

    QString nextFile(Kind kind, QWidget* parent, const FileDialogRequest& request)
    {
        asked.push_back({ kind, request.title, MessageIcon::Exclamation, request, parent });
        return takeFront(fileAnswers, QString());
    }

    void printToFile(QPrinter& printer) const
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printOutputFile);
    }

    QTemporaryDir settingsFolder;
};

} // namespace kalkora::ui::test
