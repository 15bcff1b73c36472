#pragma once

#include <QProxyStyle>

// The strips' fixed sizes were laid out for a tighter look than the toolkit's: "FastLine" in
// a 66-pixel style box and "Same Conn." in a 78-pixel check box would lose a letter. The
// window's style otherwise, with a narrower gap after a check box's square and a combo box's
// text reaching nearer its frame and arrow.
class StripStyle : public QProxyStyle {
    Q_OBJECT
public:
    // One for every strip control; it follows the application's style.
    static StripStyle *instance();

    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl part,
                         const QWidget *widget) const override;

private:
    StripStyle() = default;
};
