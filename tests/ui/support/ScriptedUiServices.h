#pragma once

#include "ui/common/UiServices.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

namespace kalkora::ui::test {

// A UiServices for tests: records every question in `asked` and answers from the queues.
// An empty queue answers "Nein", cancels the file dialog and cancels the print dialog.
// Construction installs it for the windows; destruction restores the Qt implementation.
class ScriptedUiServices : public UiServices {
public:
    enum class Kind { Message, YesNo, OpenFile, SaveFile, Print };

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
    QString getOpenFileName(QWidget* parent, const FileDialogRequest& request) override;
    QString getSaveFileName(QWidget* parent, const FileDialogRequest& request) override;
    bool runPrintDialog(QWidget* parent, QPrinter& printer) override;

private:
    QString nextFile(Kind kind, QWidget* parent, const FileDialogRequest& request);
};

} // namespace kalkora::ui::test
