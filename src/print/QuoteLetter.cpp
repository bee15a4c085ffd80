#include "print/QuoteLetter.h"

#include "print/ReportPrinting.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace kalkora::report {

namespace {

QString euro(Money amount)
{
    return QString::fromStdString(amount.format(',', '.')) + QStringLiteral(" €");
}

// "2 %", "2,5 %": a percentage as a letter writes it, without trailing zeros.
QString percent(Percent value)
{
    QString text = QString::fromStdString(value.format(','));
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char(',')))
        text.chop(1);
    return text + QStringLiteral(" %");
}

QString germanDate(const QDate& date)
{
    return date.isValid() ? date.toString(QStringLiteral("dd.MM.yyyy")) : QString();
}

QStringList linesOf(const QString& text)
{
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

// With the periods the quote gives: within how many days the Skonto may be taken and when the
// amount is due; a quote without them says neither.
QString paymentTerms(const files::Offer& offer)
{
    const bool skonto = offer.scheme.cashDiscountPct.count() != 0;
    const QString net = offer.paymentDays > 0
        ? QStringLiteral("innerhalb von %1 Tagen ohne Abzug").arg(offer.paymentDays)
        : QStringLiteral("ohne Abzug");
    if (!skonto)
        return offer.paymentDays > 0 ? QStringLiteral("Zahlbar %1.").arg(net)
                                     : QStringLiteral("Zahlungsbedingungen: zahlbar ohne Abzug.");
    const QString discount = percent(offer.scheme.cashDiscountPct);
    if (offer.cashDiscountDays == 0)
        return QStringLiteral("Zahlungsbedingungen: zahlbar abzüglich %1 Skonto.").arg(discount);
    return QStringLiteral("Zahlbar innerhalb von %1 Tagen abzüglich %2 Skonto oder %3.")
        .arg(offer.cashDiscountDays)
        .arg(discount, net);
}

} // namespace

QuoteLetter quoteLetter(const files::Offer& offer)
{
    QuoteLetter letter;
    letter.sender = linesOf(offer.sender);
    // Name, street and town: what fits above the address in the envelope's window.
    letter.returnAddress = letter.sender.mid(0, 3).join(QStringLiteral(" · "));
    letter.recipient = linesOf(offer.recipient);
    for (const auto& [label, value] : { std::pair(QStringLiteral("Angebot Nr."), offer.number),
             std::pair(QStringLiteral("Datum"), germanDate(offer.date)),
             std::pair(QStringLiteral("Gültig bis"), germanDate(offer.validUntil)) }) {
        if (!value.isEmpty())
            letter.reference.emplace_back(label, value);
    }
    letter.subject = offer.subject;
    letter.intro = linesOf(offer.intro);
    if (!offer.partName.isEmpty())
        letter.part = QStringLiteral("Bezeichnung: ") + offer.partName;
    const bool discount = offer.scheme.discountPct.count() != 0;
    letter.tableHeader << QStringLiteral("Menge") << QStringLiteral("Listenpreis/St.");
    if (discount)
        letter.tableHeader << QStringLiteral("Rabatt ") + percent(offer.scheme.discountPct);
    letter.tableHeader << QStringLiteral("Preis/St.") << QStringLiteral("Gesamtpreis");
    for (const OfferedPrice& price : offer.offered) {
        QStringList row { QLocale(QLocale::German).toString(price.quantity) + QStringLiteral(" Stück"),
            euro(price.listPrice) };
        if (discount)
            row << euro(Money(-price.discount.count()));
        row << euro(price.targetPrice) << euro(price.total);
        letter.tableRows.push_back(row);
    }
    letter.terms << QStringLiteral("Alle Preise in Euro, netto zuzüglich der gesetzlichen Umsatzsteuer.");
    letter.terms << paymentTerms(offer);
    letter.closing = linesOf(offer.closing);
    letter.footer = linesOf(offer.footer);
    return letter;
}

