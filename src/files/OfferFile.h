#pragma once

#include "costing/SalesPrice.h"
#include "files/DataFiles.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace kalkora::files {

// A quote as sent to a customer (Angebot, .ang): the texts of the letter, the scheme and the
// quantities it was priced with, the order and master data it was priced from, and the prices
// offered, kept as they were sent so that a later change of the data cannot rewrite them.
// The file is UTF-8 JSON; reading is all-or-nothing, saving atomic.

struct Offer {
    QString number;
    QDate date; // null when not given
    QDate validUntil;
    QString sender; // multi-line
    QString recipient; // multi-line
    QString subject;
    QString intro;
    QString closing;
    QString footer; // the company's legal details, at the foot of every page; multi-line
    QString partName; // the order's or the assembly's name
    int cashDiscountDays = 0; // within which the Skonto may be taken; 0: not said
    int paymentDays = 0; // when the amount is due without deduction; 0: not said
    QString orderFile; // absolute, or empty
    QString masterFile;
    SalesScheme scheme;
    std::vector<std::int32_t> quantities; // empty: the default quantities of the order
    std::optional<Money> marketPrice;
    std::vector<OfferedPrice> offered;

    bool operator==(const Offer&) const = default;
};

// The longest period of payment a quote may give, in days.
inline constexpr int kMaxPaymentDays = 3650;

// The document; the two paths are written relative to `folder` where they lie beneath it.
QByteArray offerToJson(const Offer& offer, const QString& folder);

// The reverse, relative paths resolved against `folder`. On an unknown key, a wrong type, a value
// out of range or with more than two decimals, or an unknown version, the result is a German
// message naming the key, and `offer` is left unchanged.
std::optional<QString> offerFromJson(const QByteArray& json, const QString& folder, Offer& offer);

FileResult loadOffer(const QString& path, Offer& offer);
FileResult saveOffer(const QString& path, const Offer& offer);

} // namespace kalkora::files
