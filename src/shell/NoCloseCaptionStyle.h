#pragma once

#include <QProxyStyle>

class QMdiSubWindow;

namespace shell {

// The caption of a sub-window whose system menu has no Close item. Qt's styles draw a
// close button on every caption that has a system menu; this style leaves it out of
// the drawing and of the hit test, and takes all else from its own copy of the
// program's style, so the caption looks as before otherwise.
class NoCloseCaptionStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Gives the sub-window this style, owned by the sub-window; its contents keep the
    // program's style. Applying it again does nothing.
    static void applyTo(QMdiSubWindow& window);

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     const QPoint& pos, const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                         const QWidget* widget) const override;

private:
    explicit NoCloseCaptionStyle(QStyle* base);
};

} // namespace shell
