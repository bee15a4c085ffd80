#pragma once

#include "documents/FileDocument.h"

#include <QString>

#include <functional>

class QWidget;

namespace kalkora::ui {

// What a window asks and tells around a document's file: the file dialog of its kind,
// whether to open a file another has open read-only, whether to overwrite a file changed on disk,
// the progress window while it loads or saves, and the message when that fails.
class FilePrompts {
public:
    explicit FilePrompts(QWidget* window)
        : window(window)
    {
    }

    // The chosen file, or empty when the user cancelled; the next dialog of the kind starts in
    // its folder.
    QString choose(const documents::FileDocument& document, const QString& title, bool forSaving) const;
    bool open(documents::FileDocument& document, const QString& path, float factor, const QString& progressText) const;
    bool save(documents::FileDocument& document, const QString& path, const QString& progressText) const;
    // Before a command discards the document's changes: asks whether to save them and saves on
    // "Ja". False when the command must stop: cancelled, or the save did not succeed.
    bool maySaveChanges(const documents::FileDocument& document, const std::function<bool()>& save) const;
    // Tells what went wrong; a command the user cancelled has nothing to report.
    void tell(const files::FileResult& result) const;

private:
    QWidget* window;
};

} // namespace kalkora::ui
