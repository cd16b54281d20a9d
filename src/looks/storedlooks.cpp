#include "looks/storedlooks.h"

#include <array>

#include <QWidget>

namespace {

// The system colour indices, in order, as roles of a Qt palette.
constexpr std::array<QPalette::ColorRole, 25> SystemColourRoles{
    QPalette::Button,
    QPalette::Window,
    QPalette::Highlight,
    QPalette::Mid,
    QPalette::Base,
    QPalette::Base,
    QPalette::Shadow,
    QPalette::Text,
    QPalette::WindowText,
    QPalette::HighlightedText,
    QPalette::Light,
    QPalette::Midlight,
    QPalette::Dark,
    QPalette::Highlight,
    QPalette::HighlightedText,
    QPalette::Button,
    QPalette::Dark,
    QPalette::PlaceholderText,
    QPalette::ButtonText,
    QPalette::Text,
    QPalette::Light,
    QPalette::Shadow,
    QPalette::Midlight,
    QPalette::ToolTipText,
    QPalette::ToolTipBase,
};

} // namespace

QColor colourFromValue(qint32 value, const QPalette &palette)
{
    const quint32 bits = quint32(value);
    if (bits & 0x80000000u) {
        const quint32 index = bits & 0xFFu;
        return palette.color(index < SystemColourRoles.size() ? SystemColourRoles[index]
                                                              : QPalette::WindowText);
    }
    return QColor(int(bits & 0xFF), int((bits >> 8) & 0xFF), int((bits >> 16) & 0xFF));
}

qint32 valueFromColour(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return qint32(rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16));
}

QFont lyricFontOf(const LyricFontSetting &setting)
{
    QFont font(setting.name);
    font.setPointSizeF(setting.pointSize);
    font.setBold(setting.bold);
    font.setItalic(setting.italic);
    font.setUnderline(setting.underline);
    font.setStrikeOut(setting.strikeOut);
    return font;
}

void setPaletteColour(QWidget &widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette colours = widget.palette();
    colours.setColor(role, colour);
    widget.setPalette(colours);
}
