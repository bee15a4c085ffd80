#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class QDialog;

namespace kalkora::ui {

// A read-only view of a fixed-pitch text of any length, as the report window shows it. The
// text stays in the caller's Windows-1252 bytes; the view indexes where its lines start once
// and converts and draws only the lines on screen, so showing, scrolling and resizing cost
// the same for ten lines and for ten million. A line ends at LF; a CR before the LF belongs
// to the line break. Copied text has LF line breaks, as the command-line report has.
//
// Keys: arrows, Home/End, Page Up/Down with Shift to select, Ctrl+A, Ctrl+C, Ctrl+F find,
// F3/Shift+F3 find the next/previous occurrence. Enter and Escape go to the window.
class ReportTextView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit ReportTextView(QWidget* parent = nullptr);

    // `text` must stay valid and unchanged while it is shown; the view keeps no copy.
    void setText(std::string_view text);

    std::int64_t lineCount() const { return lines; }
    bool hasSelection() const { return anchor != cursor; }
    // The selected text with LF line breaks; empty without a selection.
    QString selectedText() const;
    void selectAll();
    // Puts the selection on the clipboard; does nothing without a selection.
    void copy();

    // Selects the next occurrence of `needle` after the selection (`backwards`: the one before
    // it), continuing at the other end of the text; false when the text holds none.
    bool find(const QString& needle, bool backwards, bool caseSensitive = false);
    // Opens the find window (Ctrl+F).
    void showFindDialog();

    // Where character `column` of `line` is drawn, in viewport coordinates.
    QRect characterRect(std::int64_t line, std::size_t column) const;
    // Topmost line on screen.
    std::int64_t firstVisibleLine() const;
    // How many lines were converted for drawing so far: what is on screen, not the text.
    std::int64_t convertedLineCount() const { return convertedLines; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void changeEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Move { Left, Right, Up, Down, PageUp, PageDown, LineStart, LineEnd, TextStart, TextEnd };

    std::size_t nextBreak(std::size_t from) const; // the next LF, or the end of the text
    std::size_t lineStart(std::int64_t line) const;
    std::size_t lineEnd(std::size_t start) const; // where the line's visible characters end
    std::int64_t lineOf(std::size_t offset) const;
    std::size_t offsetAt(const QPoint& viewportPoint) const;
    int visibleLineCount() const;
    void updateMetrics();
    void updateScrollBars();
    void moveCursor(Move move, bool extend);
    void placeCursor(std::size_t offset, bool extend);
    void ensureCursorVisible();
    void findAgain(bool backwards);
    QString convert(std::size_t from, std::size_t to) const;

    std::string_view text;
    std::vector<std::size_t> blockStarts; // start of every lineBlock-th line
    std::int64_t lines = 1;
    std::size_t longestLine = 0;
    std::size_t anchor = 0;
    std::size_t cursor = 0;
    std::size_t preferredColumn = 0; // kept over vertical moves through shorter lines
    bool selecting = false;
    qreal charWidth = 1;
    int lineHeight = 1;
    int ascent = 0;
    std::int64_t convertedLines = 0;
    QString lastNeedle;
    bool lastCaseSensitive = false;
    QPointer<QDialog> findDialog;
};

} // namespace kalkora::ui