QString quoteLetterText(const QuoteLetter& letter)
{
    QStringList lines = letter.sender;
    lines << letter.returnAddress << letter.recipient;
    for (const auto& [label, value] : letter.reference)
        lines << label + QStringLiteral(": ") + value;
    lines << letter.subject << letter.intro;
    if (!letter.part.isEmpty())
        lines << letter.part;
    lines << letter.tableHeader.join(QStringLiteral(" | "));
    for (const QStringList& row : letter.tableRows)
        lines << row.join(QStringLiteral(" | "));
    lines << letter.terms << letter.closing << letter.footer;
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

namespace {

// Places on the page in millimetres from the paper's top-left corner (DIN 5008, form B).
constexpr double textLeft = 25;
constexpr double textRight = 190;
constexpr double senderLeft = 125;
constexpr double returnAddressTop = 47;
constexpr double recipientTop = 62.7;
constexpr double referenceTop = 50;
constexpr double subjectTop = 103.4;
constexpr double continuationTop = 20;
constexpr double bodyBottom = 272;
constexpr double footerTop = 282;

enum class Style { Small, Body, Bold };

struct Placed {
    int page;
    double x;
    double y;
    double width;
    Qt::Alignment align;
    Style style;
    QString text;
};

// Lays the letter out line by line, starting a new page where the body would run into the
// footer; the table's header is repeated on every page it continues on.
class LetterLayout {
public:
    // `footerLines` lines of small print stand above the page number on every page.
    LetterLayout(QPaintDevice& device, qsizetype footerLines)
        : device(device)
        , footerFirst(footerTop - double(footerLines) * lineHeight(Style::Small) - (footerLines > 0 ? 2 : 0))
        , bottom(std::min(bodyBottom, footerFirst - 3))
    {
    }

    // The legal details and "Seite n von m" on every page.
    void putFooters(const QStringList& footer)
    {
        for (int page = 0; page < pages(); ++page) {
            double top = footerFirst;
            for (const QString& line : footer) {
                put(textLeft, top, textRight - textLeft, Qt::AlignHCenter, Style::Small, line);
                items.back().page = page;
                top += lineHeight(Style::Small);
            }
            put(textLeft, footerTop, textRight - textLeft, Qt::AlignHCenter, Style::Small,
                QStringLiteral("Seite %1 von %2").arg(page + 1).arg(pages()));
            items.back().page = page;
        }
        std::stable_sort(items.begin(), items.end(), [](const Placed& a, const Placed& b) { return a.page < b.page; });
    }

    static QFont font(Style style)
    {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(style == Style::Small ? 7.5 : 10);
        font.setBold(style == Style::Bold);
        return font;
    }

    double lineHeight(Style style) const
    {
        return QFontMetricsF(font(style), &device).lineSpacing() * 25.4 / device.logicalDpiY();
    }

    void put(double x, double top, double width, Qt::Alignment align, Style style, const QString& text)
    {
        items.push_back({ page, x, top, width, align, style, text });
    }

    // Lines at the left edge from `top`, one below the other.
    double putLines(double x, double top, double width, Style style, const QStringList& lines)
    {
        for (const QString& line : lines) {
            put(x, top, width, Qt::AlignLeft, style, line);
            top += lineHeight(style);
        }
        return top;
    }

    void startBodyAt(double top) { y = top; }
    void skip(double lines) { y += lines * lineHeight(Style::Body); }

    void flow(Style style, const QString& text, Qt::Alignment align = Qt::AlignLeft)
    {
        for (const QString& line : wrapped(style, text)) {
            makeRoom(lineHeight(style));
            put(textLeft, y, textRight - textLeft, align, style, line);
            y += lineHeight(style);
        }
    }

    void flowRow(Style style, const QStringList& cells, const QStringList& header)
    {
        if (makeRoom(lineHeight(style)) && !header.isEmpty() && style != Style::Bold)
            flowRow(Style::Bold, header, {});
        const std::vector<double> edges = columnEdges(static_cast<int>(cells.size()));
        for (int i = 0; i < cells.size(); ++i) {
            const double from = i == 0 ? textLeft : edges[static_cast<std::size_t>(i) - 1];
            put(from, y, edges[static_cast<std::size_t>(i)] - from, Qt::AlignRight, style, cells[i]);
        }
        y += lineHeight(style);
    }

    std::vector<Placed> items;
    int pages() const { return page + 1; }

private:
    // True when the line begins a new page.
    bool makeRoom(double height)
    {
        if (y + height <= bottom)
            return false;
        ++page;
        y = continuationTop;
        return true;
    }

    static std::vector<double> columnEdges(int columns)
    {
        const double first = textLeft + 25;
        std::vector<double> edges { first };
        for (int i = 1; i < columns; ++i)
            edges.push_back(first + (textRight - first) * i / (columns - 1));
        return edges;
    }

    QStringList wrapped(Style style, const QString& text) const
    {
        const QFontMetricsF metrics(font(style), &device);
        const double width = (textRight - textLeft) * device.logicalDpiX() / 25.4;
        QStringList lines;
        QString line;
        for (const QString& word : text.split(QLatin1Char(' '))) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
                lines << line;
                line = word;
            } else {
                line = longer;
            }
        }
        return lines << line;
    }

    QPaintDevice& device;
    double footerFirst;
    double bottom;
    int page = 0;
    double y = 0;
};

