#include "platform/qt/text_views.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <limits>

#include "platform/guarded.h"
#include "platform/qt/conversions.h"

namespace platform::qt {

namespace {

bool is_line_break(QChar c) {
    return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// The program's text as the widget takes it: CR LF is one line break.
QString shown_lines(const std::string& text) {
    QString shown = to_qstring(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

// The widget's raw text (its line breaks are separator characters, its
// non-breaking spaces still themselves) with line feeds, as shown_lines gives
// the widget its text.
QString widget_lines(const QString& raw) {
    QString text = raw;
    for (QChar& c : text) {
        if (is_line_break(c)) {
            c = u'\n';
        }
    }
    return text;
}

// The widget's raw text as the model holds it.
std::string model_lines(const QString& raw) {
    return widget_lines(raw).replace(u'\n', QStringLiteral("\r\n")).toStdString();
}

// The character that ends at `end` in the raw text: where it starts, and
// how many characters the model counts for it.
struct Step {
    qsizetype start;
    std::size_t weight;
};

Step step_back(const QString& raw, qsizetype end) {
    qsizetype start = end - 1;
    if (start > 0 && raw[start].isLowSurrogate() && raw[start - 1].isHighSurrogate()) {
        --start;
    }
    return {start, is_line_break(raw[start]) ? 2U : 1U};
}

std::size_t model_length(const QString& raw) {
    std::size_t length = 0;
    for (qsizetype end = raw.size(); end > 0;) {
        const Step step = step_back(raw, end);
        length += step.weight;
        end = step.start;
    }
    return length;
}

// The model's limit as QLineEdit takes it; 0 there would allow nothing.
int line_edit_limit(std::size_t max_length) {
    constexpr auto most = static_cast<std::size_t>(std::numeric_limits<int>::max());
    return max_length == 0 ? std::numeric_limits<int>::max()
                           : static_cast<int>(std::min(max_length, most));
}

}  // namespace

LineTextBoxView::LineTextBoxView(platform::TextBox& box, QWidget& parent)
    : LineTextBoxView(box, *new QLineEdit(&parent)) {}

LineTextBoxView::LineTextBoxView(platform::TextBox& box, QLineEdit& widget)
    : ControlView(box, widget), box_(box), widget_(widget) {
    widget_.setMaxLength(line_edit_limit(box_.max_length()));
    // A flat field without text margins of its own (QLineEdit keeps two
    // pixels each side anyway): the style's sunken frame takes room that the
    // narrow fields of the settings panel (33 pixels for a port) do not have.
    widget_.setFrame(false);
    show_text();
    // textEdited comes from the user only, never from setText, so the
    // program's own text is not reported back.
    QObject::connect(&widget_, &QLineEdit::textEdited, &relay(), [this](const QString& text) {
        guarded({"typing in", box_.name()}, [this, &text] { box_.typed(text.toStdString()); });
    });
}

void LineTextBoxView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    if (event.what == platform::Change::Caption) {
        show_text();
    }
}

// The program's text is read from its start: QLineEdit would put the cursor
// at the end and scroll there, and a port too wide for its field would then
// show as another, shorter one.
void LineTextBoxView::show_text() {
    widget_.setText(to_qstring(box_.text()));
    widget_.setCursorPosition(0);
}

MultiLineTextBoxView::MultiLineTextBoxView(platform::TextBox& box, QWidget& parent)
    : MultiLineTextBoxView(box, *new QPlainTextEdit(&parent)) {}

MultiLineTextBoxView::MultiLineTextBoxView(platform::TextBox& box, QPlainTextEdit& widget)
    : ControlView(box, widget), box_(box), widget_(widget) {
    widget_.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    widget_.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget_.setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // A word longer than the line is broken rather than scrolled to.
    widget_.setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // Tab moves on to the next control, as everywhere else in the window.
    widget_.setTabChangesFocus(true);
    show_text();
    QObject::connect(&widget_, &QPlainTextEdit::textChanged, &relay(), [this] { take_edit(); });
}

void MultiLineTextBoxView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    if (event.what == platform::Change::Caption) {
        show_text();
    }
}

// Text that the program puts in place of another is read from its start,
// with the cursor there. Most often, though, the program adds to the end of a
// log (an empty one included): then a reader who follows the end keeps
// following it, and one who has scrolled back stays where they are, and so
// does the cursor.
void MultiLineTextBoxView::show_text() {
    const QString text = shown_lines(box_.text());
    const bool added_to = text.startsWith(widget_lines(widget_.document()->toRawText()));
    QScrollBar& bar = *widget_.verticalScrollBar();
    const bool at_end = added_to && bar.value() == bar.maximum();
    const int top = added_to ? bar.value() : 0;
    const int cursor = added_to ? widget_.textCursor().position() : 0;

    const QScopedValueRollback changing(changing_, true);
    widget_.setPlainText(text);
    QTextCursor place = widget_.textCursor();
    place.setPosition(std::min(cursor, widget_.document()->characterCount() - 1));
    widget_.setTextCursor(place);
    bar.setValue(at_end ? bar.maximum() : top);
}

void MultiLineTextBoxView::take_edit() {
    if (changing_) {
        return;
    }
    guarded({"typing in", box_.name()}, [this] {
        {
            const QScopedValueRollback changing(changing_, true);
            cut_to_max_length();
        }
        box_.typed(model_lines(widget_.document()->toRawText()));
    });
}

// QPlainTextEdit has no maximum length of its own. What went past it is the
// end of what was just typed or pasted, which ends at the cursor: that is
// cut, so the cursor stays right after what was kept. Only if the cursor
// sits too near the start for that is the rest taken from the end.
void MultiLineTextBoxView::cut_to_max_length() {
    const std::size_t max_length = box_.max_length();
    if (max_length == 0) {
        return;
    }
    QTextDocument& document = *widget_.document();
    bool cut_any = false;
    for (const bool at_cursor : {true, false}) {
        const QString raw = document.toRawText();
        std::size_t length = model_length(raw);
        if (length <= max_length) {
            break;
        }
        const qsizetype end = at_cursor
                                  ? std::min<qsizetype>(widget_.textCursor().position(), raw.size())
                                  : raw.size();
        qsizetype begin = end;
        while (length > max_length && begin > 0) {
            const Step step = step_back(raw, begin);
            length -= step.weight;
            begin = step.start;
        }
        QTextCursor cut(&document);
        cut.setPosition(static_cast<int>(begin));
        cut.setPosition(static_cast<int>(end), QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        cut_any = true;
    }
    // Undoing the cut would bring the excess back, only to be cut again at
    // once, and the user could never undo further: the history goes instead.
    if (cut_any) {
        document.clearUndoRedoStacks();
    }
}

ComboBoxView::ComboBoxView(platform::ComboBox& combo, QWidget& parent)
    : ComboBoxView(combo, *new QComboBox(&parent)) {}

ComboBoxView::ComboBoxView(platform::ComboBox& combo, QComboBox& widget)
    : ControlView(combo, widget), combo_(combo), widget_(widget) {
    widget_.setEditable(true);
    widget_.setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would quietly turn a typed "10.0.0.1" into a listed
    // "10.0.0.12"; the lines here are addresses, where that is a wrong one.
    widget_.setCompleter(nullptr);
    {
        const QScopedValueRollback changing(changing_, true);
        for (const auto& item : combo_.items()) {
            widget_.addItem(to_qstring(item));
        }
    }
    show_text();
    // Typing, picking a line with the mouse or the arrow keys: every change
    // of the edit text that the view did not make itself is the user's.
    QObject::connect(&widget_, &QComboBox::editTextChanged, &relay(), [this](const QString& text) {
        if (!changing_) {
            guarded({"typing in", combo_.name()},
                    [this, &text] { combo_.typed(text.toStdString()); });
        }
    });
}

void ComboBoxView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    switch (event.what) {
        case platform::Change::Caption:
            show_text();
            break;
        case platform::Change::ItemInserted:
            show_inserted(event.index);
            break;
        default:
            break;
    }
}

void ComboBoxView::show_inserted(int index) {
    {
        const QScopedValueRollback changing(changing_, true);
        widget_.insertItem(index, to_qstring(combo_.items().at(static_cast<std::size_t>(index))));
    }
    // The first line added to an empty box would become the edit text.
    show_text();
}

// The edit text is the model's, with no line chosen: then picking any line,
// even the one that was picked before, changes the text.
void ComboBoxView::show_text() {
    const QScopedValueRollback changing(changing_, true);
    widget_.setCurrentIndex(-1);
    widget_.setEditText(to_qstring(combo_.text()));
}

}  // namespace platform::qt
