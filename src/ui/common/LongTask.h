#pragma once

#include "model/Progress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QStringList>

class QProgressDialog;
class QWidget;

namespace kalkora::ui {

// Long work in the user-interface thread: loading, saving, calculating, the analyses. The work
// reports through progress() (or the core's Progress callback from callback()); when it has
// taken longer than about half a second, a progress dialog appears over the whole program,
// and meanwhile the windows are repainted. Short work shows nothing. Where cancelling loses
// nothing, the dialog offers "Abbrechen" and progress() returns false once it was pressed.
// Handing a temporary's callback() to the work makes the dialog last exactly as long as the call:
//     costOrder(..., LongTask(this, QStringLiteral("Auftrag wird berechnet..."), true).callback());
class LongTask {
public:
    LongTask(QWidget* parent, const QString& label, bool cancellable);
    ~LongTask();
    LongTask(const LongTask&) = delete;
    LongTask& operator=(const LongTask&) = delete;

    bool progress(std::int64_t done, std::int64_t total);
    Progress callback();
    bool wasCancelled() const { return cancelled; }

private:
    void showDialog();

    QWidget* parent;
    QString label;
    bool cancellable;
    bool cancelled = false;
    int steps = 0;
    QElapsedTimer sinceStart;
    QElapsedTimer sinceRepaint;
    QPointer<QProgressDialog> dialog;
};

// A test's stand-in for the clock and the user: every task shows its dialog at its first step
// (its label recorded in `shown`) and is cancelled at step `cancelAtStep` when it can be.
struct LongTaskScript {
    int cancelAtStep = -1;
    QStringList shown;
};

// Installs `script` (not owned); nullptr goes back to the clock.
void setLongTaskScript(LongTaskScript* script);

} // namespace kalkora::ui