LetterLayout layOut(const QuoteLetter& letter, QPaintDevice& device)
{
    LetterLayout layout(device, letter.footer.size());
    double senderTop = 15;
    for (const QString& line : letter.sender) {
        layout.put(senderLeft, senderTop, textRight - senderLeft, Qt::AlignRight, Style::Small, line);
        senderTop += layout.lineHeight(Style::Small);
    }
    layout.put(
        textLeft, returnAddressTop, senderLeft - textLeft - 5, Qt::AlignLeft, Style::Small, letter.returnAddress);
    layout.putLines(textLeft, recipientTop, senderLeft - textLeft - 5, Style::Body, letter.recipient);
    double referenceY = referenceTop;
    for (const auto& [label, value] : letter.reference) {
        layout.put(senderLeft, referenceY, 30, Qt::AlignLeft, Style::Body, label);
        layout.put(senderLeft + 30, referenceY, textRight - senderLeft - 30, Qt::AlignLeft, Style::Body, value);
        referenceY += layout.lineHeight(Style::Body);
    }
    layout.startBodyAt(subjectTop);
    layout.flow(Style::Bold, letter.subject);
    layout.skip(1);
    for (const QString& paragraph : letter.intro)
        layout.flow(Style::Body, paragraph);
    layout.skip(1);
    if (!letter.part.isEmpty())
        layout.flow(Style::Bold, letter.part);
    layout.flowRow(Style::Bold, letter.tableHeader, {});
    for (const QStringList& row : letter.tableRows)
        layout.flowRow(Style::Body, row, letter.tableHeader);
    layout.skip(1);
    for (const QString& line : letter.terms)
        layout.flow(Style::Body, line);
    layout.skip(1);
    for (const QString& paragraph : letter.closing)
        layout.flow(Style::Body, paragraph);
    return layout;
}

} // namespace

int printQuoteLetter(const QuoteLetter& letter, QPrinter& printer)
{
    printer.setDocName(QStringLiteral("Angebot"));
    // The positions are the paper's: the address must sit in the envelope's window.
    printer.setFullPage(true);
    LetterLayout layout = layOut(letter, printer);
    layout.putFooters(letter.footer);
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const double pixelsPerMm = printer.logicalDpiY() / 25.4;
    int current = 0;
    for (const Placed& item : layout.items) {
        for (; current < item.page; ++current)
            printer.newPage();
        painter.setFont(LetterLayout::font(item.style));
        const QRectF box(item.x * pixelsPerMm, item.y * pixelsPerMm, item.width * pixelsPerMm,
            layout.lineHeight(item.style) * pixelsPerMm);
        painter.drawText(box, int(item.align | Qt::AlignTop | Qt::TextSingleLine), item.text);
    }
    painter.end();
    return layout.pages();
}

bool writeQuoteLetterPdf(const QuoteLetter& letter, const QString& path)
{
    QPrinter printer(QPrinter::HighResolution);
    setUpPdfPrinter(printer, path);
    return printQuoteLetter(letter, printer) > 0;
}

} // namespace kalkora::report
