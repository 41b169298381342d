#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

namespace platform::qt {

// Draws a list's rows as single lines of plain text, cheaply: the status log
// is drawn up to twenty times a second while the server is busy, and the
// style's general item drawing lays every row's text out anew each time.
//
// Rows are as high as the font's line spacing and no more: the style's item
// margins would leave the status log room for two lines fewer than it keeps.
// No width is asked for, so every row is as wide as the list and a long line
// is cut at its edge.
class PlainLineDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    // Laid out once and drawn many times while the line stays in the list.
    const QStaticText& laid_out(const QString& text, const QFont& font) const;

    mutable QHash<QString, QStaticText> laid_out_;
    mutable QFont laid_out_font_;
};

}  // namespace platform::qt
