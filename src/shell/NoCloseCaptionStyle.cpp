#include "NoCloseCaptionStyle.h"

#include <QMdiSubWindow>
#include <QStyleFactory>
#include <QStyleOptionTitleBar>

namespace shell {

namespace {
bool isCaption(QStyle::ComplexControl control, const QStyleOptionComplex* option) {
    return control == QStyle::CC_TitleBar && qstyleoption_cast<const QStyleOptionTitleBar*>(option);
}
} // namespace

NoCloseCaptionStyle::NoCloseCaptionStyle(QStyle* base) : QProxyStyle(base) {}

void NoCloseCaptionStyle::applyTo(QMdiSubWindow& window) {
    if (qobject_cast<NoCloseCaptionStyle*>(window.style()))
        return;
    // A proxy takes its base style over, so it gets a copy, never the program's own.
    // Should the copy fail, a proxy without a base uses the desktop style.
    auto* style = new NoCloseCaptionStyle(QStyleFactory::create(window.style()->name()));
    style->setParent(&window);
    window.setStyle(style);
}

void NoCloseCaptionStyle::drawComplexControl(ComplexControl control,
                                             const QStyleOptionComplex* option, QPainter* painter,
                                             const QWidget* widget) const {
    if (!isCaption(control, option)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    QStyleOptionTitleBar caption = *qstyleoption_cast<const QStyleOptionTitleBar*>(option);
    caption.subControls &= ~SC_TitleBarCloseButton;
    caption.activeSubControls &= ~SC_TitleBarCloseButton;
    QProxyStyle::drawComplexControl(control, &caption, painter, widget);
}

QStyle::SubControl NoCloseCaptionStyle::hitTestComplexControl(ComplexControl control,
                                                              const QStyleOptionComplex* option,
                                                              const QPoint& pos,
                                                              const QWidget* widget) const {
    const SubControl hit = QProxyStyle::hitTestComplexControl(control, option, pos, widget);
    return isCaption(control, option) && hit == SC_TitleBarCloseButton ? SC_None : hit;
}

QRect NoCloseCaptionStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                          SubControl part, const QWidget* widget) const {
    if (isCaption(control, option) && part == SC_TitleBarCloseButton)
        return {};
    return QProxyStyle::subControlRect(control, option, part, widget);
}

} // namespace shell
