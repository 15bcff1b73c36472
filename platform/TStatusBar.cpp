#include "TStatusBar.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QToolTip>

namespace {
constexpr int barHeight = 20;
constexpr int panelGap = 2;
} // namespace

TStatusBar::TStatusBar(const QVector<int> &panelWidths, QWidget *parent)
    : QWidget(parent), widths_(panelWidths), texts_(panelWidths.size()), toolTips_(panelWidths.size())
{
    setFixedHeight(barHeight);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QString TStatusBar::panelText(int panel) const
{
    return texts_.value(panel);
}

void TStatusBar::setPanelText(int panel, const QString &text)
{
    if (panel < 0 || panel >= texts_.size() || texts_[panel] == text)
        return;
    texts_[panel] = text;
    update();
}

void TStatusBar::repaintNow()
{
    repaint();
}

int TStatusBar::panelWidth(int panel) const
{
    return widths_.value(panel);
}

void TStatusBar::setPanelWidth(int panel, int width)
{
    if (panel < 0 || panel >= widths_.size() || widths_[panel] == width)
        return;
    widths_[panel] = width;
    update();
}

QColor TStatusBar::backgroundColor() const
{
    return palette().color(QPalette::Window);
}

void TStatusBar::setBackgroundColor(const QColor &color)
{
    if (backgroundColor() == color)
        return;
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

QSize TStatusBar::sizeHint() const
{
    int width = 0;
    for (int w : widths_)
        width += w;
    return {width, barHeight};
}

QRect TStatusBar::panelRect(int panel) const
{
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += widths_[i];
    // The last panel takes the rest of the bar, as a status bar's last panel does.
    const int width = panel + 1 == widths_.size() ? std::max(widths_[panel], this->width() - left) : widths_[panel];
    return {left, 0, width - panelGap, height()};
}

int TStatusBar::panelAt(const QPoint &position) const
{
    for (int i = 0; i < widths_.size(); ++i) {
        if (panelRect(i).contains(position))
            return i;
    }
    return -1;
}

void TStatusBar::setPanelToolTip(int panel, std::function<QString()> text)
{
    if (panel >= 0 && panel < toolTips_.size())
        toolTips_[panel] = std::move(text);
}

QString TStatusBar::panelToolTip(int panel) const
{
    const std::function<QString()> &text = toolTips_.value(panel);
    return text ? text() : QString();
}

bool TStatusBar::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const int panel = panelAt(help->pos());
    const QString text = panelToolTip(panel);
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), text, this, panelRect(panel));
    }
    return true;
}

void TStatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (int i = 0; i < widths_.size(); ++i) {
        const QRect panel = panelRect(i);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.rect = panel;
        frame.lineWidth = 1;
        frame.state |= QStyle::State_Sunken;
        style()->drawPrimitive(QStyle::PE_Frame, &frame, &painter, this);
        painter.drawText(panel.adjusted(2, 0, -2, 0), Qt::AlignCenter | Qt::TextSingleLine, texts_[i]);
    }
}

void TStatusBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}

void TStatusBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    emit resized();
}
