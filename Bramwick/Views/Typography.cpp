#include "Views/Typography.h"

#include <QApplication>
#include <QFrame>
#include <QPalette>

#include "Views/Icons.h"

namespace Typography {

QFont font(Style style, QFont::Weight weight) {
    QFont f = QApplication::font();
    int px = 14;
    QFont::Weight w = weight;
    switch (style) {
    case Style::body: px = 14; break;
    case Style::callout: px = 13; break;
    case Style::headline: px = 14; if (w == QFont::Normal) w = QFont::DemiBold; break;
    case Style::subheadline: px = 13; break;
    case Style::caption: px = 12; break;
    case Style::caption2: px = 11; break;
    case Style::title3: px = 17; break;
    case Style::title2: px = 20; break;
    case Style::title: px = 26; break;
    case Style::largeTitle: px = 30; break;
    }
    f.setPixelSize(px);
    f.setWeight(w);
    return f;
}

void setTone(QLabel *l, Tone tone) {
    QPalette p = l->palette();
    QColor c = QApplication::palette().color(QPalette::WindowText);
    if (tone == Tone::secondary) c = Icons::secondaryText();
    if (tone == Tone::tertiary) c = Icons::tertiaryText();
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    l->setPalette(p);
}

QLabel *label(const QString &text, Style style, Tone tone, QFont::Weight weight, QWidget *parent) {
    auto *l = new QLabel(text, parent);
    l->setFont(font(style, weight));
    l->setTextFormat(Qt::PlainText);
    setTone(l, tone);
    return l;
}

QWidget *divider(QWidget *parent) {
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setFixedHeight(1);
    QPalette p = line->palette();
    QColor c = QApplication::palette().color(QPalette::WindowText);
    c.setAlphaF(0.15);
    p.setColor(QPalette::WindowText, c);
    line->setPalette(p);
    return line;
}

} // namespace Typography
