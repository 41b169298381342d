#include "platform/qt/label_view.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStringList>
#include <QTextBoundaryFinder>
#include <optional>
#include <vector>

#include "platform/qt/click_reporter.h"
#include "platform/qt/conversions.h"

namespace platform::qt {

namespace {

// Where the text may be broken or cut: between the characters a reader sees,
// so that no accent is parted from its letter and no surrogate pair split.
std::vector<qsizetype> character_bounds(const QString& text) {
    std::vector<qsizetype> bounds{0};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0; at = finder.toNextBoundary()) {
        bounds.push_back(at);
    }
    return bounds;
}

// The text in lines of `width` pixels, each broken after the last character
// that fits (but holding at least one).
QStringList broken_anywhere(const QString& text, const QFontMetrics& metrics, int width) {
    const std::vector<qsizetype> bounds = character_bounds(text);
    // The characters from the one numbered `first` to before `end`.
    const auto part = [&](std::size_t first, std::size_t end) {
        return text.mid(bounds[first], bounds[end] - bounds[first]);
    };
    QStringList lines;
    for (std::size_t first = 0; first + 1 < bounds.size();) {
        std::size_t end = first + 1;
        while (end + 1 < bounds.size() &&
               metrics.horizontalAdvance(part(first, end + 1)) <= width) {
            ++end;
        }
        lines << part(first, end);
        first = end;
    }
    return lines;
}

// A path broken at any character to fit the box; when even that does not
// fit, as much of its start and its end as will, with "…" between them.
QString fitted_path(const QString& path, const QFontMetrics& metrics, QSize room) {
    const auto fitted = [&metrics, room](const QString& text) -> std::optional<QString> {
        QString lines = broken_anywhere(text, metrics, room.width()).join(u'\n');
        const int height =
            metrics.boundingRect(QRect({0, 0}, room), Qt::AlignLeft | Qt::AlignTop, lines).height();
        return height <= room.height() ? std::optional(std::move(lines)) : std::nullopt;
    };
    if (auto whole = fitted(path)) {
        return *whole;
    }
    const std::vector<qsizetype> bounds = character_bounds(path);
    const std::size_t count = bounds.size() - 1;
    // The first half of `kept` characters from the start, the rest from the end.
    const auto shortened = [&](std::size_t kept) {
        const std::size_t head = (kept + 1) / 2;
        return path.left(bounds[head]) + QChar(0x2026) + path.mid(bounds[count - (kept - head)]);
    };
    // More characters never take fewer lines, so the most that fit are found
    // by halving. Keeping none is the last resort: "…" alone.
    std::size_t fits = 0;
    std::size_t too_many = count;
    while (too_many - fits > 1) {
        const std::size_t kept = fits + (too_many - fits) / 2;
        if (fitted(shortened(kept))) {
            fits = kept;
        } else {
            too_many = kept;
        }
    }
    return fitted(shortened(fits)).value_or(QString(QChar(0x2026)));
}

}  // namespace

LabelView::LabelView(platform::Label& label, QWidget& parent)
    : LabelView(label, *new QLabel(&parent)) {}

LabelView::LabelView(platform::Label& label, QLabel& widget)
    : ControlView(label, widget), label_(label), widget_(widget) {
    // A caption is text to read, never markup to interpret.
    widget_.setTextFormat(Qt::PlainText);
    widget_.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    show_caption();
    show_transparency();
    new ClickReporter(widget_, label_, relay());
}

// A path is broken here, to the box it has now and in the font it has now;
// words are left to the widget.
void LabelView::show_caption() {
    const QString caption = to_qstring(label_.caption());
    if (label_.wrap() == platform::Label::Wrap::Anywhere) {
        widget_.setWordWrap(false);
        widget_.setText(fitted_path(caption, QFontMetrics(widget_.font()), widget_.size()));
    } else {
        widget_.setWordWrap(true);
        widget_.setText(caption);
    }
}

// A transparent label lets the form's picture show around its text.
void LabelView::show_transparency() {
    widget_.setAutoFillBackground(!label_.transparent());
}

void LabelView::on_change(const platform::ChangeEvent& event) {
    ControlView::on_change(event);
    switch (event.what) {
        case platform::Change::Caption:
        case platform::Change::Geometry:
        case platform::Change::Font:
            show_caption();
            break;
        case platform::Change::Colors:
            show_transparency();
            break;
        default:
            break;
    }
}

}  // namespace platform::qt
