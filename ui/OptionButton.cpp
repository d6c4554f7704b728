// Painting of the wrapping option button: the style draws the indicator, the caption is laid out here.
#include "ui/OptionButton.h"

#include <QPainter>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace quorvane::ui {

OptionButton::OptionButton(const QString &text, QWidget *parent) : QRadioButton(text, parent) {}

void OptionButton::paintEvent(QPaintEvent *) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    const QRect indicator = style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, this);
    option.rect = indicator;
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, option);

    const int spacing = style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &option, this);
    const QRect textRect = rect().adjusted(indicator.right() + 1 + spacing, 0, 0, 0);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, shownText());
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = painter.boundingRect(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, shownText());
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

// The runs of spaces in the captions were measured to push "Send To ..." onto the second line in the classic
// dialog font; a line break in their place gives that look in whatever font is installed.
QString OptionButton::shownText() const {
    static const QRegularExpression kRunOfSpaces(" {2,}");
    return text().replace(kRunOfSpaces, "\n");
}

bool OptionButton::hitButton(const QPoint &pos) const { return rect().contains(pos); }

} // namespace quorvane::ui
