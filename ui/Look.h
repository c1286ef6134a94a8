#pragma once
// Fonts, colours and frame styles of the desktop windows. The windows are laid
// out in fixed pixels, so fonts are set in pixels rather than points: a caption
// then fits its control whatever the screen's dpi.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

#include <optional>

class QWidget;
class QFrame;

namespace qm::ui {

inline const QColor kWindowGrey{135, 135, 135};
inline const QColor kCaptionGrey{85, 85, 85};
inline const QColor kListGrey{192, 192, 192};
inline const QColor kPathGrey{199, 199, 199};
inline const QColor kTitleBoxGrey{220, 220, 220};
inline const QColor kCyan{0, 255, 255};
inline const QColor kEditorBlue{88, 121, 219};
inline const QColor kSelectorBlue{68, 101, 199};
inline const QColor kSliderGrey{88, 88, 88};

// A point size as its pixel height at 96 dpi, the resolution the fixed layout is measured in.
int pointsToPixels(int points);

QFont dialogFont(); // the controls' default font
QFont timesFont(int points, bool bold, bool italic);
QFont titleFont(); // Times New Roman 25, bold italic
QFont scaleFont(); // Times New Roman 8

// Text colour and, when given, a filled background; without one the parent shows through.
void setColours(QWidget* widget, const QColor& text, std::optional<QColor> background);

// The flat push buttons ("выбрать цвет", "Закрыть"): a black line round a light face.
QString flatButtonStyle();

// The controls' border styles.
void setStaticEdge(QFrame* frame); // one-pixel sunken edge
void setClientEdge(QFrame* frame); // two-pixel sunken edge
void setThinBorder(QFrame* frame); // one-pixel black line

} // namespace qm::ui
