#include "platform/qt/plain_line_delegate.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace platform::qt {

namespace {

// More than a list shows at once; beyond it, the layouts of lines long gone
// are dropped.
constexpr qsizetype kept_layouts = 128;

QPalette::ColorGroup color_group(const QStyleOptionViewItem& option) {
    if (!(option.state & QStyle::State_Enabled)) {
        return QPalette::Disabled;
    }
    return (option.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
}

}  // namespace

QSize PlainLineDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {0, std::max(1, static_cast<int>(QFontMetricsF(option.font).lineSpacing()))};
}

void PlainLineDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const QWidget* widget = option.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    // The selection and hover backgrounds, as the style draws them.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, widget);

    const QPalette::ColorGroup group = color_group(option);
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    painter->save();
    painter->setFont(option.font);
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    // Where the style puts an item's text: a focus frame's margin and a pixel
    // in from the left, centred in the row.
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, widget) + 1;
    const QFontMetricsF metrics(option.font);
    const QPointF at(option.rect.left() + margin,
                     option.rect.top() + (option.rect.height() - metrics.height()) / 2);
    painter->drawStaticText(at, laid_out(index.data(Qt::DisplayRole).toString(), option.font));
    painter->restore();

    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = option.rect;
        focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        focus.backgroundColor =
            option.palette.color(group, selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
    }
}

const QStaticText& PlainLineDelegate::laid_out(const QString& text, const QFont& font) const {
    if (font != laid_out_font_ || laid_out_.size() >= kept_layouts) {
        laid_out_.clear();
        laid_out_font_ = font;
    }
    auto found = laid_out_.find(text);
    if (found == laid_out_.end()) {
        QStaticText line(text);
        line.setTextFormat(Qt::PlainText);
        found = laid_out_.insert(text, line);
    }
    return *found;
}

}  // namespace platform::qt
