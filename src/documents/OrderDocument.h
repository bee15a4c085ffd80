#pragma once

#include "documents/FileDocument.h"
#include "documents/RecentFiles.h"
#include "model/COrder.h"

namespace kalkora::documents {

// The one order of a run. It is either not open (nothing to show or edit) or open, new or from
// its file. Its edits are the commands of OrderCommands.h, pushed on the shared history.
class OrderDocument : public FileDocument {
    Q_OBJECT

public:
    OrderDocument(EditHistory& history, RecentFiles& recentOrders);

    COrder& data() { return order; }
    const COrder& data() const { return order; }
    bool isOpen() const { return openNow; }
    // "Kalkora - welle.auf", with " [schreibgeschützt]" for a file another has open; "Kalkora"
    // without a file. "[*]" after the name is where the window marks unsaved changes.
    QString title() const;

    // An empty order without file; it starts without steps.
    void startNew();
    void close();
    files::FileResult open(
        const QString& file, float factor, OpenFileGuard claimed, const Progress& progress = {}) override;
    // A failed save forgets the file, so that the next save asks for a name.
    files::FileResult save(const QString& file, const Progress& progress = {}) override;
    // "Speichern unter": the next save asks for a name.
    void forgetFile() { setPath(QString()); }
    // Puts back an order that a run which did not end cleanly had open.
    void restore(COrder restored, const QString& file, bool changed, const std::optional<files::SeenFile>& seen);

signals:
    // Another order took this one's place, or it was closed: the windows show it afresh.
    void replaced();

private:
    void clear(bool open);

    RecentFiles& recentOrders;
    COrder order;
    bool openNow = false;
};

} // namespace kalkora::documents
