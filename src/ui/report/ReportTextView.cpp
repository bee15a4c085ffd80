#include "ui/report/ReportTextView.h"

#include "text/Cp1252.h"
#include "ui/common/UiServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace kalkora::ui {

namespace {

// Every lineBlock-th line start is indexed; the lines between are found by scanning at most
// that many lines, which keeps the index small for texts of millions of lines.
constexpr std::int64_t lineBlock = 64;
constexpr int margin = 4;

// Windows-1252 letters folded to lower case, for finding regardless of case.
const std::array<unsigned char, 256>& lowerCase()
{
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t {};
        for (int b = 0; b < 256; ++b) {
            t[std::size_t(b)] = static_cast<unsigned char>(b);
        }
        for (int b = 'A'; b <= 'Z'; ++b) {
            t[std::size_t(b)] = static_cast<unsigned char>(b + 32);
        }
        for (int b = 0xC0; b <= 0xDE; ++b) {
            if (b != 0xD7) {
                t[std::size_t(b)] = static_cast<unsigned char>(b + 32);
            }
        }
        t[0x8A] = 0x9A; // Š
        t[0x8C] = 0x9C; // Œ
        t[0x8E] = 0x9E; // Ž
        t[0x9F] = 0xFF; // Ÿ
        return t;
    }();
    return table;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The small find window of Ctrl+F: a text, case sensitivity, and searching on or back.
class FindDialog : public QDialog {
public:
    explicit FindDialog(ReportTextView* view)
        : QDialog(view->window())
    {
        setObjectName(QStringLiteral("findDlg"));
        setWindowTitle(QStringLiteral("Suchen"));
        auto* label = new QLabel(QStringLiteral("Suchen &nach:"), this);
        field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("findText"));
        label->setBuddy(field);
        caseSensitive = new QCheckBox(QStringLiteral("&Groß-/Kleinschreibung beachten"), this);
        auto* buttons = new QDialogButtonBox(this);
        auto* next = buttons->addButton(QStringLiteral("&Weitersuchen"), QDialogButtonBox::AcceptRole);
        next->setObjectName(QStringLiteral("findNext"));
        next->setDefault(true);
        auto* previous = buttons->addButton(QStringLiteral("&Rückwärts suchen"), QDialogButtonBox::ActionRole);
        previous->setObjectName(QStringLiteral("findPrevious"));
        buttons->addButton(QStringLiteral("Schließen"), QDialogButtonBox::RejectRole);

        auto* layout = new QGridLayout(this);
        layout->addWidget(label, 0, 0);
        layout->addWidget(field, 0, 1);
        layout->addWidget(caseSensitive, 1, 1);
        layout->addWidget(buttons, 2, 0, 1, 2);

        // Searching keeps the window open, so that the next hit is one key away.
        connect(next, &QPushButton::clicked, this, [this, view] { search(view, false); });
        connect(previous, &QPushButton::clicked, this, [this, view] { search(view, true); });
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    }

    void start(const QString& needle)
    {
        if (!needle.isEmpty()) {
            field->setText(needle);
        }
        field->selectAll();
        field->setFocus();
    }

private:
    void search(ReportTextView* view, bool backwards)
    {
        if (!field->text().isEmpty()) {
            view->find(field->text(), backwards, caseSensitive->isChecked());
        }
    }

    QLineEdit* field = nullptr;
    QCheckBox* caseSensitive = nullptr;
};

} // namespace

ReportTextView::ReportTextView(QWidget* parent)
    : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    updateMetrics();
    setText({});
}

void ReportTextView::setText(std::string_view newText)
{
    text = newText;
    blockStarts.assign(1, 0);
    lines = 1;
    longestLine = 0;
    // One pass over the text: the line starts of the index and the widest line.
    std::size_t start = 0;
    for (std::size_t end = nextBreak(0); end < text.size(); end = nextBreak(start)) {
        longestLine = std::max(longestLine, lineEnd(start) - start);
        start = end + 1;
        if (lines % lineBlock == 0) {
            blockStarts.push_back(start);
        }
        ++lines;
    }
    longestLine = std::max(longestLine, text.size() - start);
    anchor = cursor = preferredColumn = 0;
    updateScrollBars();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

std::size_t ReportTextView::nextBreak(std::size_t from) const
{
    const void* found = from < text.size() ? std::memchr(text.data() + from, '\n', text.size() - from) : nullptr;
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) : text.size();
}

