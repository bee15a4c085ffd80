#pragma once

#include "ui/common/UiServices.h"

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

    ScriptedUiServices();
    ~ScriptedUiServices() override;
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
    QStringList texts(Kind kind) const;
    QStringList messages() const { return texts(Kind::Message); }
    void clear() { asked.clear(); }

    void showMessage(QWidget* parent, const QString& text, MessageIcon icon) override;
    bool askYesNo(QWidget* parent, const QString& text, MessageIcon icon) override;
    Answer askYesNoCancel(QWidget* parent, const QString& text, MessageIcon icon) override;
    QString getOpenFileName(QWidget* parent, const FileDialogRequest& request) override;
    QString getSaveFileName(QWidget* parent, const FileDialogRequest& request) override;
    bool runPrintDialog(QWidget* parent, QPrinter& printer) override;
    // Paints the pages into `printOutputFile` as a PDF, as the preview shows them.
    void showPrintPreview(QWidget* parent, const std::function<void(QPrinter&)>& paint) override;

private:
    QTemporaryDir settingsFolder;
    QString nextFile(Kind kind, QWidget* parent, const FileDialogRequest& request);
};

} // namespace kalkora::ui::test
