#include "StripStyle.h"

#include <QApplication>

StripStyle *StripStyle::instance()
{
    static StripStyle *style = [] {
        auto *created = new StripStyle;
        created->setParent(qApp);
        return created;
    }();
    return style;
}

int StripStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    if (metric == PM_CheckBoxLabelSpacing)
        return 2;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QRect StripStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                                 const QWidget *widget) const
{
    QRect rect = QProxyStyle::subControlRect(control, option, part, widget);
    if (control == CC_ComboBox && part == SC_ComboBoxEditField)
        rect.adjust(-1, 0, 3, 0);
    return rect;
}