std::size_t ReportTextView::lineStart(std::int64_t line) const
{
    line = std::clamp<std::int64_t>(line, 0, lines - 1);
    std::size_t start = blockStarts[static_cast<std::size_t>(line / lineBlock)];
    for (std::int64_t i = line % lineBlock; i > 0; --i) {
        start = nextBreak(start) + 1;
    }
    return start;
}

std::size_t ReportTextView::lineEnd(std::size_t start) const
{
    const std::size_t end = nextBreak(start);
    return end > start && end < text.size() && text[end - 1] == '\r' ? end - 1 : end;
}

std::int64_t ReportTextView::lineOf(std::size_t offset) const
{
    const auto block = std::upper_bound(blockStarts.begin(), blockStarts.end(), offset) - blockStarts.begin() - 1;
    std::int64_t line = block * lineBlock;
    std::size_t start = blockStarts[static_cast<std::size_t>(block)];
    while (line + 1 < lines) {
        const std::size_t next = nextBreak(start) + 1;
        if (next > offset) {
            break;
        }
        start = next;
        ++line;
    }
    return line;
}

QString ReportTextView::convert(std::size_t from, std::size_t to) const
{
    // Line breaks become LF: count the CR LF pairs first, so the result is allocated once.
    std::size_t pairs = 0;
    for (std::size_t i = from; i + 1 < to; ++i) {
        const void* cr = std::memchr(text.data() + i, '\r', to - i - 1);
        if (!cr) {
            break;
        }
        i = static_cast<std::size_t>(static_cast<const char*>(cr) - text.data());
        pairs += text[i + 1] == '\n' ? 1 : 0;
    }
    QString result(static_cast<qsizetype>(to - from - pairs), Qt::Uninitialized);
    QChar* out = result.data();
    for (std::size_t i = from; i < to; ++i) {
        if (text[i] == '\r' && i + 1 < to && text[i + 1] == '\n') {
            continue;
        }
        *out++ = QChar(text::cp1252Char(static_cast<unsigned char>(text[i])));
    }
    return result;
}

QString ReportTextView::selectedText() const
{
    return convert(std::min(anchor, cursor), std::max(anchor, cursor));
}

void ReportTextView::selectAll()
{
    anchor = 0;
    cursor = text.size();
    viewport()->update();
}

void ReportTextView::copy()
{
    if (hasSelection()) {
        QApplication::clipboard()->setText(selectedText());
    }
}

bool ReportTextView::find(const QString& needle, bool backwards, bool caseSensitive)
{
    lastNeedle = needle;
    lastCaseSensitive = caseSensitive;
    bool lossy = false;
    const std::string bytes = text::utf16ToCp1252(
        std::u16string_view(reinterpret_cast<const char16_t*>(needle.utf16()), std::size_t(needle.size())), &lossy);
    bool found = false;
    std::size_t at = 0;
    if (!lossy && !bytes.empty() && bytes.size() <= text.size()) {
        const auto& fold = lowerCase();
        const auto same = [&](char a, char b) {
            return caseSensitive ? a == b : fold[static_cast<unsigned char>(a)] == fold[static_cast<unsigned char>(b)];
        };
        const auto search = [&](std::size_t from, std::size_t to) { // a match starting in [from, to)
            const auto end = text.begin() + static_cast<std::ptrdiff_t>(std::min(to + bytes.size() - 1, text.size()));
            const auto first = text.begin() + static_cast<std::ptrdiff_t>(from);
            const auto hit = backwards ? std::find_end(first, end, bytes.begin(), bytes.end(), same)
                                       : std::search(first, end, bytes.begin(), bytes.end(), same);
            if (hit == end) {
                return false;
            }
            at = static_cast<std::size_t>(hit - text.begin());
            return true;
        };
        const std::size_t selectionStart = std::min(anchor, cursor);
        const std::size_t selectionEnd = std::max(anchor, cursor);
        found = backwards ? (search(0, selectionStart) || search(selectionStart, text.size()))
                          : (search(selectionEnd, text.size()) || search(0, selectionEnd));
    }
    if (!found) {
        uiServices().showMessage(
            window(), QStringLiteral("„%1“ wurde nicht gefunden.").arg(needle), MessageIcon::Information);
        return false;
    }
    anchor = at;
    placeCursor(at + bytes.size(), true);
    return true;
}

