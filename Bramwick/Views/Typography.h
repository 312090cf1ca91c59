#pragma once
// The text styles of the screens (headline, caption, title sizes) and label helpers, so every
// screen uses the same sizes and the same secondary and tertiary text colours.
#include <QFont>
#include <QLabel>
#include <QString>

namespace Typography {

enum class Style { body, callout, headline, subheadline, caption, caption2, title3, title2, title, largeTitle };
enum class Tone { primary, secondary, tertiary };

QFont font(Style style, QFont::Weight weight = QFont::Normal);

// A label in the given style and tone; long texts wrap.
QLabel *label(const QString &text, Style style, Tone tone = Tone::primary, QFont::Weight weight = QFont::Normal,
              QWidget *parent = nullptr);

void setTone(QLabel *label, Tone tone);

// A thin horizontal line between sections.
QWidget *divider(QWidget *parent = nullptr);

// Converts model text.
inline QString q(const std::string &s) { return QString::fromStdString(s); }

} // namespace Typography
