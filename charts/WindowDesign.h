#pragma once

#include <QString>

// Design values that both the window's construction and its layout rely on.
namespace WindowDesign {

inline const QString caption = QStringLiteral("Quintaro v. 1.1");
constexpr int splitterWidth = 3;
// The strips' heights as laid out: folding takes a strip to nothing and back to these.
constexpr int foldBarHeight = 11;
constexpr int controlStripHeight = 159;
constexpr int slotStripHeight = 72;

} // namespace WindowDesign