void ReportTextView::findAgain(bool backwards)
{
    if (lastNeedle.isEmpty()) {
        showFindDialog();
    } else {
        find(lastNeedle, backwards, lastCaseSensitive);
    }
}

void ReportTextView::showFindDialog()
{
    if (!findDialog) {
        findDialog = new FindDialog(this);
    }
    static_cast<FindDialog*>(findDialog.data())->start(hasSelection() ? selectedText() : lastNeedle);
    findDialog->show();
    findDialog->raise();
    findDialog->activateWindow();
}

std::int64_t ReportTextView::firstVisibleLine() const
{
    return verticalScrollBar()->value();
}

QRect ReportTextView::characterRect(std::int64_t line, std::size_t column) const
{
    const qreal x = margin - horizontalScrollBar()->value() + double(column) * charWidth;
    const auto y = margin + (line - firstVisibleLine()) * lineHeight;
    return QRectF(x, double(y), charWidth, lineHeight).toAlignedRect();
}

int ReportTextView::visibleLineCount() const
{
    return std::max(1, (viewport()->height() - margin) / lineHeight);
}

void ReportTextView::updateMetrics()
{
    const QFontMetricsF metrics(font());
    charWidth = std::max<qreal>(1, metrics.horizontalAdvance(QLatin1Char('M')));
    lineHeight = std::max(1, static_cast<int>(std::ceil(metrics.lineSpacing())));
    ascent = static_cast<int>(std::ceil(metrics.ascent()));
    updateScrollBars();
}

void ReportTextView::updateScrollBars()
{
    const int page = visibleLineCount();
    verticalScrollBar()->setRange(0, static_cast<int>(std::max<std::int64_t>(0, lines - page)));
    verticalScrollBar()->setPageStep(page);
    verticalScrollBar()->setSingleStep(1);
    const int width = static_cast<int>(std::ceil(double(longestLine) * charWidth)) + 2 * margin;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(static_cast<int>(std::ceil(charWidth)));
}

void ReportTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ReportTextView::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateMetrics();
    }
}

void ReportTextView::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.setFont(font());
    const QPalette& colors = palette();
    const qreal left = margin - horizontalScrollBar()->value();
    // Only the columns on screen are converted, so that even one very long line costs little.
    const auto firstColumn = static_cast<std::size_t>(std::max(0.0, std::floor(-left / charWidth)));
    const auto columns = static_cast<std::size_t>(std::ceil(viewport()->width() / charWidth)) + 1;
    const std::size_t selectionStart = std::min(anchor, cursor);
    const std::size_t selectionEnd = std::max(anchor, cursor);

    const std::int64_t first = firstVisibleLine();
    const std::int64_t last = std::min(lines - 1, first + visibleLineCount());
    std::size_t start = lineStart(first);
    for (std::int64_t line = first; line <= last; ++line) {
        const std::size_t end = lineEnd(start);
        const int top = margin + static_cast<int>(line - first) * lineHeight;
        const std::size_t from = std::min(end, start + firstColumn);
        const std::size_t to = std::min(end, from + columns);
        const QString visible = convert(from, to);
        ++convertedLines;
        const qreal x = left + double(from - start) * charWidth;
        const int baseline = top + ascent;

        // Selected part of the line; a selected line break shows as one more highlighted cell.
        const std::size_t selFrom = std::clamp(selectionStart, start, end);
        const std::size_t selTo = std::clamp(selectionEnd, start, end);
        const bool breakSelected = selectionStart <= end && selectionEnd > end;
        if (selTo > selFrom || breakSelected) {
            const qreal x0 = left + double(selFrom - start) * charWidth;
            const qreal x1 = left + double(selTo - start + (breakSelected ? 1 : 0)) * charWidth;
            painter.fillRect(QRectF(x0, top, x1 - x0, lineHeight), colors.brush(QPalette::Highlight));
        }
        const auto drawPart = [&](std::size_t partFrom, std::size_t partTo, QPalette::ColorRole role) {
            partFrom = std::clamp(partFrom, from, to);
            partTo = std::clamp(partTo, from, to);
            if (partTo > partFrom) {
                painter.setPen(colors.color(role));
                painter.drawText(QPointF(x + double(partFrom - from) * charWidth, baseline),
                    visible.mid(qsizetype(partFrom - from), qsizetype(partTo - partFrom)));
            }
        };
        drawPart(from, selFrom, QPalette::Text);
        drawPart(selFrom, selTo, QPalette::HighlightedText);
        drawPart(selTo, to, QPalette::Text);

        if (hasFocus() && cursor >= start && cursor <= end) {
            const qreal cx = left + double(cursor - start) * charWidth;
            painter.fillRect(QRectF(cx, top, 1, lineHeight), colors.brush(QPalette::Text));
        }
        start = nextBreak(end) + 1;
    }
}

