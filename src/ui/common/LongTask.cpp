#include "ui/common/LongTask.h"

#include "ui/common/UiServices.h"

#include <QApplication>
#include <QProgressDialog>
#include <QPushButton>

namespace kalkora::ui {

namespace {

constexpr qint64 showAfterMs = 500;
constexpr qint64 repaintEveryMs = 40;
constexpr int dialogSteps = 1000;

LongTaskScript* script = nullptr;

} // namespace

void setLongTaskScript(LongTaskScript* newScript)
{
    script = newScript;
}

LongTask::LongTask(QWidget* parent, const QString& label, bool cancellable)
    : parent(parent)
    , label(label)
    , cancellable(cancellable)
{
    sinceStart.start();
    sinceRepaint.start();
}

LongTask::~LongTask()
{
    delete dialog;
}

Progress LongTask::callback()
{
    return [this](std::int64_t done, std::int64_t total) { return progress(done, total); };
}

void LongTask::showDialog()
{
    dialog = new QProgressDialog(label, QString(), 0, dialogSteps, parent);
    dialog->setWindowTitle(applicationTitle());
    // The work runs inside this call: nothing else of the program may take input meanwhile.
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAutoClose(false);
    dialog->setAutoReset(false);
    dialog->setMinimumDuration(0);
    if (cancellable) {
        dialog->setCancelButton(new QPushButton(QStringLiteral("Abbrechen"), dialog));
    }
    dialog->show();
}

bool LongTask::progress(std::int64_t done, std::int64_t total)
{
    const int step = steps++;
    if (!dialog && (script ? step == 0 : sinceStart.elapsed() >= showAfterMs)) {
        showDialog();
        if (script) {
            script->shown << label;
        }
    }
    if (script && step == script->cancelAtStep && dialog) {
        dialog->cancel();
    }
    if (dialog && sinceRepaint.elapsed() >= repaintEveryMs) {
        dialog->setValue(total > 0 ? static_cast<int>(done * dialogSteps / total) : 0);
    }
    if (sinceRepaint.elapsed() >= repaintEveryMs || (script && step == 0)) {
        sinceRepaint.restart();
        // Before the dialog is up, input waits in the queue until the work is done.
        QApplication::processEvents(dialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    }
    cancelled = cancelled || (cancellable && dialog && dialog->wasCanceled());
    return !cancelled;
}

} // namespace kalkora::ui
