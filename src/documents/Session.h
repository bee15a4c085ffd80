#pragma once

#include "documents/EditHistory.h"
#include "documents/MasterDataDocument.h"
#include "documents/OrderDocument.h"
#include "documents/RecentFiles.h"
#include "files/RecoveryFile.h"

#include <QObject>
#include <QStringList>

#include <utility>
#include <vector>

namespace kalkora::documents {

// The files named when the program starts, sorted by what they are, in the order they load: the
// master data first, then the orders, the assemblies, then the quotes and the post-calculations;
// an assembly brings the master data it names unless master data are given, a quote the master
// data and the order it was priced from, a post-calculation those it compares with. `messages`
// are what to tell first: a file of no known kind, a quote or post-calculation that cannot be
// read, a file one names that is gone.
struct StartFiles {
    QStringList masterData;
    QStringList orders;
    QStringList assemblies;
    std::vector<std::pair<QString, QString>> quotes; // quote file, its order file
    QStringList postCalcs;
    QStringList messages;
};

// The files the order and the master data of a run come from, absolute or empty, as a quote file
// names them.
struct QuoteDataFiles {
    QString order;
    QString masterData;
};

// Everything a run has open: the master data and the one order, their shared edit history, and
// the orders last used. It knows the rules that join them (no order without machines; an order
// opened without master data brings the master data file last used) and what a crash would lose.
class Session : public QObject {
    Q_OBJECT

public:
    static constexpr int maxRecentOrders = 4;

    Session();

    EditHistory& history() { return edits; }
    MasterDataDocument& masterData() { return master; }
    const MasterDataDocument& masterData() const { return master; }
    OrderDocument& order() { return orderDocument; }
    const OrderDocument& order() const { return orderDocument; }
    RecentFiles& recentOrders() { return recent; }
    const RecentFiles& recentOrders() const { return recent; }

    // Operations refer to machines by name: without master data no order is opened. The message
    // saying so, or empty when an order may open.
    QString whyNoOrderOpens() const;
    // The master data file to load before an order when none is loaded: the one last used.
    QString masterDataForOrder() const;
    // Whether `orderFile` is the order that is open (an empty name stands for any).
    bool isOpenOrder(const QString& orderFile) const;

    StartFiles sortStartFiles(const QStringList& paths) const;
    QuoteDataFiles quoteDataFiles() const;

    // What a crash would lose, with `shownOrder` the order as shown (what is being typed
    // included).
    files::RecoveryData recoveryState(const COrder& shownOrder) const;
    // Puts back what recoveryState() gave in an earlier run; false when its bytes do not decode.
    bool restore(const files::RecoveryData& data);

private:
    EditHistory edits;
    RecentFiles recent;
    MasterDataDocument master;
    OrderDocument orderDocument;
};

} // namespace kalkora::documents