std::size_t ReportTextView::offsetAt(const QPoint& point) const
{
    const std::int64_t line = firstVisibleLine() + std::floor(double(point.y() - margin) / lineHeight);
    const std::size_t start = lineStart(line);
    const double column = std::round((point.x() - margin + horizontalScrollBar()->value()) / charWidth);
    return std::min(lineEnd(start), start + static_cast<std::size_t>(std::max(0.0, column)));
}

void ReportTextView::placeCursor(std::size_t offset, bool extend)
{
    cursor = offset;
    if (!extend) {
        anchor = offset;
    }
    preferredColumn = cursor - lineStart(lineOf(cursor));
    ensureCursorVisible();
    viewport()->update();
}

void ReportTextView::ensureCursorVisible()
{
    const std::int64_t line = lineOf(cursor);
    const std::int64_t first = firstVisibleLine();
    const int page = visibleLineCount();
    if (line < first) {
        verticalScrollBar()->setValue(static_cast<int>(line));
    } else if (line >= first + page) {
        verticalScrollBar()->setValue(static_cast<int>(line - page + 1));
    }
    const double x = double(cursor - lineStart(line)) * charWidth;
    const int scrolled = horizontalScrollBar()->value();
    const int width = viewport()->width() - 2 * margin;
    if (x < scrolled) {
        horizontalScrollBar()->setValue(static_cast<int>(x));
    } else if (x > scrolled + width) {
        horizontalScrollBar()->setValue(static_cast<int>(std::ceil(x - width)));
    }
}

void ReportTextView::moveCursor(Move move, bool extend)
{
    const std::int64_t line = lineOf(cursor);
    const std::size_t start = lineStart(line);
    const auto toLine = [&](std::int64_t target) {
        const std::size_t column = preferredColumn;
        const std::size_t targetStart = lineStart(target);
        placeCursor(std::min(lineEnd(targetStart), targetStart + column), extend);
        preferredColumn = column;
    };
    switch (move) {
    case Move::Left:
        if (cursor > start) {
            placeCursor(cursor - 1, extend);
        } else if (line > 0) {
            placeCursor(lineEnd(lineStart(line - 1)), extend);
        }
        break;
    case Move::Right:
        if (cursor < lineEnd(start)) {
            placeCursor(cursor + 1, extend);
        } else if (line + 1 < lines) {
            placeCursor(lineStart(line + 1), extend);
        }
        break;
    case Move::Up:
        toLine(line - 1);
        break;
    case Move::Down:
        toLine(line + 1);
        break;
    case Move::PageUp:
        verticalScrollBar()->setValue(verticalScrollBar()->value() - visibleLineCount());
        toLine(line - visibleLineCount());
        break;
    case Move::PageDown:
        verticalScrollBar()->setValue(verticalScrollBar()->value() + visibleLineCount());
        toLine(line + visibleLineCount());
        break;
    case Move::LineStart:
        placeCursor(start, extend);
        break;
    case Move::LineEnd:
        placeCursor(lineEnd(start), extend);
        break;
    case Move::TextStart:
        placeCursor(0, extend);
        break;
    case Move::TextEnd:
        placeCursor(text.size(), extend);
        break;
    }
}

