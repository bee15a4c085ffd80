#include "ui/common/FilePrompts.h"

#include "ui/common/LongTask.h"
#include "ui/common/UiServices.h"

namespace kalkora::ui {

QString FilePrompts::choose(const documents::FileDocument& document, const QString& title, bool forSaving) const
{
    const QString& label = document.fileType().label;
    const QString& suffix = document.fileType().suffix;
    const FileDialogRequest request { title, QStringLiteral("%1 (*.%2) ").arg(label, suffix),
        QStringLiteral("*.") + suffix, suffix, true, document.folder(), {} };
    const QString path
        = forSaving ? uiServices().getSaveFileName(window, request) : uiServices().getOpenFileName(window, request);
    if (!path.isEmpty()) {
        document.rememberFolder(path);
    }
    return path;
}

bool FilePrompts::open(
    documents::FileDocument& document, const QString& path, float factor, const QString& progressText) const
{
    documents::OpenFileGuard claimed = document.claim(path);
    if (const QString question = claimed.readOnlyQuestion();
        !question.isEmpty() && !uiServices().askYesNo(window, question, MessageIcon::Question)) {
        return false;
    }
    const files::FileResult result
        = document.open(path, factor, std::move(claimed), LongTask(window, progressText, true).callback());
    tell(result);
    return result.ok();
}

bool FilePrompts::save(documents::FileDocument& document, const QString& path, const QString& progressText) const
{
    const documents::WriteCheck check = document.checkWrite(path);
    if (check.verdict == documents::WriteCheck::Verdict::Held) {
        uiServices().showMessage(window, check.message);
        return false;
    }
    if (check.verdict == documents::WriteCheck::Verdict::ChangedOnDisk
        && !uiServices().askYesNo(window, check.message, MessageIcon::Exclamation)) {
        return false;
    }
    const files::FileResult result = document.save(path, LongTask(window, progressText, false).callback());
    tell(result);
    return result.ok();
}

bool FilePrompts::maySaveChanges(const documents::FileDocument& document, const std::function<bool()>& save) const
{
    return maySave(window, document.isChanged(), document.fileType().changedQuestion, save);
}

void FilePrompts::tell(const files::FileResult& result) const
{
    if (!result.ok() && !result.cancelled()) {
        uiServices().showMessage(window, result.message, MessageIcon::Exclamation);
    }
}

} // namespace kalkora::ui
