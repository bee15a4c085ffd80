#pragma once

// ui/common: what every window shares: the message-box and file-dialog service (UiServices)
// with its Qt implementation, number fields, dialog units, tooltips, accessible names,
// progress for long work, the file questions around a document and the Cp1252 text conversion.
// It uses src/text, src/model and src/documents, never another ui folder.

#include <QString>

#include <functional>

class QPrinter;
class QWidget;

namespace kalkora::ui {

// Everything in the program that blocks on the user goes through this one interface: message
// boxes, the file dialogs and the print dialog. The program uses the Qt implementation
// (QtUiServices); tests install a scripted one that records every question and answers from a
// queue. Windows reach the current instance through uiServices().

// Caption of every message box: the executable's name, as the original program showed it.
inline QString applicationTitle()
{
    return QStringLiteral("kalkora");
}

enum class MessageIcon { Exclamation, Question, Information, Stop };

// The answer to a question with the buttons "Ja", "Nein" and "Abbrechen".
enum class Answer { Yes, No, Cancel };

// One file dialog: the filter has a single entry, e.g. label "Stammdaten (*.sta) " and pattern
// "*.sta"; the default suffix ("sta") is appended when the user types a name without one.
struct FileDialogRequest {
    QString title;
    QString filterLabel;
    QString filterPattern;
    QString defaultSuffix;
    bool promptOverwrite = false; // only meaningful for save dialogs
    QString folder; // where the dialog starts; empty for the current folder
    QString fileName; // the name a save dialog proposes; empty for none
};

class UiServices {
public:
    virtual ~UiServices() = default;

    // A box with one "OK" button. Texts may hold CR LF line breaks.
    virtual void showMessage(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::Exclamation) = 0;
    // A box with the buttons "Ja" and "Nein"; true when the user chose "Ja".
    virtual bool askYesNo(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::Question) = 0;
    // A box with the buttons "Ja", "Nein" and "Abbrechen"; closing it counts as "Abbrechen".
    virtual Answer askYesNoCancel(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::Question) = 0;
    // The chosen full path, or an empty text when the user cancelled.
    virtual QString getOpenFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString getSaveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    // Lets the user choose and set up `printer`; true when the user confirmed.
    virtual bool runPrintDialog(QWidget* parent, QPrinter& printer) = 0;
    // Shows the pages `paint` draws on a printer in a preview, from which they can be printed.
    virtual void showPrintPreview(QWidget* parent, const std::function<void(QPrinter&)>& paint) = 0;
};

// The instance in force: the Qt implementation unless another one was installed.
UiServices& uiServices();

// Installs `services` (not owned) for the windows to use; nullptr restores the Qt implementation.
void setUiServices(UiServices* services);

// Before a command discards changed data: asks `question` (Ja / Nein / Abbrechen) and saves on
// "Ja". False when the command must stop: cancelled, or the save did not succeed.
bool maySave(QWidget* parent, bool changed, const QString& question, const std::function<bool()>& save);

} // namespace kalkora::ui