void ReportTextView::keyPressEvent(QKeyEvent* event)
{
    struct KeyMove {
        QKeySequence::StandardKey key;
        Move move;
        bool extend;
    };
    static const KeyMove moves[] = {
        { QKeySequence::MoveToPreviousChar, Move::Left, false },
        { QKeySequence::MoveToNextChar, Move::Right, false },
        { QKeySequence::MoveToPreviousLine, Move::Up, false },
        { QKeySequence::MoveToNextLine, Move::Down, false },
        { QKeySequence::MoveToPreviousPage, Move::PageUp, false },
        { QKeySequence::MoveToNextPage, Move::PageDown, false },
        { QKeySequence::MoveToStartOfLine, Move::LineStart, false },
        { QKeySequence::MoveToEndOfLine, Move::LineEnd, false },
        { QKeySequence::MoveToStartOfDocument, Move::TextStart, false },
        { QKeySequence::MoveToEndOfDocument, Move::TextEnd, false },
        { QKeySequence::SelectPreviousChar, Move::Left, true },
        { QKeySequence::SelectNextChar, Move::Right, true },
        { QKeySequence::SelectPreviousLine, Move::Up, true },
        { QKeySequence::SelectNextLine, Move::Down, true },
        { QKeySequence::SelectPreviousPage, Move::PageUp, true },
        { QKeySequence::SelectNextPage, Move::PageDown, true },
        { QKeySequence::SelectStartOfLine, Move::LineStart, true },
        { QKeySequence::SelectEndOfLine, Move::LineEnd, true },
        { QKeySequence::SelectStartOfDocument, Move::TextStart, true },
        { QKeySequence::SelectEndOfDocument, Move::TextEnd, true },
    };
    for (const KeyMove& entry : moves) {
        if (event->matches(entry.key)) {
            moveCursor(entry.move, entry.extend);
            return;
        }
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::Find)) {
        showFindDialog();
    } else if (event->matches(QKeySequence::FindNext) || event->matches(QKeySequence::FindPrevious)) {
        findAgain(event->matches(QKeySequence::FindPrevious));
    } else {
        // Enter and Escape reach the window, which closes.
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void ReportTextView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    selecting = true;
    placeCursor(offsetAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void ReportTextView::mouseMoveEvent(QMouseEvent* event)
{
    if (selecting && (event->buttons() & Qt::LeftButton)) {
        placeCursor(offsetAt(event->position().toPoint()), true);
    }
}

void ReportTextView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && selecting) {
        selecting = false;
        // Linux desktops paste the last mouse selection with the middle button.
        if (QApplication::clipboard()->supportsSelection() && hasSelection()) {
            QApplication::clipboard()->setText(selectedText(), QClipboard::Selection);
        }
    }
}

void ReportTextView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    // A double click selects the word under the mouse, up to the next blanks.
    std::size_t from = offsetAt(event->position().toPoint());
    std::size_t to = from;
    while (from > 0 && !isBlank(text[from - 1])) {
        --from;
    }
    while (to < text.size() && !isBlank(text[to])) {
        ++to;
    }
    anchor = from;
    placeCursor(to, true);
}

void ReportTextView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Kopieren"), this, &ReportTextView::copy)->setEnabled(hasSelection());
    menu.addAction(QStringLiteral("Alles &markieren"), this, &ReportTextView::selectAll);
    menu.addSeparator();
    menu.addAction(QStringLiteral("&Suchen..."), this, &ReportTextView::showFindDialog);
    menu.exec(event->globalPos());
}

void ReportTextView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ReportTextView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace kalkora::ui
