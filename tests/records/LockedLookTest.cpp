// Locked fields of a record window: their values are drawn readably (measured on the
// rendered widget, in the default style and in a dark palette), and they still
// refuse what is typed.
#include "GasWindowFixture.h"

#include <QImage>
#include <QPalette>
#include <QStyleFactory>
#include <cmath>
#include <functional>

using namespace records_test;

namespace {

double luminance(QRgb rgb) {
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) +
           0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The contrast of a widget's text against what lies under it: the widget is drawn
// with its text and without; the pixels that differ are the glyphs, and the
// strongest of them against the blank drawing is the text colour on its background.
double textContrast(QWidget* widget, const std::function<void(bool withText)>& showText) {
    showText(true);
    const QImage with = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    showText(false);
    const QImage without = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    showText(true);
    double best = 0;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                best = std::max(best, contrast(with.pixel(x, y), without.pixel(x, y)));
    return best;
}

// A dark theme as desktops give it: light text, dark fields, greyed disabled text.
QPalette darkPalette() {
    QPalette dark;
    const QColor window(0x35, 0x35, 0x35), base(0x2a, 0x2a, 0x2a), text(0xf0, 0xf0, 0xf0),
        greyed(0x7f, 0x7f, 0x7f);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = group == QPalette::Disabled;
        dark.setColor(group, QPalette::Window, window);
        dark.setColor(group, QPalette::Base, off ? window : base);
        dark.setColor(group, QPalette::Button, window);
        dark.setColor(group, QPalette::Text, off ? greyed : text);
        dark.setColor(group, QPalette::WindowText, off ? greyed : text);
        dark.setColor(group, QPalette::ButtonText, off ? greyed : text);
    }
    return dark;
}

class LockedLookTest : public GasWindowTest {};

} // namespace

TEST_F(LockedLookTest, LockedValuesAreReadableInTheDefaultAndADarkPaletteAndRefuseTyping) {
    addVehicles({"Alpha"});
    addPurchases(QStringLiteral("Alpha"), {{"1/5/2024", "10", "300", true, "19.39"}});
    records::frmGas& w = open();
    pick(QStringLiteral("Alpha"));
    ASSERT_FALSE(w.txtDate->isEnabled()) << "browse state: the fields are locked";
    // The selector is locked with every other control when an Add fails.
    w.cboVehicleID->setEnabled(false);

    const auto lineText = [](QLineEdit* box) {
        const QString shown = box->text();
        return [box, shown](bool withText) { box->setText(withText ? shown : QString()); };
    };
    const struct {
        const char* kind;
        QWidget* widget;
        std::function<void(bool)> showText;
    } controls[] = {
        {"date box", w.txtDate, lineText(w.txtDate)},
        {"money box", w.txtCost, lineText(w.txtCost)},
        {"text box", w.txtGals, lineText(w.txtGals)},
        {"check box", w.Check1,
         [&](bool withText) { w.Check1->setText(withText ? QStringLiteral("Full") : QString()); }},
        {"combo box", w.cboVehicleID,
         [&](bool withText) {
             w.cboVehicleID->setItemText(0, withText ? QStringLiteral("Alpha") : QString());
         }},
        {"label", w.Label1[1],
         [&](bool withText) {
             w.Label1[1]->setText(withText ? QStringLiteral("Date") : QString());
         }},
    };
    const QPalette original = QApplication::palette();
    const struct {
        const char* name;
        QPalette palette;
    } palettes[] = {{"default", original}, {"dark", darkPalette()}};
    for (const auto& p : palettes) {
        SCOPED_TRACE(p.name);
        QApplication::setPalette(p.palette);
        QCoreApplication::processEvents();
        for (const auto& c : controls) {
            SCOPED_TRACE(c.kind);
            ASSERT_FALSE(c.widget->isEnabled());
            const double ratio = textContrast(c.widget, c.showText);
            RecordProperty(std::string(p.name) + " " + c.kind, std::to_string(ratio));
            EXPECT_GE(ratio, 4.5);
        }
    }
    QApplication::setPalette(original);

    // Locked still means locked: keys, a paste and a space on the check box change nothing.
    for (QWidget* control : {static_cast<QWidget*>(w.txtDate), static_cast<QWidget*>(w.txtCost),
                             static_cast<QWidget*>(w.Check1)}) {
        QTest::keyClicks(control, QStringLiteral("9"));
        QTest::keyClick(control, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(control, Qt::Key_Space);
    }
    EXPECT_EQ(w.txtDate->text(), QStringLiteral("1/5/2024"));
    EXPECT_EQ(w.txtCost->text(), QStringLiteral("$19.39"));
    EXPECT_TRUE(w.Check1->isChecked());
}
